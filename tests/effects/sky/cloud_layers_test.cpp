// The cloud layers drawn on Mesa: two layers of different alpha, read back where they overlap.
#include "effects/sky/cloud_layers.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include "render/gl_state.h"
#include "render/material.h"
#include "render/render_destinations.h"
#include "render/texture_registry.h"
#include "tests/support/gl_context.h"

namespace {

// A registered 1x1 texture of that colour.
int plainTexture(unsigned char r, unsigned char g, unsigned char b, unsigned char a) {
    const int index = createEmptyTexture(1, 1);
    const unsigned char texel[4] = {r, g, b, a};
    glBindTexture(GL_TEXTURE_2D, textureNames[index]);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    return index;
}

TEST(CloudLayers, EachLayerAddsWithItsOwnAlpha) {
    ASSERT_TRUE(requireShaderLibrary());
    releaseMaterial(nullptr);
    overrideMaterial = nullptr;
    const int grey = plainTexture(200, 200, 200, 128);
    renderDestinations.fieldOfView = 70;
    bindFakeWindow(64, 36);
    setClearColor(0, 0, 0);
    clearBuffers(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    setCamera(0, 0, 0, 0, 4, 0, 1, 0, 0);
    setBlendMode(BlendMode::Additive);

    // From height 0 the layers 3 (alpha 1.2) and 2 (alpha 0.6) cover the view, in that order:
    // 200 x 128/255 x (1.2 + 0.6) = 181, where the first layer's alpha used twice would give 241.
    drawCloudLayers(grey, 0, 0);
    EXPECT_PRED3(near, pixelAt(32, 18, 36), (Rgba{181, 181, 181, 255}), 2);
    EXPECT_EQ(currentMaterial, nullptr);
}

}  // namespace
