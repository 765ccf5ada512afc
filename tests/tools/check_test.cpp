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
// `from` turned into `to`.
fs::path dataSetWith(const std::string& file, const std::string& from, const std::string& to) {
    const fs::path show(DEMO_SHOW_DIR);
    const fs::path run = makeTempDir("check_");
    fs::create_directory(run / "data");
    fs::create_symlink(show / "biisi.mp3", run / "biisi.mp3");
    for (const auto& entry : fs::directory_iterator(show / "data"))
        if (entry.path().filename() != file) fs::create_symlink(entry.path(), run / "data" / entry.path().filename());
    std::ifstream in(show / "data" / file, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    std::ofstream(run / "data" / file, std::ios::binary) << text;
    return run;
}

TEST(CheckTool, FindsTheBuiltDataSetClean) {
    const CommandResult run = runCommand(std::string("env -u DISPLAY ") + DEMO_CHECK_PATH + " " + DEMO_SHOW_DIR);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output, std::string(DEMO_SHOW_DIR) + ": the data set is clean.\n");
}

// What is wrong is named with its file, and the status says the data set is not clean.
TEST(CheckTool, NamesWhatIsWrongWithItsFile) {
    const struct {
        const char* file;
        const char* from;
        const char* to;
        const char* expected;
    } cases[] = {
        {"bg.xsi", "mountains", "hills", "Scene file data\\bg.xsi has no material \"mountains\""},
        {"tykki.xsi", "params", "parameters", "material \"diffuse_cubemap\" has no uniform \"params\""},
        {"flame.xsi", "gl_FragColor = vec4(colour", "gl_FragColor = vec4(colour +",
         "Scene file data\\flame.xsi, material flames: its GLSL program does not build"},
    };
    for (const auto& c : cases) {
        const fs::path data = dataSetWith(c.file, c.from, c.to);
        const CommandResult run = runCommand(std::string("env -u DISPLAY ") + DEMO_CHECK_PATH + " " + data.string());
        EXPECT_EQ(run.exitCode, 1) << c.file << "\n" << run.output;
        EXPECT_NE(run.output.find(c.expected), std::string::npos) << run.output;
        EXPECT_NE(run.output.find(": 1 problem; "), std::string::npos) << run.output;
        fs::remove_all(data);
    }
}

}  // namespace
