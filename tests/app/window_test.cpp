// The window layer's callbacks and state, on a real window and GL context.
#include "app/window.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cstring>

#include "base/window_size.h"
#include "tests/support/gl_context.h"

namespace {

int framesDrawn = 0;
bool countFrame() {
    ++framesDrawn;
    return true;
}

TEST(Window, OpensAnOpenGl2Context) {
    ASSERT_TRUE(requireGlContext(320, 200));
    EXPECT_EQ(windowSize.windowWidth, 320);
    EXPECT_EQ(windowSize.windowHeight, 200);
    EXPECT_TRUE(GLEW_VERSION_2_0);
}

TEST(Window, DisplayCallbackDrawsOnlyOnceAFrameFunctionIsSet) {
    ASSERT_TRUE(requireGlContext());
    framesDrawn = 0;
    setFrameFunction(nullptr);
    displayCallback();
    EXPECT_EQ(framesDrawn, 0);
    setFrameFunction(countFrame);
    displayCallback();
    displayCallback();
    EXPECT_EQ(framesDrawn, 2);
}

TEST(Window, ReshapeChangesOnlyTheSize) {
    ASSERT_TRUE(requireGlContext());
    GLint before[4];
    glGetIntegerv(GL_VIEWPORT, before);
    reshapeCallback(1024, 576);
    EXPECT_EQ(windowSize.windowWidth, 1024);
    EXPECT_EQ(windowSize.windowHeight, 576);
    GLint after[4];
    glGetIntegerv(GL_VIEWPORT, after);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(after[i], before[i]);
}

TEST(Window, KeysStayPressedFromTheFirstPressOn) {
    ASSERT_TRUE(requireGlContext());
    demoState.keyState['a'] = 1;
    demoState.keyState[255] = 1;
    installKeyboardHandler();
    for (int key = 0; key < 256; ++key) ASSERT_EQ(demoState.keyState[key], 0) << key;
    keyboardCallback(27, 10, 10);
    keyboardCallback(27, 10, 10);
    keyboardCallback(255, 0, 0);
    EXPECT_EQ(demoState.keyState[27], 1);
    EXPECT_EQ(demoState.keyState[255], 1);
    EXPECT_EQ(demoState.keyState[26], 0);
}

TEST(Window, MouseButtonsAreTrackedAndReleasesRemembered) {
    ASSERT_TRUE(requireGlContext());
    installMouseHandler();
    mouseCallback(GLUT_LEFT_BUTTON, GLUT_DOWN, 5, 5);
    EXPECT_EQ(demoState.leftButtonDown, 1);
    EXPECT_EQ(demoState.leftButtonReleased, 0);
    mouseCallback(GLUT_LEFT_BUTTON, GLUT_UP, 5, 5);
    EXPECT_EQ(demoState.leftButtonDown, 0);
    EXPECT_EQ(demoState.leftButtonReleased, 1);
    mouseCallback(GLUT_LEFT_BUTTON, GLUT_DOWN, 5, 5);
    EXPECT_EQ(demoState.leftButtonReleased, 1);  // never reset

    mouseCallback(GLUT_RIGHT_BUTTON, GLUT_DOWN, 0, 0);
    EXPECT_EQ(demoState.rightButtonDown, 1);
    mouseCallback(GLUT_RIGHT_BUTTON, GLUT_UP, 0, 0);
    EXPECT_EQ(demoState.rightButtonDown, 0);
    EXPECT_EQ(demoState.rightButtonReleased, 1);

    mouseCallback(GLUT_MIDDLE_BUTTON, GLUT_DOWN, 0, 0);  // not recorded
    EXPECT_EQ(demoState.leftButtonDown, 1);
    EXPECT_EQ(demoState.rightButtonDown, 0);
}

// The time line reads white on a dark box whatever a pass left on, and GL is left as it was.
TEST(Window, TextIsWhiteOnADarkBoxAndLeavesTheGlStateAlone) {
    ASSERT_TRUE(requireGlContext());
    constexpr int width = 320, height = 200;
    bindFakeWindow(width, height);
    glClearColor(0.56f, 0.46f, 0.98f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    // What a pass may leave: a violet colour and texture on a second unit, a blend that keeps
    // what is there.
    const unsigned char violet[4] = {144, 118, 251, 255};
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, violet);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glEnable(GL_TEXTURE_2D);
    glColor4ub(144, 118, 251, 255);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ZERO, GL_ONE);

    const char text[] = "100.000 s  slot 2";
    drawWindowText(8, 8, text);

    int white = 0, dark = 0, other = 0;
    const int boxRight = 8 + 9 * static_cast<int>(std::strlen(text)) + 4;
    for (int y = 0; y < 23; ++y) {
        for (int x = 4; x < boxRight; ++x) {
            const Rgba pixel = pixelAt(x, height - 1 - y, height);
            if (pixel == Rgba{255, 255, 255, 255}) ++white;
            else if (near(pixel, {25, 25, 25, 255}, 2)) ++dark;
            else ++other;
        }
    }
    EXPECT_GT(white, 100);
    EXPECT_GT(dark, 1000);
    EXPECT_EQ(other, 0) << "the box holds only the text's white and its own dark";
    EXPECT_TRUE(near(pixelAt(200, 100, height), {144, 118, 251, 255}, 2)) << "nothing drawn beyond the box";

    GLint active = 0, bound = 0;
    GLfloat colour[4] = {}, clear[4] = {};
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetFloatv(GL_CURRENT_COLOR, colour);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(active, GL_TEXTURE1);
    EXPECT_EQ(bound, static_cast<GLint>(texture));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    EXPECT_NEAR(colour[0], 144 / 255.0, 0.01);
    EXPECT_NEAR(clear[2], 0.98, 0.01);

    glDisable(GL_TEXTURE_2D);
    glDeleteTextures(1, &texture);
    glActiveTexture(GL_TEXTURE0);
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
}

}  // namespace
