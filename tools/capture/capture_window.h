// Which window layer a capture draws through.
#pragma once

#include "tools/capture/capture_options.h"

struct WindowChoice {
    bool egl = false;        // the EGL pbuffer; otherwise the GLUT window
    bool startXvfb = false;  // the GLUT window needs a display of its own first
};

// Named layers are taken as named. Otherwise an EGL GPU comes first, then a window on the
// display; without either, EGL (Mesa's software renderer is no slower there than in a private
// Xvfb, and needs no X server).
WindowChoice chooseCaptureWindow(CaptureWindow requested, bool hasDisplay, bool hasEglGpu);

// The same choice for this machine: its DISPLAY and, only when it matters, its EGL devices.
WindowChoice captureWindowHere(CaptureWindow requested);
