// The show as a program: started the way users start it, on a private X server or none at all.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/process.h"

namespace {

const std::string inShowDir = std::string("cd '") + DEMO_SHOW_DIR + "' && ";

TEST(Program, StartsAndKeepsRunningOnAPlainXServer) {
    const CommandResult run = runCommand(inShowDir +
        "xvfb-run -a -s '-screen 0 1280x800x24' timeout 5 ./demo");
    EXPECT_EQ(run.exitCode, 124) << "the show should still be running when stopped\n" << run.output;
    EXPECT_NE(run.output.find("Game mode 1280x800:32@60 is not available"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Glew display created successfully!\n\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Initializing audio...\n ok.\n\nVersion "), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Ready to use audio...\n\n"), std::string::npos) << run.output;
}

TEST(Program, TakesItsSizeFromTheCommandLine) {
    const CommandResult run = runCommand(inShowDir +
        "xvfb-run -a -s '-screen 0 1280x800x24' timeout 3 ./demo 640 360 extra");
    EXPECT_EQ(run.exitCode, 124) << run.output;
    EXPECT_NE(run.output.find("Game mode 640x360:32@60"), std::string::npos) << run.output;
}

TEST(Program, SizesItCannotHaveAreBroughtIntoRangeWithALine) {
    const struct {
        const char* arguments;
        const char* line;
    } cases[] = {
        {"20000 300", "Window size 20000x300 cannot be had; using 8192x300."},
        {"0 0", "Window size 0x0 cannot be had; using 16x16."},
        {"-640 360", "Window size -640x360 cannot be had; using 16x360."},
        {"wide tall", "Window size 0x0 cannot be had; using 16x16."},
    };
    for (const auto& c : cases) {
        const CommandResult run = runCommand(inShowDir + "xvfb-run -a -s '-screen 0 1280x800x24' timeout 3 ./demo " +
                                             c.arguments);
        EXPECT_EQ(run.exitCode, 124) << c.arguments << "\n" << run.output;
        EXPECT_NE(run.output.find(c.line), std::string::npos) << c.arguments << "\n" << run.output;
        EXPECT_EQ(run.output.find("not complete"), std::string::npos) << c.arguments << "\n" << run.output;
    }
}

// The window manager's close and an Escape key held down (its auto-repeat included) each end the
// show at once, with status 0 and no error from the window system.
TEST(Program, EndsCleanlyWhenClosedOrOnEscapeHeld) {
    const struct {
        const char* name;
        std::string action;
    } cases[] = {
        {"closed", X_CLOSE_WINDOW_PATH " adf"},
        {"Escape held", "sleep 2; xdotool mousemove 100 100 keydown Escape sleep 3 keyup Escape"},
    };
    for (const auto& c : cases) {
        const CommandResult run = runCommand(inShowDir + "xvfb-run -a -s '-screen 0 640x480x24' sh -c '"
                                             "timeout 30 ./demo 320 180 & pid=$!; sleep 1; " + c.action +
                                             "; wait $pid'");
        EXPECT_EQ(run.exitCode, 0) << c.name << "\n" << run.output;
        EXPECT_EQ(run.output.find("X Error"), std::string::npos) << c.name << "\n" << run.output;
    }
}

// The text after `key` up to the next ')' or end of line.
std::string after(const std::string& text, const std::string& key) {
    const std::size_t at = text.find(key);
    if (at == std::string::npos) return "";
    const std::size_t from = at + key.size();
    return text.substr(from, text.find_first_of(")\n", from) - from);
}

// A start late in the show plays to its end; the state it jumped to is the one a 60 fps capture
// steps to, particles, flags and the random sequence included.
TEST(Program, StartsAnywhereInTheStateOfA60FpsCapture) {
    const CommandResult run = runCommand(inShowDir + "xvfb-run -a -s '-screen 0 640x480x24' timeout 40 ./demo 320 180 --start 205");
    EXPECT_EQ(run.exitCode, 0) << "the show ends by itself at 210 s\n" << run.output;
    const std::string jumped = after(run.output, "Started at 205.000 s: 12300 frames stepped in ");
    ASSERT_NE(jumped, "") << run.output;
    const std::string out = makeTempDir("start_");
    const CommandResult capture = runCommand(std::string(DEMO_CAPTURE_PATH) + " --fps 60 --size 160x90 --at 205000 --out " + out);
    ASSERT_EQ(capture.exitCode, 0) << capture.output;
    EXPECT_EQ(jumped.substr(jumped.find("(state ") + 7), after(capture.output, "(205000 ms, state before it "));

    for (const char* bad : {"abc", "-1", "210", "1e9", ""}) {
        const CommandResult refused = runCommand(inShowDir + "timeout 5 ./demo --start '" + bad + "'");
        EXPECT_EQ(refused.exitCode, 2) << bad << "\n" << refused.output;
        EXPECT_NE(refused.output.find("--start wants seconds"), std::string::npos) << refused.output;
    }
}

TEST(Program, FailsClearlyWithoutADisplay) {
    const CommandResult run = runCommand(inShowDir + "env -u DISPLAY timeout 20 ./demo");
    EXPECT_NE(run.exitCode, 0) << run.output;
    EXPECT_NE(run.exitCode, 124) << run.output;
    EXPECT_NE(run.output.find("Window system error: "), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Creating window failed!\n"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("Initializing audio"), std::string::npos) << "nothing starts without a window";
}

}  // namespace
