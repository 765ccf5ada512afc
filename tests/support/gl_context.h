// A real OpenGL context for tests: the show's own window, opened once per test process, and
// helpers to draw into and read from off-screen stand-ins for windows of any size.
#pragma once

#include <ostream>

// True once the window and an OpenGL 2.0 context exist (needs an X display, e.g. Xvfb).
bool requireGlContext(int width = 640, int height = 480);

// The context plus the shader library (shared render targets and built-in materials).
bool requireShaderLibrary();

// A framebuffer target of the given size, made once per size and process (the table is small).
int offscreenTarget(int width, int height);

// Binds offscreenTarget of that size and makes the show treat it as its window.
void bindFakeWindow(int width, int height);

struct Rgba {
    int r, g, b, a;
    bool operator==(const Rgba&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Rgba& c);

// A pixel of the bound framebuffer, y counted from the top edge of a framebuffer of that height.
Rgba pixelAt(int x, int yFromTop, int height);

// True when every channel is within tolerance of the expected one.
bool near(const Rgba& actual, const Rgba& expected, int tolerance);
