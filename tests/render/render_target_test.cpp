// Render targets and screen passes on a Mesa context, checked through GL state and read-back pixels.
#include "render/render_target.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/window_size.h"
#include "render/gl_state.h"
#include "render/render_destinations.h"
#include "render/screen_pass.h"
#include "render/texture_registry.h"
#include "tests/support/gl_context.h"

namespace {

GLint integer(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

void expectViewport(int x, int y, int width, int height) {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], x);
    EXPECT_EQ(viewport[1], y);
    EXPECT_EQ(viewport[2], width);
    EXPECT_EQ(viewport[3], height);
}

constexpr Rgba black{0, 0, 0, 255}, white{255, 255, 255, 255}, red{255, 0, 0, 255}, blue{0, 0, 255, 255};

TEST(Letterbox, CentredSixteenByNineArea) {
    const ScreenRect tall = letterboxRect(1280, 800, frameAspect);
    EXPECT_EQ(tall.x, 0);
    EXPECT_EQ(tall.y, 40);
    EXPECT_EQ(tall.width, 1280);
    EXPECT_EQ(tall.height, 720);
    const ScreenRect wide = letterboxRect(2560, 1080, frameAspect);
    EXPECT_EQ(wide.x, 320);
    EXPECT_EQ(wide.y, 0);
    EXPECT_EQ(wide.width, 1920);
    EXPECT_EQ(wide.height, 1080);
    const ScreenRect exact = letterboxRect(1920, 1080, frameAspect);
    EXPECT_EQ(exact.x, 0);
    EXPECT_EQ(exact.y, 0);
    EXPECT_EQ(exact.width, 1920);
    EXPECT_EQ(exact.height, 1080);
    const ScreenRect none = letterboxRect(800, 0, frameAspect);  // a minimised window
    EXPECT_EQ(none.width, 0);
    EXPECT_EQ(none.height, 0);
}

class RenderTargets : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(requireShaderLibrary());
    }
    void TearDown() override { windowSize.windowWidth = 640, windowSize.windowHeight = 480; }

};

TEST_F(RenderTargets, StartUpCreatesTheNineSharedTargets) {
    ASSERT_GE(renderTargets.count, 9);
    for (int i = 0; i < 9; ++i) {
        const RenderTarget& target = renderTargets.targets[i];
        EXPECT_EQ(target.textureOnly, i >= firstSpareTarget) << i;
        EXPECT_EQ(target.width, i == focusTarget ? 640 : 512) << i;
        EXPECT_EQ(target.height, i == focusTarget ? 480 : 512) << i;
    }
    for (int i = 0; i < spareTargetCount; ++i) {
        const RenderTarget& spare = renderTargets.targets[firstSpareTarget + i];
        EXPECT_EQ(spare.textureIndex, i) << "texture registry index";
        EXPECT_EQ(spare.framebuffer, 0u);
        EXPECT_STREQ(textureRegistry.textures[static_cast<std::size_t>(i)].name, "generatedTexture");
        EXPECT_EQ(renderTargetTexture(firstSpareTarget + i), 0u);
    }
}

TEST_F(RenderTargets, FramebufferTargetIsCompleteAndSetUpForTheFrame) {
    renderDestinations.fieldOfView = 90.0f;
    bindRenderTarget(blurTargetH);
    EXPECT_EQ(renderDestinations.currentTarget, blurTargetH);
    EXPECT_EQ(static_cast<unsigned>(integer(GL_FRAMEBUFFER_BINDING_EXT)), renderTargets.targets[blurTargetH].framebuffer);
    EXPECT_EQ(glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE_EXT));
    GLint attached = 0;
    glGetFramebufferAttachmentParameterivEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT,
                                             GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME_EXT, &attached);
    EXPECT_EQ(static_cast<unsigned>(attached), renderTargetTexture(blurTargetH));
    expectViewport(0, 0, 512, 512);
    EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);
    float projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_NEAR(projection[5], 1.0f, 1e-6f);  // 90 degrees: cot(45) = 1
    EXPECT_NEAR(projection[0], 1.0f / frameAspect, 1e-6f);

    glBindTexture(GL_TEXTURE_2D, renderTargetTexture(blurTargetH));
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(value, GL_CLAMP_TO_EDGE);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
}

TEST_F(RenderTargets, TextureOnlyTargetDrawsToTheScreenWithItsOwnViewport) {
    bindRenderTarget(blurTargetV);
    bindRenderTarget(firstSpareTarget);
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING_EXT), 0);
    expectViewport(0, 0, 512, 512);
    EXPECT_EQ(renderDestinations.currentTarget, firstSpareTarget);
}

TEST_F(RenderTargets, ScreenGetsTheLetterboxedViewport) {
    windowSize.windowWidth = 1280;
    windowSize.windowHeight = 800;
    bindRenderTarget(screenTarget);
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING_EXT), 0);
    expectViewport(0, 40, 1280, 720);
    windowSize.windowWidth = 2560;
    windowSize.windowHeight = 1080;
    setTargetViewport(screenTarget);
    expectViewport(320, 0, 1920, 1080);
}

// Draws a 1x2 texture (top row red, bottom row blue) over the target with its rows as given.
void drawTwoRowTexture(TextureRows rows) {
    const unsigned char texels[] = {255, 0, 0, 0, 0, 255};  // first row red, second blue
    GLuint texture = 0;
    glGenTextures(1, &texture);
    bindTexture2D(texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    drawFullscreenQuad(rows);
    disableCap(GL_TEXTURE_2D);
}

TEST_F(RenderTargets, ATargetThatCannotBeCompleteIsNamed) {
    testing::internal::CaptureStdout();
    const int index = createRenderTarget(0, 0, false);
    const std::string printed = testing::internal::GetCapturedStdout();
    ASSERT_GE(index, 0);
    EXPECT_NE(printed.find("Render target " + std::to_string(index) + " (0x0) is not complete"), std::string::npos)
        << printed;
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING_EXT), 0) << "the check leaves the window's framebuffer bound";

    testing::internal::CaptureStdout();
    createRenderTarget(64, 32, false);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(RenderTargets, FullscreenQuadOrientation) {
    bindRenderTarget(sceneTarget);
    drawTwoRowTexture(TextureRows::TopFirst);
    expectViewport(0, 0, 512, 512);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(pixelAt(0, 0, 512), red) << "rows top first: first texture row at the top";
    EXPECT_EQ(pixelAt(511, 511, 512), blue);

    drawTwoRowTexture(TextureRows::BottomFirst);
    EXPECT_EQ(pixelAt(0, 0, 512), blue) << "rows bottom first: first texture row at the bottom";
    EXPECT_EQ(pixelAt(511, 511, 512), red);
}

TEST_F(RenderTargets, QuadOnTheScreenCoversOnlyTheCentredArea) {
    bindFakeWindow(1280, 800);
    setClearColor(1, 1, 1);
    clearBuffers(GL_COLOR_BUFFER_BIT);
    renderDestinations.currentTarget = screenTarget;
    glColor3f(1, 0, 0);
    drawFullscreenQuad(TextureRows::TopFirst);
    EXPECT_EQ(pixelAt(640, 39, 800), white);
    EXPECT_EQ(pixelAt(640, 40, 800), red);
    EXPECT_EQ(pixelAt(0, 759, 800), red);
    EXPECT_EQ(pixelAt(1279, 760, 800), white);
}

// Clears the fake window to white and draws the bars in black.
void drawBars() {
    setClearColor(1, 1, 1);
    clearBuffers(GL_COLOR_BUFFER_BIT);
    glColor3f(0, 0, 0);
    drawLetterboxBars(frameAspect);
}

TEST_F(RenderTargets, BarsAboveAndBelowATallWindow) {
    bindFakeWindow(1280, 800);
    drawBars();
    for (int x : {0, 640, 1279}) {
        EXPECT_EQ(pixelAt(x, 0, 800), black);
        EXPECT_EQ(pixelAt(x, 39, 800), black);
        EXPECT_EQ(pixelAt(x, 40, 800), white);
        EXPECT_EQ(pixelAt(x, 759, 800), white);
        EXPECT_EQ(pixelAt(x, 760, 800), black);
        EXPECT_EQ(pixelAt(x, 799, 800), black);
    }
}

TEST_F(RenderTargets, BarsBesideAWideWindow) {
    bindFakeWindow(2560, 1080);
    drawBars();
    for (int y : {0, 540, 1079}) {
        EXPECT_EQ(pixelAt(0, y, 1080), black);
        EXPECT_EQ(pixelAt(319, y, 1080), black);
        EXPECT_EQ(pixelAt(320, y, 1080), white);
        EXPECT_EQ(pixelAt(2239, y, 1080), white);
        EXPECT_EQ(pixelAt(2240, y, 1080), black);
        EXPECT_EQ(pixelAt(2559, y, 1080), black);
    }
}

TEST_F(RenderTargets, NoBarsOnASixteenByNineWindow) {
    bindFakeWindow(1920, 1080);
    drawBars();
    for (int x : {0, 960, 1919})
        for (int y : {0, 540, 1079}) EXPECT_EQ(pixelAt(x, y, 1080), white) << x << "," << y;
}

// Last: it fills the table for the rest of the process.
TEST_F(RenderTargets, ThirtyThirdTargetIsRefused) {
    while (renderTargets.count < maxRenderTargets) createRenderTarget(8, 8, true);
    testing::internal::CaptureStdout();
    EXPECT_EQ(createRenderTarget(8, 8, false), -1);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("refused"), std::string::npos);
    EXPECT_EQ(renderTargets.count, maxRenderTargets);
    bindRenderTarget(-1);  // behaves as the screen
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING_EXT), 0);
    EXPECT_EQ(renderTargetTexture(-1), 0u);
    EXPECT_EQ(renderTargetTexture(maxRenderTargets), 0u);
}

}  // namespace
