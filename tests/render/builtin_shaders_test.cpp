// Each built-in program drawn into an off-screen target on Mesa and read back.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "render/gl_state.h"
#include "render/render_target.h"
#include "render/shader_library.h"
#include "render/shader_program.h"
#include "render/texture_registry.h"
#include "tests/support/gl_context.h"

namespace {

using Bytes = std::vector<unsigned char>;

// A registered texture with the given RGBA texels, sampled without filtering.
int makeTexture(int width, int height, const Bytes& rgba, GLint wrap = GL_CLAMP_TO_EDGE) {
    const int index = createEmptyTexture(width, height);
    glBindTexture(GL_TEXTURE_2D, textureNames[index]);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    return index;
}

// A quad with texture coordinates (0, 0) at (x0, y0) and (1, 1) at (x1, y1).
void drawQuad(float x0, float y0, float x1, float y1) {
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(x0, y0);
    glTexCoord2f(1, 0);
    glVertex2f(x1, y0);
    glTexCoord2f(1, 1);
    glVertex2f(x1, y1);
    glTexCoord2f(0, 1);
    glVertex2f(x0, y1);
    glEnd();
}

class BuiltInPrograms : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(requireShaderLibrary());
        releaseMaterial(nullptr);
        overrideMaterial = nullptr;
    }

    // A cleared target of the given size with an orthographic view of it, y up, one unit a pixel.
    void target(int w, int h) {
        width = w;
        height = h;
        bindRenderTarget(offscreenTarget(w, h));
        setBlendMode(BlendMode::Off);
        setClearColor(0, 0, 0);
        glClearColor(0, 0, 0, 0);
        clearBuffers(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, w, 0, h, -1, 1);
        resetModelview();
        glColor4f(1, 1, 1, 1);
    }

    // Pixel x, y counted from the bottom left.
    Rgba at(int x, int y) const { return pixelAt(x, height - 1 - y, height); }

    int width = 0, height = 0;
};

TEST_F(BuiltInPrograms, TexturedAlphaScalesAlpha) {
    target(16, 16);
    Material& material = builtInMaterial(TexturedAlpha);
    setTextureSlot(material.findTexture("tex"), makeTexture(1, 1, {200, 100, 50, 255}));
    setUniformValue(material.findUniform("alpha"), 0.5f, 0, 0, 0);
    material.apply();
    drawQuad(0, 0, 16, 16);
    releaseMaterial(&material);
    EXPECT_PRED3(near, at(8, 8), (Rgba{200, 100, 50, 128}), 1);
}

TEST_F(BuiltInPrograms, TexturedDimScalesColour) {
    target(16, 16);
    Material& material = builtInMaterial(TexturedDim);
    setTextureSlot(material.findTexture("tex"), makeTexture(1, 1, {200, 100, 50, 255}));
    setUniformValue(material.findUniform("alpha"), 0.5f, 0, 0, 0);
    material.apply();
    drawQuad(0, 0, 16, 16);
    releaseMaterial(&material);
    EXPECT_PRED3(near, at(8, 8), (Rgba{100, 50, 25, 255}), 1);
}

TEST_F(BuiltInPrograms, ScrolledTextureShiftsCoordinates) {
    target(64, 4);
    Material& material = builtInMaterial(ScrolledTexture);
    setTextureSlot(material.findTexture("tex"), makeTexture(2, 1, {255, 0, 0, 255, 0, 0, 255, 255}, GL_REPEAT));
    setUniformValue(material.findUniform("alpha"), 1, 0, 0, 0);
    setUniformValue(material.findUniform("uvShift"), 0.5f, 0, 0, 0);
    material.apply();
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    drawQuad(0, 0, 64, 4);
    releaseMaterial(&material);
    EXPECT_EQ(at(10, 2), (Rgba{0, 0, 255, 255})) << "the left half now shows the right texel";
    EXPECT_EQ(at(50, 2), (Rgba{255, 0, 0, 255}));
}

TEST_F(BuiltInPrograms, VertexColourIsPassedThrough) {
    target(8, 8);
    Material& material = builtInMaterial(VertexColour);
    material.apply();
    glColor4f(0.2f, 0.4f, 0.6f, 0.8f);
    drawQuad(0, 0, 8, 8);
    releaseMaterial(&material);
    EXPECT_PRED3(near, at(4, 4), (Rgba{51, 102, 153, 204}), 1);
}

TEST_F(BuiltInPrograms, GradientRunsFromColourTwoAtZeroToColourOneAt512) {
    target(8, 512);
    Material& material = builtInMaterial(Gradient);
    setUniformValue(material.findUniform("background_color1"), 1, 0, 0, 0);
    setUniformValue(material.findUniform("background_color2"), 0, 0, 1, 0);
    material.apply();
    drawQuad(0, 0, 8, 512);
    releaseMaterial(&material);
    EXPECT_PRED3(near, at(4, 0), (Rgba{0, 0, 255, 255}), 1);
    EXPECT_PRED3(near, at(4, 511), (Rgba{255, 0, 0, 255}), 1);
    EXPECT_PRED3(near, at(4, 256), (Rgba{128, 0, 127, 255}), 2);
}

TEST_F(BuiltInPrograms, SpriteFacesTheCameraAtItsRadius) {
    target(512, 512);
    setPerspective(90.0f, 1.0f, 0.1f, 100.0f);
    resetModelview();
    translate(0, 0, -5);
    rotate(80, 0, 1, 0);  // turned almost edge-on: a plain quad would be a sliver
    Material& material = builtInMaterial(Sprite);
    setTextureSlot(material.findTexture("texture"), makeTexture(1, 1, {255, 255, 255, 255}));
    setUniformValue(material.findUniform("radius"), 0.5f, 0, 0, 0);
    material.apply();
    glColor4f(0, 1, 0, 1);
    drawQuad(-1, -1, 1, 1);
    releaseMaterial(&material);
    // Half size 0.5 at distance 5 under a 90 degree view: 0.1 of the half width, 25.6 pixels.
    const Rgba green{0, 255, 0, 255}, empty{0, 0, 0, 0};
    EXPECT_EQ(at(256, 256), green);
    EXPECT_EQ(at(256 + 23, 256), green);
    EXPECT_EQ(at(256 - 23, 256 + 23), green);
    EXPECT_EQ(at(256 + 29, 256), empty);
    EXPECT_EQ(at(256, 256 - 29), empty);
}

TEST_F(BuiltInPrograms, BlurMaskAveragesNineTexelsOfRedIntoAlpha) {
    target(64, 4);
    Bytes texels(64 * 4, 0);
    texels[32 * 4] = 255;  // one red texel
    Material& material = builtInMaterial(BlurMask);
    setTextureSlot(material.findTexture("tex"), makeTexture(64, 1, texels));
    setUniformValue(material.findUniform("blur"), 1.0f / 64.0f, 0, 0, 0);
    material.apply();
    glColor4f(0, 1, 0, 1);
    drawQuad(0, 0, 64, 4);
    releaseMaterial(&material);
    for (int x = 26; x <= 38; ++x) {
        const int expectedAlpha = (x >= 28 && x <= 36) ? 28 : 0;  // 255 / 9
        EXPECT_PRED3(near, at(x, 2), (Rgba{0, 255, 0, expectedAlpha}), 1) << "x = " << x;
    }
}

TEST_F(BuiltInPrograms, PolarQuadLaysFourTexturesAroundItsCentre) {
    target(512, 512);
    const Bytes red{255, 0, 0, 255}, yellow{255, 255, 0, 255};
    Bytes twoRows = red;
    twoRows.insert(twoRows.end(), yellow.begin(), yellow.end());
    const int textures[4] = {makeTexture(1, 2, twoRows), makeTexture(1, 1, {0, 255, 0, 255}),
                             makeTexture(1, 1, {0, 0, 255, 255}), makeTexture(1, 1, {255, 255, 255, 255})};
    Material& material = builtInMaterial(PolarQuad);
    material.apply();
    const char* samplers[4] = {"texture0", "texture1", "texture2", "texture3"};
    for (int i = 0; i < 4; ++i) setSampler2D(material.program, samplers[i], textureNames[textures[i]], i);
    drawQuad(0, 0, 512, 512);
    releaseMaterial(&material);

    // The colour at angle (degrees) and distance from the centre (0.5, 0.9), in texture space.
    auto around = [&](float degrees, float distance) {
        const double radians = degrees * M_PI / 180.0;
        const double s = 0.5 + distance * std::cos(radians), t = 0.9 + distance * std::sin(radians);
        return at(static_cast<int>(s * 512), static_cast<int>(t * 512));
    };
    const Rgba r{255, 0, 0, 255}, y{255, 255, 0, 255}, g{0, 255, 0, 255}, b{0, 0, 255, 255}, w{255, 255, 255, 255};
    EXPECT_EQ(around(150, 0.05f), r);
    EXPECT_EQ(around(-100, 0.05f), g);
    EXPECT_EQ(around(0, 0.05f), b);
    EXPECT_EQ(around(100, 0.05f), w);
    // The seam from texture3 to texture0 lies at 126 degrees.
    EXPECT_EQ(around(129, 0.08f), r);
    EXPECT_EQ(around(123, 0.08f), w);
    // v = 1.2 x distance: below 0.5 the first row of texture0, above it the second.
    EXPECT_EQ(around(200, 0.3f), r);
    EXPECT_EQ(around(200, 0.5f), y);
}

}  // namespace
