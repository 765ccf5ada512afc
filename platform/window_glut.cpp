// The window layer's driver on freeglut: the show's window, with mouse and keyboard.
#include "platform/window_driver.h"

#include <GL/freeglut.h>

#include <csetjmp>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "base/print_line.h"
#include "platform/display.h"

namespace {

static_assert(windowLeftButton == GLUT_LEFT_BUTTON && windowMiddleButton == GLUT_MIDDLE_BUTTON &&
              windowRightButton == GLUT_RIGHT_BUTTON && windowButtonDown == GLUT_DOWN && windowButtonUp == GLUT_UP);

WindowEvents events = {};

constexpr unsigned displayMode = GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE;
static_assert(displayMode == 0x92);

// freeglut reports fatal errors (no display, no visual) through this handler and must not get
// control back; createWindow's setjmp is where we go instead, so that it can report failure.
std::jmp_buf windowFailure;
bool windowFailureArmed = false;

void windowErrorHandler(const char* format, va_list args) {
    char message[printLineBufferSize];
    std::vsnprintf(message, sizeof message, format, args);
    printLine("Window system error: %s", message);
    if (windowFailureArmed) std::longjmp(windowFailure, 1);
    std::exit(1);
}

void windowWarningHandler(const char* format, va_list args) {
    char message[printLineBufferSize];
    std::vsnprintf(message, sizeof message, format, args);
    printLine("Window system warning: %s", message);
}

int nextPlace[2] = {64, 64};

bool glutWindowPosition(int& x, int& y) {
    if (glutGetWindow() == 0) return false;
    x = glutGet(GLUT_WINDOW_X);
    y = glutGet(GLUT_WINDOW_Y);
    return true;
}

void placeNextGlutWindow(int x, int y) {
    nextPlace[0] = x;
    nextPlace[1] = y;
}

void drawGlutText(const char* text) { glutBitmapString(GLUT_BITMAP_9_BY_15, reinterpret_cast<const unsigned char*>(text)); }

// 9 by 15 cells, of which 4 rows lie below the baseline.
void glutTextSize(const char* text, int& width, int& descent, int& ascent) {
    width = glutBitmapLength(GLUT_BITMAP_9_BY_15, reinterpret_cast<const unsigned char*>(text));
    descent = 4;
    ascent = 11;
}

void openPlainWindow(int x, int y, int width, int height) {
    glutInitWindowPosition(x, y);
    glutInitWindowSize(width, height);
    glutCreateWindow("adf");
}

// Game mode needs the exact mode on the display; Xvfb and many desktops do not offer it, and
// freeglut would then leave us without a window. A full-screen window is the next best thing.
void openFullScreenWindow(int width, int height) {
    char modeString[64];
    formatGameModeString(modeString, sizeof modeString, width, height);
    glutGameModeString(modeString);
    if (glutGameModeGet(GLUT_GAME_MODE_POSSIBLE) && glutEnterGameMode() > 0) return;
    printLine("Game mode %s is not available; using a full-screen window.", modeString);
    // Without a window manager freeglut makes a window full screen by moving it up and left by
    // its own position, as if that were the frame's: at (0, 0) it lands exactly on the screen.
    openPlainWindow(0, 0, width, height);
    glutFullScreen();
}

// Opens the window and makes its context current; GLEW is started by the caller.
bool openGlutWindow(const WindowEvents& windowEvents, int argc, char** argv, int width, int height, bool fullScreen) {
    events = windowEvents;
    windowFailureArmed = true;
    if (setjmp(windowFailure) != 0) {
        windowFailureArmed = false;
        restoreDisplayAfterGlut();
        return false;
    }
    glutInitErrorFunc(windowErrorHandler);
    glutInitWarningFunc(windowWarningHandler);
    hideDisplayFromGlut();
    glutInit(&argc, argv);
    restoreDisplayAfterGlut();
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_EXIT);
    // freeglut's own sample count (4) is the multisampled screen
    glutInitDisplayMode(windowSamples > 1 ? displayMode : displayMode & ~GLUT_MULTISAMPLE);

    if (fullScreen)
        openFullScreenWindow(width, height);
    else
        openPlainWindow(nextPlace[0], nextPlace[1], width, height);
    windowFailureArmed = false;
    if (glutGetWindow() == 0) return false;

    glutDisplayFunc(events.display);
    glutIdleFunc(events.display);
    glutReshapeFunc(events.reshape);
    glutMouseFunc(events.mouse);
    glutSetCursor(GLUT_CURSOR_NONE);
    return true;
}

void installGlutMouse() { glutMouseFunc(events.mouse); }

void glutSpecialKey(int key, int, int) {
    switch (key) {
        case GLUT_KEY_LEFT: events.key(WindowKey::Left); break;
        case GLUT_KEY_RIGHT: events.key(WindowKey::Right); break;
        case GLUT_KEY_UP: events.key(WindowKey::Up); break;
        case GLUT_KEY_DOWN: events.key(WindowKey::Down); break;
        case GLUT_KEY_PAGE_UP: events.key(WindowKey::PageUp); break;
        case GLUT_KEY_PAGE_DOWN: events.key(WindowKey::PageDown); break;
        default: break;
    }
}

void installGlutKeyboard() {
    glutKeyboardFunc(events.keyboard);
    glutSpecialFunc(glutSpecialKey);
}

// Game mode changed the display's mode; leaving it restores the desktop.
void closeGlutWindow() {
    if (glutGameModeGet(GLUT_GAME_MODE_ACTIVE)) glutLeaveGameMode();
}

}  // namespace

const WindowDriver glutWindowDriver = {
    .name = "glut",
    .open = openGlutWindow,
    .installMouse = installGlutMouse,
    .installKeyboard = installGlutKeyboard,
    .swap = glutSwapBuffers,
    .pumpEvents = glutMainLoopEvent,
    .runLoop = glutMainLoop,
    .close = closeGlutWindow,
    .setTitle = glutSetWindowTitle,
    .position = glutWindowPosition,
    .placeNext = placeNextGlutWindow,
    .drawText = drawGlutText,
    .textSize = glutTextSize,
};

void formatGameModeString(char* buffer, unsigned bufferSize, int width, int height) {
    formatText(buffer, bufferSize, "%dx%d:32@60", width, height);
}

const WindowDriver& showWindowDriver() { return glutWindowDriver; }
