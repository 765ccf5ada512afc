// The window systems behind the window layer: a driver record of plain functions per system
// (window_glut.cpp for the show's window, window_egl.cpp for rendering without a display). The
// drivers know nothing of the show: they hand its events to the callbacks they are opened with.
#pragma once

// Keys without a character that a driver reports.
enum class WindowKey { Left, Right, Up, Down, PageUp, PageDown };

// Mouse buttons and states as the callbacks receive them: freeglut's own numbers, which every
// driver uses.
constexpr int windowLeftButton = 0;
constexpr int windowMiddleButton = 1;
constexpr int windowRightButton = 2;
constexpr int windowButtonDown = 0;
constexpr int windowButtonUp = 1;

struct WindowEvents {
    void (*display)();                                   // draw a frame (display and idle)
    void (*reshape)(int width, int height);
    void (*keyboard)(unsigned char key, int x, int y);  // a key with a character
    void (*key)(WindowKey key);                          // a key without one
    void (*mouse)(int button, int state, int x, int y);
};

// One window system. open leaves a GL context current on a drawable of the given size, whose
// default framebuffer is the show's screen, and routes its display and size events to events.
// Every call but open and runLoop has a default that does nothing (or says false, or measures
// 0): a driver names what it has with designated initialisers, and a field added here needs no
// edit in the drivers that have no use for it.
struct WindowDriver {
    const char* name = "";
    bool (*open)(const WindowEvents& events, int argc, char** argv, int width, int height, bool fullScreen) = nullptr;
    void (*installMouse)() = [] {};     // route mouse buttons to events.mouse
    void (*installKeyboard)() = [] {};  // route key presses to events.keyboard and events.key
    void (*swap)() = [] {};
    void (*pumpEvents)() = [] {};
    void (*runLoop)() = nullptr;  // drives events.display; does not return
    void (*close)() = [] {};      // last call before the process exits
    void (*setTitle)(const char* title) = [](const char*) {};
    // Where a plain window is, and where the next one opens; a driver without a place on a
    // screen says false and ignores the request.
    bool (*position)(int& x, int& y) = [](int&, int&) { return false; };
    void (*placeNext)(int x, int y) = [](int, int) {};
    // A line of text in the window system's own font, from the current raster position (its
    // colour the current colour then); nothing where the system has no font.
    void (*drawText)(const char* text) = [](const char*) {};
    // The pixels a line drawn so covers: its advance, and its height from below the baseline
    // (descent) to above it (ascent); 0 where the system has no font.
    void (*textSize)(const char* text, int& width, int& descent, int& ascent) =
        [](const char*, int& width, int& descent, int& ascent) { width = descent = ascent = 0; };
};

// Samples per pixel of the screen a driver's open makes: 4, the show's multisampled screen (one
// sample where the system has no multisampled format), or 1, no multisample buffers at all, as
// a browser canvas without antialiasing draws. Set before open; every driver reads it there.
inline int windowSamples = 4;

// freeglut: the show's window, full screen or plain, with mouse and keyboard.
extern const WindowDriver glutWindowDriver;
// EGL: an off-screen pbuffer as the screen, no display and no input. It takes the first EGL device
// that gives a context (GPUs before software renderers), then Mesa's surfaceless platform. On a
// system without EGL (Windows) it opens nothing and says so.
extern const WindowDriver eglWindowDriver;

// The page's canvas in a browser: WebGL 2, the page's keys and mouse, frames on the browser's
// animation frames (the web build only).
extern const WindowDriver webWindowDriver;

// The show's own window on this system: freeglut's on the desktop, the page's canvas in a browser.
const WindowDriver& showWindowDriver();

// True when EGL offers a device that is not a software renderer (a GPU driver's device).
bool eglHasGpuDevice();

// The driver for GL work that shows nothing (the data check): EGL where the system has it, else
// the GLUT driver's window (Windows, where a check child is started hidden).
const WindowDriver& offscreenWindowDriver();

// Game-mode string of the full-screen request, for example "1280x800:32@60".
void formatGameModeString(char* buffer, unsigned bufferSize, int width, int height);
