// The window layer: window and GL context, GLEW, and the callbacks through which the window
// system drives the show, over the window system's driver (platform/window_driver.h).
#pragma once

#include "app/demo_state.h"
#include "platform/window_driver.h"

// The driver createWindow and the calls below use; showWindowDriver() until set.
void setWindowDriver(const WindowDriver* driver);
const WindowDriver& currentWindowDriver();

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

// A key the authoring mode reads, already named as the show names it, for takeKeyPresses.
void queueKeyPress(ShowKey key);

// Every key press not yet taken, oldest first, presses of one key in a row as one run.
std::vector<KeyPressRun> takeKeyPresses();

void setWindowTitle(const char* title);

// Where the window is on the screen; false where the window system cannot say.
bool windowPosition(int& x, int& y);

// Lays the frame just drawn back over itself as its resolved pixels, where the screen is
// multisampled: the window then shows what glReadPixels (and so demo-capture) reads, where a swap
// may show the samples unresolved (Mesa under Xvfb shows one per pixel).
void showResolvedFrame();

// A line of text with its baseline at (x, y) pixels from the window's lower left, in white on a
// dark box, through the window system's font; the GL state is left as it was.
void drawWindowText(int x, int y, const char* text);

// Where a plain window opens (before createWindow); 64, 64 until set.
void placeWindowAt(int x, int y);

// Hands control to the window system for good.
[[noreturn]] void runMainLoop();

// Ends the process with the status: finishes the GL work still queued and restores the display
// mode, so that the window system's own exit handlers find nothing left to do.
[[noreturn]] void exitShow(int status);

// For callers that drive frames themselves (the capture tool).
void swapWindowBuffers();
void pumpWindowEvents();
