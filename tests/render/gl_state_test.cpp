// GL state helpers, checked by reading the state back from a Mesa context.
#include "render/gl_state.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <array>

#include "render/render_destinations.h"
#include "tests/support/gl_context.h"

namespace {

GLint integer(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

void expectBlend(bool enabled, GLint source, GLint destination) {
    EXPECT_EQ(glIsEnabled(GL_BLEND), enabled ? GL_TRUE : GL_FALSE);
    EXPECT_EQ(integer(GL_BLEND_SRC), source);
    EXPECT_EQ(integer(GL_BLEND_DST), destination);
}

class GlState : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(requireGlContext()); }
};

TEST_F(GlState, NumberedBlendModes) {
    setBlendMode(BlendMode::AlphaSaturate);
    expectBlend(true, GL_SRC_ALPHA_SATURATE, GL_ONE_MINUS_SRC_ALPHA);
    setBlendMode(BlendMode::Darken);
    expectBlend(true, GL_ZERO, GL_ONE_MINUS_SRC_COLOR);
    setBlendMode(BlendMode::Alpha);
    expectBlend(true, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    setBlendMode(BlendMode::Additive);
    expectBlend(true, GL_SRC_ALPHA, GL_ONE);
}

TEST_F(GlState, BlendOffKeepsFactorsForALaterHighMode) {
    setBlendMode(BlendMode::Darken);
    setBlendMode(BlendMode::Off);
    expectBlend(false, GL_ZERO, GL_ONE_MINUS_SRC_COLOR);
    setBlendMode(BlendMode::KeepFactors);
    expectBlend(true, GL_ZERO, GL_ONE_MINUS_SRC_COLOR);
    setBlendMode(BlendMode::Off);
    setBlendMode(static_cast<BlendMode>(42));
    expectBlend(true, GL_ZERO, GL_ONE_MINUS_SRC_COLOR);
}

TEST_F(GlState, CullModes) {
    setCullMode(CullMode::Front);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(integer(GL_CULL_FACE_MODE), GL_FRONT);
    setCullMode(CullMode::Off);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(integer(GL_CULL_FACE_MODE), GL_FRONT);
    setCullMode(CullMode::KeepFace);  // on, with whichever face was chosen before
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(integer(GL_CULL_FACE_MODE), GL_FRONT);
    setCullMode(CullMode::Back);
    EXPECT_EQ(integer(GL_CULL_FACE_MODE), GL_BACK);
}

TEST_F(GlState, ViewportTruncatesTowardZero) {
    setViewport(10.7f, 20.2f, 799.9f, 599.999f);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 10);
    EXPECT_EQ(viewport[1], 20);
    EXPECT_EQ(viewport[2], 799);
    EXPECT_EQ(viewport[3], 599);
    setViewport(-0.9f, -1.5f, 64.0f, 64.0f);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], -1);
}

TEST_F(GlState, TextureBindingsExcludeEachOther) {
    GLuint names[2];
    glGenTextures(2, names);
    bindCubeMapTexture(names[1]);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_CUBE_MAP));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_T));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_R));
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_CUBE_MAP), static_cast<GLint>(names[1]));

    bindTexture2D(names[0]);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_CUBE_MAP));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_R));
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(names[0]));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GlState, PerspectiveLeavesTheProjectionCurrentAndModelviewResets) {
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(1.0f, 2.0f, 3.0f);
    setPerspective(90.0f, 1.7777778f, 0.2f, 1000.0f);
    EXPECT_EQ(integer(GL_MATRIX_MODE), GL_PROJECTION);
    float projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_NEAR(projection[5], 1.0f, 1e-6f);  // cot(45 degrees)
    EXPECT_NEAR(projection[0], 1.0f / 1.7777778f, 1e-6f);

    resetModelview();
    EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);
    float modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(modelview[i], i % 5 == 0 ? 1.0f : 0.0f);
}

using Matrix = std::array<float, 16>;  // column-major, as GL reports it

Matrix modelview() {
    Matrix m;
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

void expectMatrix(const Matrix& actual, const Matrix& expected, const char* step) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-6f) << step << ", element " << i;
}

TEST_F(GlState, CameraKeepsTheViewMatrix) {
    resetModelview();
    // From +x towards the origin, y up: the view's x axis is world -z, its z axis world +x, and
    // the origin lies 10 in front of the eye.
    setCamera(10.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f);
    const Matrix view = {0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, -10, 1};
    expectMatrix(std::to_array(renderDestinations.viewMatrix), view, "camera");
    expectMatrix(modelview(), view, "camera on the stack");

    // Each step multiplies on the right: it acts in the coordinates left by the steps before.
    pushMatrix();
    translate(5.0f, 0.0f, 0.0f);
    expectMatrix(modelview(), {0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, -5, 1}, "translate");
    rotate(90.0f, 0.0f, 0.0f, 1.0f);
    expectMatrix(modelview(), {0, 1, 0, 0, 0, 0, -1, 0, -1, 0, 0, 0, 0, 0, -5, 1}, "rotate");
    scale(2.0f, 3.0f, 4.0f);
    expectMatrix(modelview(), {0, 2, 0, 0, 0, 0, -3, 0, -4, 0, 0, 0, 0, 0, -5, 1}, "scale");
    popMatrix();
    expectMatrix(modelview(), view, "pop");
    expectMatrix(std::to_array(renderDestinations.viewMatrix), view, "kept");
}

TEST_F(GlState, ClearColourIsOpaque) {
    setClearColor(0.25f, 0.5f, 0.75f);
    float colour[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, colour);
    EXPECT_FLOAT_EQ(colour[0], 0.25f);
    EXPECT_FLOAT_EQ(colour[3], 1.0f);
}

}  // namespace
