#include "app/timeline.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/demo_state.h"
#include "app/frame_composition.h"
#include "app/music.h"
#include "app/window.h"
#include "base/demo_clock.h"
#include "platform/audio.h"
#include "render/gl_state.h"
#include "render/render_destinations.h"
#include "render/render_target.h"
#include "render/shader_library.h"
#include "render/texture_registry.h"
#include "tests/support/gl_context.h"
#include "tests/support/png_files.h"
#include "tests/support/process.h"

namespace {

TEST(Timeline, BoundariesBelongToTheLaterSlot) {
    EXPECT_EQ(timelineSlot(-1), noSlot);
    EXPECT_EQ(timelineSlot(-100000), noSlot);
    for (const SlotInterval& slot : timelineSlots) {
        EXPECT_EQ(timelineSlot(slot.fromMs), slot.slot) << slot.room;
        EXPECT_EQ(timelineSlot(slot.toMs - 1), slot.slot) << slot.room;
        if (slot.fromMs > 0) EXPECT_EQ(timelineSlot(slot.fromMs - 1), slot.slot - 1) << slot.room;
    }
    EXPECT_EQ(timelineSlot(showEndMs), endOfShow);
    EXPECT_EQ(timelineSlot(2147483647), endOfShow);
}

TEST(Timeline, EveryMillisecondHasExactlyOneSlot) {
    for (std::int32_t t = 0; t < showEndMs; ++t) {
        int matches = 0;
        for (const SlotInterval& interval : timelineSlots) matches += t >= interval.fromMs && t < interval.toMs;
        ASSERT_EQ(matches, 1) << t;
    }
}

// Runs one frame at music time t.
void frameAt(std::uint32_t t) {
    setAudioDriver(&nullAudioDriver);
    setNullAudioPositionMs(t);
    renderFrame();
}

constexpr std::uint32_t negativeClock = 0xFFFFFFFFu;  // -1 ms once read as the signed clock
// The bars are drawn in (0, 0, 0, 0) without blending.
constexpr Rgba green{0, 255, 0, 255}, red{255, 0, 0, 255}, bar{0, 0, 0, 0};

class RenderFrame : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(requireShaderLibrary());
        std::memset(demoState.keyState, 0, sizeof demoState.keyState);
    }

    // A cleared green stand-in for a window of that size, drawn into as the screen.
    static void greenWindow(int width, int height) {
        bindFakeWindow(width, height);
        renderDestinations.currentTarget = screenTarget;
        setClearColor(0, 1, 0);
        clearBuffers(GL_COLOR_BUFFER_BIT);
    }
};

TEST_F(RenderFrame, KeepsRunningInsideTheShow) {
    greenWindow(64, 36);
    frameAt(0);
    frameAt(209999);
    frameAt(negativeClock);
    EXPECT_EQ(demoTimeMs(), -1);
}

// The overlay: opaque red over its top half, transparent below.
void loadTestOverlay() {
    const std::string path = makeTempDir("overlay_") + "/overlay.png";
    std::vector<unsigned char> pixels(16 * 18 * 4, 0);
    for (int i = 0; i < 16 * 9; ++i) pixels[i * 4] = pixels[i * 4 + 3] = 255;
    ASSERT_TRUE(writeTestPng(path, 16, 18, 4, pixels));
    demoState.overlayTexture = loadTexture(path.c_str(), 1);
}

TEST_F(RenderFrame, OverlayAndBarsOnATallWindow) {
    loadTestOverlay();
    greenWindow(1280, 800);
    frameAt(negativeClock);  // no slot: only the overlay and the bars
    // The overlay's edge rows blend with the opposite edge (the texture repeats), so its inside
    // is checked a little away from them.
    for (int x : {0, 640, 1279}) {
        EXPECT_EQ(pixelAt(x, 0, 800), bar);
        EXPECT_EQ(pixelAt(x, 39, 800), bar);
        EXPECT_NE(pixelAt(x, 40, 800), bar) << "the picture starts right below the bar";
        EXPECT_EQ(pixelAt(x, 80, 800), red);
        EXPECT_EQ(pixelAt(x, 360, 800), red);
        EXPECT_EQ(pixelAt(x, 440, 800), green) << "a transparent overlay keeps what was there";
        EXPECT_EQ(pixelAt(x, 720, 800), green);
        EXPECT_NE(pixelAt(x, 759, 800), bar);
        EXPECT_EQ(pixelAt(x, 760, 800), bar);
        EXPECT_EQ(pixelAt(x, 799, 800), bar);
    }
}

TEST_F(RenderFrame, AnOverlayThatCannotBeReadIsLeftOut) {
    const std::string dir = makeTempDir("overlay_");
    const std::string empty = dir + "/empty.png";
    ASSERT_TRUE(std::ofstream(empty).good());
    for (const std::string& path : {dir + "/missing.png", empty}) {
        demoState.overlayTexture = loadTexture(path.c_str(), 1);
        greenWindow(64, 36);
        frameAt(negativeClock);
        EXPECT_EQ(pixelAt(32, 4, 36), green) << path << " would black out the picture";
    }
}

TEST_F(RenderFrame, OverlayAndBarsOnAWideWindow) {
    loadTestOverlay();
    greenWindow(2560, 1080);
    frameAt(negativeClock);
    for (int y : {100, 900}) {
        EXPECT_EQ(pixelAt(0, y, 1080), bar);
        EXPECT_EQ(pixelAt(319, y, 1080), bar);
        EXPECT_EQ(pixelAt(320, y, 1080), y < 540 ? red : green);
        EXPECT_EQ(pixelAt(2239, y, 1080), y < 540 ? red : green);
        EXPECT_EQ(pixelAt(2240, y, 1080), bar);
        EXPECT_EQ(pixelAt(2559, y, 1080), bar);
    }
}

TEST_F(RenderFrame, NoBarsOnASixteenByNineWindow) {
    loadTestOverlay();
    greenWindow(1920, 1080);
    frameAt(negativeClock);
    EXPECT_EQ(pixelAt(0, 100, 1080), red);
    EXPECT_EQ(pixelAt(1919, 100, 1080), red);
    EXPECT_EQ(pixelAt(0, 900, 1080), green);
    EXPECT_EQ(pixelAt(1919, 900, 1080), green);
    EXPECT_EQ(currentMaterial, &builtInMaterial(VertexColour)) << "the bars' material stays current";
}

// At exit, says on standard error whether the 64x36 stand-in window still holds its green.
void reportWindowAtExit() {
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, renderTargets.targets[offscreenTarget(64, 36)].framebuffer);
    std::fprintf(stderr, pixelAt(0, 0, 36) == green ? "window untouched\n" : "window drawn\n");
}

class RenderFrameDeathTest : public RenderFrame {
protected:
    void SetUp() override {
        // A fresh child process with its own GL context: a forked one could not render.
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        RenderFrame::SetUp();
        greenWindow(64, 36);
    }
};

TEST_F(RenderFrameDeathTest, EndOfTheShowExitsWithStatusZeroBeforeDrawing) {
    EXPECT_EXIT(
        {
            std::atexit(reportWindowAtExit);
            frameAt(210000);
        },
        testing::ExitedWithCode(0), "window untouched");
    EXPECT_EXIT(frameAt(500000), testing::ExitedWithCode(0), "");
}

TEST_F(RenderFrameDeathTest, EscapeEndsTheProgramAfterTheFrameIsDrawn) {
    EXPECT_EXIT(
        {
            std::atexit(reportWindowAtExit);
            loadTestOverlay();  // something to draw
            keyboardCallback(escapeKey, 0, 0);
            frameAt(negativeClock);  // even before the music has started
        },
        testing::ExitedWithCode(0), "window drawn");
}

TEST_F(RenderFrameDeathTest, OtherKeysLeaveTheShowRunning) {
    // The frame has to come back to its caller; ending the show would exit with status 0.
    EXPECT_EXIT(
        {
            keyboardCallback('q', 0, 0);
            keyboardCallback(' ', 0, 0);
            frameAt(negativeClock);
            std::fprintf(stderr, "frame returned\n");
            std::_Exit(3);
        },
        testing::ExitedWithCode(3), "frame returned");
}

}  // namespace
