// The reference GLSL compiler over the data set's programs and the built-in ones.
#include "app/reference_glsl.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "base/print_line.h"
#include "base/temp_folder.h"
#include "platform/pipe_process.h"
#include "platform/program_run.h"
#include "render/builtin_shaders.h"
#include "render/shader_library.h"
#include "xsi/xsi_glsl_log.h"
#include "xsi/xsi_materials.h"

namespace fs = std::filesystem;

namespace {

const char* const compilerName = "glslangValidator";

struct Stage {
    std::string source;
    bool fragment;
    std::string owner;  // "Scene file data/bg.xsi, material mountains"
    std::string file;   // where its messages are placed
    int headerLine;
    std::string path;   // of its copy for the compiler
    std::string log;    // what the compiler said of it
};

// In library order, as builtInShaderSources lists them.
const char* const builtInNames[] = {"textured alpha", "polar quad", "gradient",    "sprite",
                                    "vertex colour",  "blur mask",  "textured dim", "scrolled texture"};
static_assert(std::size(builtInNames) == builtInMaterialCount);

// Each built-in source once (several materials share one), named for the first material using it.
std::vector<Stage> builtInStages() {
    std::vector<const char*> seen;
    std::vector<Stage> stages;
    for (int m = 0; m < builtInMaterialCount; ++m) {
        for (const bool fragment : {false, true}) {
            const char* source = fragment ? builtInShaderSources[m].fragment : builtInShaderSources[m].vertex;
            if (std::find(seen.begin(), seen.end(), source) != seen.end()) continue;
            seen.push_back(source);
            const std::string name = std::string("Built-in material ") + builtInNames[m];
            stages.push_back({source, fragment, name, name, 0, {}, {}});
        }
    }
    return stages;
}

// A private folder for the compiler's input, removed with what it holds.
struct ScratchFolder {
    fs::path path;
    ScratchFolder() {
        std::string why;
        path = makeTempFolder("demo-glsl-", why);
        std::error_code error;
        if (!path.empty()) fs::permissions(path, fs::perms::owner_all, fs::perm_options::replace, error);
    }
    ~ScratchFolder() {
        std::error_code error;
        if (!path.empty()) fs::remove_all(path, error);
    }
};

// The version a stage is read at: its own #version, else 1.10, which the compiler's -d takes.
std::string versionOf(const std::string& source) {
    static const std::regex version(R"(^\s*#\s*version\s+(\d+))");
    std::smatch match;
    if (std::regex_search(source, match, version)) return "#version " + match[1].str();
    return "GLSL 1.10";
}

// The compiler's lines of one stage, without its summary ("ERROR: 2 compilation errors. ...") and
// the line that says it stopped, which name no fault of their own.
std::string messagesOf(const std::string& log) {
    static const std::regex summary(R"(^ERROR: (\d+ compilation errors\..*|\d+:\d+: '' : compilation terminated\s*)$)");
    std::string kept;
    std::size_t from = 0;
    while (from < log.size()) {
        std::size_t end = log.find('\n', from);
        if (end == std::string::npos) end = log.size();
        const std::string line = log.substr(from, end - from);
        from = end + 1;
        if (!std::regex_match(line, summary)) kept += line + "\n";
    }
    return kept;
}

}  // namespace

void noteReferenceGlsl() {
    const std::string compiler = findOnPath(compilerName);
    if (compiler.empty()) return;

    std::vector<Stage> stages;
    for (const XsiGlslProgram& program : xsiBuiltPrograms()) {
        const std::string owner = "Scene file " + program.file + ", material " + program.material;
        stages.push_back({program.vertex, false, owner, program.file, program.vertexHeaderLine, {}, {}});
        stages.push_back({program.fragment, true, owner, program.file, program.fragmentHeaderLine, {}, {}});
    }
    for (Stage& stage : builtInStages()) stages.push_back(std::move(stage));

    const ScratchFolder folder;
    if (folder.path.empty()) {
        reportCheckNote("The reference GLSL compiler %s was not run: no private folder for its input could be made.",
                        compilerName);
        return;
    }
    std::vector<std::string> args = {compiler, "-d"};  // -d: a stage without #version is GLSL 1.10
    for (std::size_t i = 0; i < stages.size(); ++i) {
        Stage& stage = stages[i];
        stage.path = (folder.path / (std::to_string(i) + (stage.fragment ? ".frag" : ".vert"))).string();
        std::ofstream out(stage.path, std::ios::binary);
        out << stage.source;
        if (!out.flush()) {
            reportCheckNote("The reference GLSL compiler %s was not run: its input %s could not be written.",
                            compilerName, stage.path.c_str());
            return;
        }
        args.push_back(stage.path);
    }
    const ProgramRun run = runProgram(args, compilerName);
    if (!run.ran) {
        reportCheckNote("The reference GLSL compiler %s was not run: %s.", compiler.c_str(), run.error.c_str());
        return;
    }

    // It names each file before what it says of it.
    Stage* current = nullptr;
    std::size_t from = 0;
    while (from < run.output.size()) {
        std::size_t end = run.output.find('\n', from);
        if (end == std::string::npos) end = run.output.size();
        const std::string line = run.output.substr(from, end - from);
        from = end + 1;
        Stage* named = nullptr;
        for (Stage& stage : stages)
            if (line == stage.path) named = &stage;
        if (named != nullptr) current = named;
        else if (current != nullptr) current->log += line + "\n";
    }
    int refused = 0;
    for (const Stage& stage : stages) {
        if (stage.log.find("ERROR: ") == std::string::npos) continue;
        ++refused;
        const char* stageName = stage.fragment ? "fragment shader" : "vertex shader";
        reportCheckNote("%s: its %s builds with this driver, but the reference GLSL compiler (%s) refuses it at %s, "
                        "as stricter drivers may:",
                        stage.owner.c_str(), stageName, compilerName, versionOf(stage.source).c_str());
        for (const std::string& message : placeGlslLog(messagesOf(stage.log), stageName, stage.file, stage.headerLine))
            reportCheckNote("%s", message.c_str());
    }
    // 2 is its status for shaders it refused; anything else ended it before it said so.
    if (refused == 0 && run.status != 0)
        reportCheckNote("The reference GLSL compiler %s ended with status %d without naming a shader it refuses.",
                        compiler.c_str(), run.status);
}
