// What README shows the programs print, against what they print.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "tests/support/process.h"

namespace {

// README's text with each run of white space as one space, as its wrapped lines read.
std::string readme() {
    std::ifstream in(DEMO_SOURCE_DIR "/README.md");
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return std::regex_replace(text, std::regex(R"(\s+)"), " ");
}

// Each start line README quotes ("Started at 170.000 s: 10200 frames stepped in ... s (state
// ...)") is the one the show prints when started there: the same frames and state (the time
// the jump takes is this machine's).
TEST(Readme, StartLinesAreWhatTheShowPrints) {
    static const std::regex started(R"(Started at (\d+\.\d{3}) s: (\d+) frames stepped in [\d.]+ s \(state ([0-9a-f]{8})\))");
    const std::string text = readme();
    int quoted = 0;
    for (std::sregex_iterator line(text.begin(), text.end(), started), end; line != end; ++line, ++quoted) {
        const std::smatch& figures = *line;
        const std::string log = makeTempDir("readme_") + "/log";
        const CommandResult run = runCommand(std::string("cd '") + DEMO_SHOW_DIR +
                                             "' && xvfb-run -a -s '-screen 0 640x480x24' sh -c '. \"" DEMO_SOURCE_DIR
                                             "/tests/support/waits.sh\"; timeout 600 ./demo 320 200 --start " +
                                             figures[1].str() + " >" + log + " 2>&1 & pid=$!; wait_log " + log +
                                             " \"^Started at\"; kill $pid; wait $pid'; cat " + log);
        std::smatch printed;
        ASSERT_TRUE(std::regex_search(run.output, printed, started)) << run.output;
        EXPECT_EQ(printed[2].str(), figures[2].str()) << "frames stepped, README: " << figures[0];
        EXPECT_EQ(printed[3].str(), figures[3].str()) << "state, README: " << figures[0];
    }
    EXPECT_GT(quoted, 0) << "README quotes no start line";
}

}  // namespace
