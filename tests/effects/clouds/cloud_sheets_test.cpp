// The cloud flight on Mesa: its sheets, the scene under the silhouette override and the slot's
// chain, with a plain grey texture standing in for the clouds and no scene files loaded.
#include "effects/clouds/cloud_sheets.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <vector>

#include "base/demo_clock.h"
#include "base/show_slots.h"
#include "base/window_size.h"
#include "effects/clouds/cloud_flight.h"
#include "effects/clouds/cloud_resources.h"
#include "effects/clouds/slot5_chain.h"
#include "effects/common/scene_flash.h"
#include "effects/slot_table.h"
#include "render/gl_state.h"
#include "render/material.h"
#include "render/render_destinations.h"
#include "render/render_target.h"
#include "render/shader_library.h"
#include "render/texture_registry.h"
#include "tests/support/gl_context.h"

namespace {

class CloudFlight : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(requireShaderLibrary());
        releaseMaterial(nullptr);
        overrideMaterial = nullptr;
        static const int grey = plainTexture(128);
        cloudTexture = grey;
        sceneFlashes = {};
    }
    void TearDown() override { overrideMaterial = nullptr; }

    // A registered 1x1 texture of that grey.
    static int plainTexture(unsigned char grey) {
        const int index = createEmptyTexture(1, 1);
        const unsigned char texel[4] = {grey, grey, grey, 255};
        glBindTexture(GL_TEXTURE_2D, textureNames[index]);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
        return index;
    }

    // Mean red of the 64x36 fake window.
    static double meanRed() {
        std::vector<unsigned char> pixels(64 * 36 * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 64, 36, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        double sum = 0;
        for (std::size_t i = 0; i < pixels.size(); i += 4) sum += pixels[i];
        return sum / (64 * 36);
    }
};

TEST_F(CloudFlight, SheetsDarkenWithTheirOwnMaterialAndWriteNoDepth) {
    renderDestinations.fieldOfView = 70;
    bindFakeWindow(64, 36);
    setClearColor(1, 1, 1);
    clearBuffers(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // From below, where the sheets show their back faces.
    setCamera(0, -10, 0, 0, 0, 0, 0, 0, 1);
    setCullMode(CullMode::Back);
    Material& black = builtInMaterial(Gradient);
    overrideMaterial = &black;

    // White x (1 - 0.502 x 0.5) = 191; then a turned sheet behind it: 191 x (1 - 0.502) = 95.
    // The darkening blend takes the destination's alpha to 0.
    drawCloudQuad(0.5f, 0, -1, 0, 20);
    EXPECT_PRED3(near, pixelAt(32, 18, 36), (Rgba{191, 191, 191, 0}), 2);
    drawCloudQuad(1, 0, 0, 0, -20);
    EXPECT_PRED3(near, pixelAt(32, 18, 36), (Rgba{95, 95, 95, 0}), 2);

    EXPECT_EQ(overrideMaterial, &black);
    EXPECT_EQ(currentMaterial, nullptr);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    GLboolean depthMask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    EXPECT_TRUE(depthMask);
}

TEST_F(CloudFlight, SilhouettePassDarkensTheSkyAsTheScreenPassDoes) {
    bindFakeWindow(64, 36);
    const int target = renderDestinations.currentTarget;
    Material& black = builtInMaterial(Gradient);
    static const int lightGrey = plainTexture(64);
    cloudTexture = lightGrey;
    // Cloud sheets only; then with four haze sheets in front as well.
    for (const int now : {184000, 190000}) {
        SCOPED_TRACE(now);
        demoClock.musicMs = now;
        overrideMaterial = nullptr;
        drawCloudScene(target, SceneRun::Drawn);
        drawCloudScene(target, SceneRun::Drawn);  // the second call projects with the field of view the first wrote
        const double screen = meanRed();
        EXPECT_GT(screen, 30);
        EXPECT_LT(screen, 240);

        overrideMaterial = &black;
        drawCloudScene(target, SceneRun::Drawn);
        EXPECT_NEAR(meanRed(), screen, 0.5);
        EXPECT_EQ(overrideMaterial, &black);
        EXPECT_EQ(currentMaterial, nullptr);
        EXPECT_EQ(renderDestinations.fieldOfView, 30);
    }
}

TEST_F(CloudFlight, ChainHandsTheFlashOverAndEndsInBlack) {
    // Clear sheets, so that only the fade can darken the white sky.
    cloudTexture = plainTexture(0);
    windowSize = {640, 480};
    demoClock.musicMs = 200000;
    drawSlot(roomSlot("clouds").slot, SceneRun::Drawn);
    float still[16];
    for (int i = 0; i < 16; ++i) still[i] = renderDestinations.viewMatrix[i];

    sceneFlashes.sceneFlashAccumulator = 0.7f;
    drawSlot(roomSlot("clouds").slot, SceneRun::Drawn);
    bool shaken = false;
    for (int i = 0; i < 16; ++i) shaken |= renderDestinations.viewMatrix[i] != still[i];
    EXPECT_TRUE(shaken) << "the flash handed over shakes the camera";
    EXPECT_EQ(sceneFlashes.sceneFlash, 0);
    EXPECT_EQ(sceneFlashes.sceneFlashAccumulator, 0);
    EXPECT_EQ(renderDestinations.currentTarget, screenTarget);

    struct Row {
        int now;
        bool black;
    };
    for (const Row& row : {Row{207000, false}, Row{208000, true}, Row{209999, true}}) {
        demoClock.musicMs = row.now;
        drawSlot(roomSlot("clouds").slot, SceneRun::Drawn);
        EXPECT_EQ(pixelAt(320, 240, 480) == (Rgba{0, 0, 0, 255}), row.black) << row.now;
    }
}

}  // namespace
