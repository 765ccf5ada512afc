// The window layer: window and GL context, GLEW, and the callbacks through which the window
// system drives the show. The only place that knows the window system: a driver record per
// system (window_glut.cpp for the show's window, window_egl.cpp for rendering without a display).
#pragma once

#include "app/demo_state.h"

// One window system. open leaves a GL context current on a drawable of the given size, whose
// default framebuffer is the show's screen.
struct WindowDriver {
    const char* name;
    bool (*open)(int argc, char** argv, int width, int height, bool fullScreen);
    void (*installMouse)();     // route mouse buttons to mouseCallback
    void (*installKeyboard)();  // route key presses to keyboardCallback and queueKeyPress
    void (*swap)();
    void (*pumpEvents)();
    void (*runLoop)();          // drives displayCallback; does not return
    void (*close)();            // last call before the process exits
    void (*setTitle)(const char* title);
};

// freeglut: the show's window, full screen or plain, with mouse and keyboard.
extern const WindowDriver glutWindowDriver;
// EGL: an off-screen pbuffer as the screen, no display and no input. It takes the first EGL device
// that gives a context (GPUs before software renderers), then Mesa's surfaceless platform.
extern const WindowDriver eglWindowDriver;

// The driver createWindow and the calls below use; glutWindowDriver until set.
void setWindowDriver(const WindowDriver* driver);
const WindowDriver& currentWindowDriver();

// True when EGL offers a device that is not a software renderer (a GPU driver's device).
bool eglHasGpuDevice();

// Opens the window (game mode when fullScreen, else a plain window titled "adf"), installs the
// callbacks and starts GLEW. False when no window or no OpenGL 2.0 can be had.
bool createWindow(int argc, char** argv, int width, int height, bool fullScreen);

// Starts GLEW and checks for OpenGL 2.0, printing the outcome.
bool initGlew();

void setFrameFunction(FrameFunction fn);

// Display and idle callback: draws a frame and swaps when it drew, once a frame function is set.
void displayCallback();
void reshapeCallback(int width, int height);

void installMouseHandler();
void mouseCallback(int button, int state, int x, int y);

// Clears every key state, then installs the keyboard callback.
void installKeyboardHandler();
void keyboardCallback(unsigned char key, int x, int y);

// A key the authoring mode reads, already named as the show names it, for takeKeyPress.
void queueKeyPress(ShowKey key);

// The oldest key press not yet taken; false when there is none.
bool takeKeyPress(ShowKey& key);

void setWindowTitle(const char* title);

// Hands control to the window system for good.
[[noreturn]] void runMainLoop();

// Ends the process with the status: finishes the GL work still queued and restores the display
// mode, so that the window system's own exit handlers find nothing left to do.
[[noreturn]] void exitShow(int status);

// For callers that drive frames themselves (the capture tool).
void swapWindowBuffers();
void pumpWindowEvents();

// Game-mode string of the full-screen request, for example "1280x800:32@60".
void formatGameModeString(char* buffer, unsigned bufferSize, int width, int height);
