// The show with damaged data. For every file it reads and each kind of damage, the capture tool
// steps the whole show at 2 fps and 160x90 over a run directory in which only that file is
// damaged (the others are links to the built data set). The show must end with status 0, name
// the file in a message and still draw. A sample of the cases runs with every ./test.sh; the rest
// carry the CTest label "damage" (all of them: ctest -R '^damage\.').
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "image/png_loader.h"
#include "tests/support/process.h"

namespace fs = std::filesystem;

namespace {

enum class Damage { Missing, Empty, Truncated, Random, LongLine };

struct DamageCase {
    std::string file;  // relative to the run directory
    Damage damage;
};

const char* damageName(Damage damage) {
    switch (damage) {
        case Damage::Missing: return "missing";
        case Damage::Empty: return "empty";
        case Damage::Truncated: return "truncated";
        case Damage::Random: return "random";
        case Damage::LongLine: return "long_line";
    }
    return "?";
}

bool isText(const std::string& file) {
    std::string extension = fs::path(file).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
    return extension == ".xsi";
}

// Every file of the built data set, and the music.
std::vector<DamageCase> allCases() {
    std::vector<std::string> files{"biisi.mp3"};
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(fs::path(DEMO_SHOW_DIR) / "data", error))
        if (entry.is_regular_file()) files.push_back("data/" + entry.path().filename().string());
    std::sort(files.begin(), files.end());
    std::vector<DamageCase> cases;
    for (const auto& file : files)
        for (Damage damage : {Damage::Missing, Damage::Empty, Damage::Truncated, Damage::Random, Damage::LongLine})
            if (damage != Damage::LongLine || isText(file)) cases.push_back({file, damage});
    return cases;
}

// One case of each damage, over each kind of file, for every run of the suite.
bool inSample(const DamageCase& c) {
    const DamageCase sample[] = {
        {"data/maasto.xsi", Damage::Missing},  {"data/cloudy.jpg", Damage::Empty},
        {"data/postproc.XSI", Damage::LongLine}, {"data/tykki.xsi", Damage::Random},
        {"data/desert_sand.png", Damage::Truncated}, {"biisi.mp3", Damage::Random},
    };
    return std::any_of(std::begin(sample), std::end(sample),
                       [&](const DamageCase& s) { return s.file == c.file && s.damage == c.damage; });
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The damaged contents of a file; the random bytes depend only on the file's name.
std::string damaged(const std::string& original, const std::string& name, Damage damage) {
    switch (damage) {
        case Damage::Missing:
        case Damage::Empty: return {};
        case Damage::Truncated: return original.substr(0, original.size() / 2);
        case Damage::Random: {
            std::uint32_t state = 2166136261u;
            for (char c : name) state = (state ^ static_cast<unsigned char>(c)) * 16777619u;
            std::string bytes(original.size(), '\0');
            for (char& b : bytes) {
                state ^= state << 13, state ^= state >> 17, state ^= state << 5;
                b = static_cast<char>(state >> 24);
            }
            return bytes;
        }
        case Damage::LongLine: {
            // At the line break nearest the middle: characters that mean something to the reader.
            std::size_t at = original.find('\n', original.size() / 2);
            at = at == std::string::npos ? original.size() : at + 1;
            const std::string pattern = "SI_Mesh {\"0.5,-1e38\t}x";
            std::string line;
            while (line.size() < 10000) line += pattern;
            line.resize(10000);
            return original.substr(0, at) + line + "\n" + original.substr(at);
        }
    }
    return original;
}

// A run directory of links to the built data set, with `c.file` damaged.
fs::path makeRunDir(const DamageCase& c) {
    const fs::path show(DEMO_SHOW_DIR);
    const fs::path run = makeTempDir("damage-");
    fs::create_directory(run / "data");
    fs::create_symlink(show / "biisi.mp3", run / "biisi.mp3");
    for (const auto& entry : fs::directory_iterator(show / "data"))
        fs::create_symlink(entry.path(), run / "data" / entry.path().filename());
    fs::remove(run / c.file);
    if (c.damage != Damage::Missing) {
        std::ofstream out(run / c.file, std::ios::binary);
        out << damaged(readFile(show / c.file), c.file, c.damage);
    }
    return run;
}

// Share of pixels that are not black.
double litShare(const fs::path& png) {
    std::vector<unsigned char> pixels;
    int width = 0, height = 0, components = 0;
    if (!loadPngImage(png.c_str(), pixels, width, height, components)) return -1.0;
    std::size_t lit = 0;
    for (std::size_t i = 0; i + 2 < pixels.size(); i += static_cast<std::size_t>(components))
        if (pixels[i] > 8 || pixels[i + 1] > 8 || pixels[i + 2] > 8) ++lit;
    return static_cast<double>(lit) / (static_cast<double>(width) * height);
}

// One case: a capture of the whole show over a run directory with `c.file` damaged.
void playWithDamagedFile(const DamageCase& c) {
    const fs::path run = makeRunDir(c);
    const fs::path frames = run / "frames";
    fs::create_directory(frames);
    // One frame in each slot and the last frame of the show.
    const int times[] = {20000, 60000, 100000, 150000, 190000, 209500};
    std::string at;
    for (int t : times) {
        if (!at.empty()) at += ',';
        at += std::to_string(t);
    }

    const CommandResult result = runCommand(std::string(DEMO_CAPTURE_PATH) + " --data " + run.string() +
                                            " --window egl --size 160x90 --fps 2 --at " + at + " --out " + frames.string());
    EXPECT_EQ(result.exitCode, 0) << result.output;
    const std::string name = fs::path(c.file).filename().string();
    EXPECT_NE(result.output.find(name), std::string::npos) << "no message names " << name << ":\n" << result.output;

    int drawn = 0;
    for (int t : times) {
        const double lit = litShare(frames / ("frame-" + std::to_string(t) + ".png"));
        EXPECT_GE(lit, 0.0) << "frame at " << t << " ms was not written";
        if (lit > 0.05) ++drawn;
    }
    // Whatever was damaged, most of the show still has something to draw.
    EXPECT_GE(drawn, 4) << result.output;

    // The checker finds the same damage without playing anything.
    const CommandResult check = runCommand(std::string(DEMO_CHECK_PATH) + " " + run.string());
    EXPECT_EQ(check.exitCode, 1) << check.output;
    EXPECT_NE(check.output.find(name), std::string::npos) << "the checker does not name " << name << ":\n"
                                                          << check.output;
    fs::remove_all(run);
}

class DamageTest : public testing::Test {
public:
    explicit DamageTest(DamageCase c) : damageCase(std::move(c)) {}
    void TestBody() override { playWithDamagedFile(damageCase); }

private:
    DamageCase damageCase;
};

}  // namespace

// Tests named Sample.<file>_<damage> and Matrix.<file>_<damage>.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    for (const DamageCase& c : allCases()) {
        std::string name = fs::path(c.file).filename().string() + "_" + damageName(c.damage);
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        testing::RegisterTest(inSample(c) ? "Sample" : "Matrix", name.c_str(), nullptr, nullptr, __FILE__, __LINE__,
                              [c]() -> testing::Test* { return new DamageTest(c); });
    }
    return RUN_ALL_TESTS();
}
