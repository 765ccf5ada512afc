// The EGL driver where the system has no EGL (Windows): it refuses to open, with a line saying
// what to use instead, and GL work without a picture takes the GLUT window.
#include "platform/window_driver.h"

#include "base/print_line.h"

namespace {

bool refuseEgl(const WindowEvents&, int, char**, int, int, bool) {
    printLine("EGL: this system has no EGL; draw in the GLUT window (--window glut).");
    return false;
}

void noLoop() {}

}  // namespace

const WindowDriver eglWindowDriver = {.name = "egl", .open = refuseEgl, .runLoop = noLoop};

bool eglHasGpuDevice() { return false; }

const WindowDriver& offscreenWindowDriver() { return glutWindowDriver; }
