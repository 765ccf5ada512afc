// The EGL driver where the system has no EGL (Windows): it refuses to open, with a line saying
// what to use instead, and GL work without a picture takes the GLUT window.
#include "platform/window_driver.h"

#include "base/print_line.h"

namespace {

bool refuseEgl(const WindowEvents&, int, char**, int, int, bool) {
    printLine("EGL: this system has no EGL; draw in the GLUT window (--window glut).");
    return false;
}

void nothing() {}

void noTitle(const char*) {}

// An off-screen surface has no place on a screen.
bool noPlace(int&, int&) { return false; }

void placeNowhere(int, int) {}

void noText(const char*) {}
void noTextSize(const char*, int& width, int& descent, int& ascent) { width = descent = ascent = 0; }

void noLoop() {}

}  // namespace

const WindowDriver eglWindowDriver = {
    "egl", refuseEgl, nothing, nothing, nothing, nothing, noLoop, nothing, noTitle,
    noPlace, placeNowhere, noText, noTextSize,
};

bool eglHasGpuDevice() { return false; }

const WindowDriver& offscreenWindowDriver() { return glutWindowDriver; }
