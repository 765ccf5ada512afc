// The GLUT window on an X server without a window manager, where freeglut places a full-screen
// window itself.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/process.h"

namespace {

// Where the fallback for a missing game mode lands: the whole screen, nothing off it.
TEST(GlutWindow, FullScreenWindowCoversABareScreenExactly) {
    const CommandResult run = runCommand(std::string("cd '") + DEMO_SHOW_DIR +
                                         "' && xvfb-run -a -s '-screen 0 1024x768x24' sh -c '"
                                         "./demo 320 200 >/dev/null 2>&1 & pid=$!; "
                                         "for i in $(seq 100); do xwininfo -name adf >/dev/null 2>&1 && break; sleep 0.1; done; "
                                         "sleep 1; xwininfo -name adf; kill $pid'");
    for (const char* line : {"Absolute upper-left X:  0\n", "Absolute upper-left Y:  0\n", "Width: 1024\n",
                             "Height: 768\n"})
        EXPECT_NE(run.output.find(line), std::string::npos) << line << run.output;
}

}  // namespace
