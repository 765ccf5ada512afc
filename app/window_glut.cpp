// The window layer on freeglut and GLEW.
#include "app/window.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <csetjmp>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/print_line.h"
#include "base/window_size.h"

namespace {

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

void openPlainWindow(int width, int height) {
    glutInitWindowPosition(64, 64);
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
    openPlainWindow(width, height);
    glutFullScreen();
}

}  // namespace

void formatGameModeString(char* buffer, unsigned bufferSize, int width, int height) {
    formatText(buffer, bufferSize, "%dx%d:32@60", width, height);
}

bool createWindow(int argc, char** argv, int width, int height, bool fullScreen) {
    windowFailureArmed = true;
    if (setjmp(windowFailure) != 0) {
        windowFailureArmed = false;
        return false;
    }
    glutInitErrorFunc(windowErrorHandler);
    glutInitWarningFunc(windowWarningHandler);
    glutInit(&argc, argv);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_EXIT);
    glutInitDisplayMode(displayMode);

    windowSize.windowWidth = width;
    windowSize.windowHeight = height;
    if (fullScreen)
        openFullScreenWindow(width, height);
    else
        openPlainWindow(width, height);
    windowFailureArmed = false;
    if (glutGetWindow() == 0) return false;

    glutDisplayFunc(displayCallback);
    glutIdleFunc(displayCallback);
    glutReshapeFunc(reshapeCallback);
    glutMouseFunc(mouseCallback);
    glutSetCursor(GLUT_CURSOR_NONE);
    return initGlew();
}

bool initGlew() {
    if (glewInit() != GLEW_OK) {
        printLine("Initializing Glew utility failed!\n");
        return false;
    }
    if (!glewIsSupported("GL_VERSION_2_0")) {
        printLine("Error: OpenGL 2.0 functionality can't be found.\n");
        return false;
    }
    printLine("Glew display created successfully!\n");
    return true;
}

void setFrameFunction(FrameFunction fn) { demoState.frameFunction = fn; }

void displayCallback() {
    if (demoState.frameFunction == nullptr) return;
    demoState.frameFunction();
    glutSwapBuffers();
}

void reshapeCallback(int width, int height) {
    windowSize.windowWidth = width;
    windowSize.windowHeight = height;
}

void installMouseHandler() { glutMouseFunc(mouseCallback); }

void mouseCallback(int button, int state, int, int) {
    const bool up = state == GLUT_UP;
    if (state != GLUT_UP && state != GLUT_DOWN) return;
    if (button == GLUT_LEFT_BUTTON) {
        demoState.leftButtonDown = up ? 0 : 1;
        if (up) demoState.leftButtonReleased = 1;
    } else if (button == GLUT_RIGHT_BUTTON) {
        demoState.rightButtonDown = up ? 0 : 1;
        if (up) demoState.rightButtonReleased = 1;
    }
}

void installKeyboardHandler() {
    std::memset(demoState.keyState, 0, sizeof demoState.keyState);
    glutKeyboardFunc(keyboardCallback);
}

void keyboardCallback(unsigned char key, int, int) { demoState.keyState[key] = 1; }

void runMainLoop() {
    glutMainLoop();
    std::exit(0);  // only reached if the window system gives up its loop
}

void exitShow(int status) {
    glFinish();
    if (glutGameModeGet(GLUT_GAME_MODE_ACTIVE)) glutLeaveGameMode();
    std::fflush(stdout);
    std::exit(status);
}

void swapWindowBuffers() { glutSwapBuffers(); }

void pumpWindowEvents() { glutMainLoopEvent(); }
