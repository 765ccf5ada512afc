// The window layer's calls, passed on to the window system in use, and what they share: GLEW,
// the frame and size callbacks and the key states.
#include "app/window.h"

#include <GL/glew.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/print_line.h"
#include "base/window_size.h"

namespace {

const WindowDriver* windowDriver = &showWindowDriver();

void specialKeyCallback(WindowKey key) {
    switch (key) {
        case WindowKey::Left: queueKeyPress(ShowKey::Left); break;
        case WindowKey::Right: queueKeyPress(ShowKey::Right); break;
        case WindowKey::PageUp: queueKeyPress(ShowKey::PageUp); break;
        case WindowKey::PageDown: queueKeyPress(ShowKey::PageDown); break;
        case WindowKey::Up: queueKeyPress(ShowKey::FineOn); break;
        case WindowKey::Down: queueKeyPress(ShowKey::FineBack); break;
    }
}

constexpr WindowEvents showEvents = {displayCallback, reshapeCallback, keyboardCallback, specialKeyCallback,
                                     mouseCallback};

}  // namespace

void setWindowDriver(const WindowDriver* driver) { windowDriver = driver != nullptr ? driver : &showWindowDriver(); }

const WindowDriver& currentWindowDriver() { return *windowDriver; }

bool createWindow(int argc, char** argv, int width, int height, bool fullScreen) {
    windowSize.windowWidth = width;
    windowSize.windowHeight = height;
    if (!windowDriver->open(showEvents, argc, argv, width, height, fullScreen)) return false;
    return initGlew();
}

bool initGlew() {
    // A GLEW built for GLX ends its start with this code when the context is not GLX's (EGL); the
    // GL entry points are loaded by then, only the GLX extensions the show never uses are not.
    const GLenum status = glewInit();
    if (status != GLEW_OK && status != GLEW_ERROR_NO_GLX_DISPLAY) {
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
    if (demoState.frameFunction()) windowDriver->swap();
}

void reshapeCallback(int width, int height) {
    windowSize.windowWidth = width;
    windowSize.windowHeight = height;
}

void installMouseHandler() { windowDriver->installMouse(); }

void mouseCallback(int button, int state, int, int) {
    const bool up = state == windowButtonUp;
    if (state != windowButtonUp && state != windowButtonDown) return;
    if (button == windowLeftButton) {
        demoState.leftButtonDown = up ? 0 : 1;
        if (up) demoState.leftButtonReleased = 1;
    } else if (button == windowRightButton) {
        demoState.rightButtonDown = up ? 0 : 1;
        if (up) demoState.rightButtonReleased = 1;
    }
}

void installKeyboardHandler() {
    std::memset(demoState.keyState, 0, sizeof demoState.keyState);
    demoState.keyPresses.clear();
    windowDriver->installKeyboard();
}

void keyboardCallback(unsigned char key, int, int) {
    demoState.keyState[key] = 1;
    // The authoring mode's keys, named whatever the case.
    constexpr struct {
        unsigned char key;
        ShowKey showKey;
    } named[] = {{' ', ShowKey::Space},     {'r', ShowKey::Reload},    {'l', ShowKey::ForceLoad},
                 {',', ShowKey::FrameBack}, {'.', ShowKey::FrameOn},   {'[', ShowKey::SlotBack},
                 {']', ShowKey::SlotOn},    {'a', ShowKey::LoopStart}, {'b', ShowKey::LoopEnd},
                 {'c', ShowKey::LoopClear}, {'t', ShowKey::TimeLine}};
    const unsigned char lower = key >= 'A' && key <= 'Z' ? static_cast<unsigned char>(key - 'A' + 'a') : key;
    for (const auto& entry : named)
        if (entry.key == lower) queueKeyPress(entry.showKey);
}

void queueKeyPress(ShowKey key) { addKeyPress(demoState.keyPresses, key); }

std::vector<KeyPressRun> takeKeyPresses() {
    std::vector<KeyPressRun> taken;
    taken.swap(demoState.keyPresses);
    return taken;
}

void setWindowTitle(const char* title) { windowDriver->setTitle(title); }

bool windowPosition(int& x, int& y) { return windowDriver->position(x, y); }

void placeWindowAt(int x, int y) { windowDriver->placeNext(x, y); }

namespace {

// What the window layer's own pixels must not go through, put back by endPlainPixels.
struct PlainPixels {
    GLint program = 0;
    GLint activeTexture = GL_TEXTURE0;
};

// Bitmaps and drawn pixels are textured, fogged, blended and tested like any other fragment:
// whatever a pass left on, on any texture unit, would tint them.
PlainPixels beginPlainPixels() {
    PlainPixels kept;
    GLint units = 1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &kept.program);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &kept.activeTexture);
    glGetIntegerv(GL_MAX_TEXTURE_COORDS, &units);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glUseProgram(0);
    for (GLint unit = 0; unit < units; ++unit) {
        glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + unit));
        for (const GLenum off : {GL_TEXTURE_1D, GL_TEXTURE_2D, GL_TEXTURE_3D, GL_TEXTURE_CUBE_MAP}) glDisable(off);
    }
    glActiveTexture(GL_TEXTURE0);
    for (const GLenum off : {GL_LIGHTING, GL_DEPTH_TEST, GL_BLEND, GL_FOG, GL_ALPHA_TEST, GL_STENCIL_TEST,
                             GL_COLOR_SUM, GL_COLOR_LOGIC_OP, GL_SCISSOR_TEST})
        glDisable(off);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    return kept;
}

void endPlainPixels(const PlainPixels& kept) {
    glPopAttrib();
    glActiveTexture(static_cast<GLenum>(kept.activeTexture));
    glUseProgram(static_cast<GLuint>(kept.program));
}

}  // namespace

void showResolvedFrame() {
    GLint sampleBuffers = 0;
    glGetIntegerv(GL_SAMPLE_BUFFERS, &sampleBuffers);
    if (sampleBuffers == 0) return;
    const int width = windowSize.windowWidth, height = windowSize.windowHeight;
    static std::vector<unsigned char> pixels;
    pixels.resize(static_cast<std::size_t>(width) * height * 4);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    const PlainPixels plain = beginPlainPixels();
    glDisable(GL_DITHER);
    glPixelZoom(1.0f, 1.0f);
    glWindowPos2i(0, 0);
    glDrawPixels(width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    endPlainPixels(plain);
    glPopClientAttrib();
}

void drawWindowText(int x, int y, const char* text) {
    const PlainPixels plain = beginPlainPixels();
    int width = 0, descent = 0, ascent = 0;
    windowDriver->textSize(text, width, descent, ascent);
    if (width > 0) {
        constexpr int margin = 4;
        glEnable(GL_SCISSOR_TEST);
        glScissor(x - margin, y - descent - margin, width + 2 * margin, descent + ascent + 2 * margin);
        glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
    }
    glColor3f(1.0f, 1.0f, 1.0f);
    glWindowPos2i(x, y);
    windowDriver->drawText(text);
    endPlainPixels(plain);
}

void runMainLoop() {
    windowDriver->runLoop();
    std::exit(0);  // only reached if the window system gives up its loop
}

void exitShow(int status) {
    glFinish();
    windowDriver->close();
    std::fflush(stdout);
    std::exit(status);
}

void swapWindowBuffers() { windowDriver->swap(); }

void pumpWindowEvents() { windowDriver->pumpEvents(); }
