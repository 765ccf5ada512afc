// A real OpenGL context for tests: the show's own window, opened once per test process.
#pragma once

// True once the window and an OpenGL 2.0 context exist (needs an X display, e.g. Xvfb).
bool requireGlContext(int width = 640, int height = 480);
