// The capture tool's choice of window layer.
#include "tools/capture/capture_window.h"

#include "app/window.h"
#include "platform/display.h"

WindowChoice chooseCaptureWindow(CaptureWindow requested, bool hasDisplay, bool hasEglGpu) {
    switch (requested) {
        case CaptureWindow::Egl:
            return {true, false};
        case CaptureWindow::Glut:
            return {false, !hasDisplay};
        case CaptureWindow::Automatic:
            break;
    }
    return {hasEglGpu || !hasDisplay, false};
}

WindowChoice captureWindowHere(CaptureWindow requested) {
    const bool hasDisplay = hasWindowDisplay();
    const bool hasEglGpu = requested == CaptureWindow::Automatic && eglHasGpuDevice();
    return chooseCaptureWindow(requested, hasDisplay, hasEglGpu);
}
