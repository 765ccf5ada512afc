// The GLUT window on an X server without a window manager, where freeglut places a full-screen
// window itself.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/process.h"

namespace {

// Where the fallback for a missing game mode lands: the whole screen, nothing off it.
TEST(GlutWindow, FullScreenWindowCoversABareScreenExactly) {
    // freeglut moves and sizes the window after it is mapped: wait for where it lands.
    const std::string log = makeTempDir("glut_window_") + "/log";
    const CommandResult run = runCommand(std::string("cd '") + DEMO_SHOW_DIR +
                                         "' && xvfb-run -a -s '-screen 0 1024x768x24' sh -c '. \"" DEMO_SOURCE_DIR
                                         "/tests/support/waits.sh\"; ./demo 320 200 >" + log + " 2>&1 & pid=$!; "
                                         "wait_window \"0 0 1024 768\" -name adf; xwininfo -name adf; kill $pid; "
                                         "wait $pid; cat " + log + "'");
    for (const char* line : {"Absolute upper-left X:  0\n", "Absolute upper-left Y:  0\n", "Width: 1024\n",
                             "Height: 768\n"})
        EXPECT_NE(run.output.find(line), std::string::npos) << line << run.output;
}

}  // namespace
