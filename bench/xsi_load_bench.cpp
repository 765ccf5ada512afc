// Loading a large scene file against plain line-by-line reads of the same file: the reader makes
// three passes over a file, so three plain passes are the floor it is compared with.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "app/window.h"
#include "render/shader_library.h"
#include "scene/scene_node.h"
#include "xsi/xsi_reader.h"

namespace {

constexpr int meshCount = 20;
constexpr int gridColumns = 125, gridRows = 200;  // 50000 triangles a mesh, a million in all

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A model of meshCount grid meshes with positions and normals, in the layout of our data set.
std::string writeLargeScene() {
    const std::string path = (std::filesystem::temp_directory_path() / "demo_bench_large.xsi").string();
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) return {};
    std::fprintf(file, "xsi 0300txt 0032\n\nSI_Model large {\n");
    const int vertices = (gridColumns + 1) * (gridRows + 1);
    const int triangles = 2 * gridColumns * gridRows;
    for (int m = 0; m < meshCount; ++m) {
        std::fprintf(file, "\tSI_Model part%d {\n\t\tSI_Mesh mesh%d {\n\t\t\tSI_Shape shape%d {\n", m, m, m);
        std::fprintf(file, "\t\t\t\t1,\n\t\t\t\t\"ORIGINAL\",\n\t\t\t\t%d,\n\t\t\t\t\"POSITION\",\n", vertices);
        for (int y = 0; y <= gridRows; ++y)
            for (int x = 0; x <= gridColumns; ++x)
                std::fprintf(file, "\t\t\t\t%f,%f,%f,\n", x * 0.5f + m, (x * y % 17) * 0.01f, y * 0.5f);
        std::fprintf(file, "\t\t\t\t%d,\n\t\t\t\t\"NORMAL\",\n", vertices);
        for (int i = 0; i < vertices; ++i) std::fprintf(file, "\t\t\t\t%f,%f,%f,\n", 0.0f, 1.0f, 0.0f);
        std::fprintf(file, "\t\t\t}\n\t\t\tSI_TriangleList list%d {\n\t\t\t\t%d,\n\t\t\t\t\"NORMAL\",\n", m, triangles);
        std::fprintf(file, "\t\t\t\t\"\",\n\t\t\t\t\"\",\n");
        for (int section = 0; section < 2; ++section)
            for (int y = 0; y < gridRows; ++y)
                for (int x = 0; x < gridColumns; ++x) {
                    const int a = y * (gridColumns + 1) + x, b = a + 1, c = a + gridColumns + 1, d = c + 1;
                    std::fprintf(file, "\t\t\t\t%d,%d,%d,\n\t\t\t\t%d,%d,%d,\n", a, b, d, a, d, c);
                }
        std::fprintf(file, "\t\t\t}\n\t\t}\n\t}\n");
    }
    std::fprintf(file, "}\n");
    std::fclose(file);
    return path;
}

double plainPasses(const std::string& path, int passes) {
    const auto start = Clock::now();
    std::FILE* file = std::fopen(path.c_str(), "r");
    char line[256];
    std::size_t lines = 0;
    for (int pass = 0; pass < passes; ++pass) {
        std::rewind(file);
        while (std::fgets(line, sizeof line, file) != nullptr) ++lines;
    }
    std::fclose(file);
    benchmark::DoNotOptimize(lines);
    return secondsSince(start);
}

// Compiling display lists is the driver's work, not the reader's: it is timed again on its own
// (the lists are rebuilt) and taken out of the load time.
double recompileLists(SceneNode& node) {
    double seconds = 0.0;
    if (node.mesh != nullptr) {
        node.mesh->displayList = -1;
        const auto start = Clock::now();
        node.mesh->compile();
        seconds += secondsSince(start);
    }
    for (auto& child : node.children) seconds += recompileLists(*child);
    return seconds;
}

void largeSceneLoad(benchmark::State& state) {
    static char name[] = "demo_bench";
    static char* argv[] = {name, nullptr};
    static const bool haveGl = createWindow(1, argv, 64, 64, false) && (initShaderLibrary(), true);
    if (!haveGl) {
        state.SkipWithError("needs an X display: run the benchmarks under xvfb-run");
        return;
    }
    static const std::string path = writeLargeScene();
    const double megabytes = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    for (auto _ : state) {
        const double plain = plainPasses(path, 3);
        const auto start = Clock::now();
        SceneNode* root = nullptr;
        loadXsiScene(path.c_str(), root);
        const double load = secondsSince(start);
        std::unique_ptr<SceneNode> tree(root);
        const double compile = recompileLists(*tree);
        state.SetIterationTime(load - compile);
        state.counters["file_MB"] = megabytes;
        state.counters["load_s"] = load - compile;
        state.counters["compile_s"] = compile;
        state.counters["plain3_s"] = plain;
        state.counters["ratio"] = (load - compile) / plain;
    }
}
BENCHMARK(largeSceneLoad)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
