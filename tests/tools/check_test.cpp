// The data checker on the built data set and on data sets with one thing wrong.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/process.h"

namespace fs = std::filesystem;

namespace {

// A run directory of links to the built data set, with `file` replaced by the original with every
// `from` turned into `to` (and every `from2` into `to2`, when given).
fs::path dataSetWith(const std::string& file, const std::string& from, const std::string& to,
                     const char* from2 = nullptr, const char* to2 = nullptr) {
    const fs::path show(DEMO_SHOW_DIR);
    const fs::path run = makeTempDir("check_");
    fs::create_directory(run / "data");
    fs::create_symlink(show / "biisi.mp3", run / "biisi.mp3");
    for (const auto& entry : fs::directory_iterator(show / "data"))
        if (entry.path().filename() != file) fs::create_symlink(entry.path(), run / "data" / entry.path().filename());
    std::ifstream in(show / "data" / file, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const auto replace = [&text](const std::string& before, const std::string& after) {
        for (std::size_t at = text.find(before); at != std::string::npos; at = text.find(before, at + after.size()))
            text.replace(at, before.size(), after);
    };
    replace(from, to);
    if (from2 != nullptr) replace(from2, to2);
    std::ofstream(run / "data" / file, std::ios::binary) << text;
    return run;
}

TEST(CheckTool, FindsTheBuiltDataSetClean) {
    const CommandResult run = runCommand(std::string("env -u DISPLAY ") + DEMO_CHECK_PATH + " " + DEMO_SHOW_DIR);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output, "Scene file data\\flame2.xsi, material flames: also defined in data\\flame.xsi; the show uses "
                          "that one and skips this copy.\n" + std::string(DEMO_SHOW_DIR) + ": the data set is clean.\n");
}

// What is wrong is named with its file, and the status says the data set is not clean.
TEST(CheckTool, NamesWhatIsWrongWithItsFile) {
    const struct {
        const char* file;
        const char* from;
        const char* to;
        const char* expected;
        const char* from2 = nullptr;
        const char* to2 = nullptr;
    } cases[] = {
        {"bg.xsi", "mountains", "hills", "Scene file data\\bg.xsi has no material \"mountains\""},
        {"tykki.xsi", "params", "parameters", "material \"diffuse_cubemap\" has no uniform \"params\""},
        {"flame.xsi", "gl_FragColor = vec4(colour", "gl_FragColor = vec4(colour +",
         "Scene file data\\flame.xsi, material flames: its GLSL program does not build"},
        // The second copy of a material is checked, and blamed, for itself.
        {"flame2.xsi", "gl_FragColor = vec4(colour", "gl_FragColor = vec4(colour +",
         "Scene file data\\flame2.xsi, material flames: its GLSL program does not build"},
        // What the show quietly does without: values that never arrive, a mesh or a slot without
        // what it names, a number read as 0.
        {"bg.xsi", "uniform vec4 params;", "uniform vec4 parms;",
         "Scene file data\\bg.xsi, material mountains: its uniform block names \"params\", which its GLSL program "
         "does not use", "params.", "parms."},
        {"ball.xsi", "\"ball_marble\",", "\"ball_marbel\",",
         "Scene file data\\ball.xsi: a triangle list names material \"ball_marbel\", which no material library has"},
        {"ball.xsi", "\"Image\",\"IMG-marble\"", "\"Image\",\"IMG-marbel\"",
         "Scene file data\\ball.xsi, material ball_marble: its texture names image \"IMG-marbel\", which the file's "
         "image library does not have"},
        {"bg.xsi", "\"element1\",\"Float\",0.000000,", "\"element1\",\"Float\",abc,",
         "Scene file data\\bg.xsi: \"abc\" is not a number; the show reads it as 0."},
    };
    for (const auto& c : cases) {
        const fs::path data = dataSetWith(c.file, c.from, c.to, c.from2, c.to2);
        const CommandResult run = runCommand(std::string("env -u DISPLAY ") + DEMO_CHECK_PATH + " " + data.string());
        EXPECT_EQ(run.exitCode, 1) << c.file << "\n" << run.output;
        EXPECT_NE(run.output.find(c.expected), std::string::npos) << run.output;
        EXPECT_NE(run.output.find(": 1 problem; "), std::string::npos) << run.output;
        fs::remove_all(data);
    }
}

}  // namespace
