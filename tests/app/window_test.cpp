// The window layer's callbacks and state, on a real window and GL context.
#include "app/window.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <gtest/gtest.h>

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

}  // namespace
