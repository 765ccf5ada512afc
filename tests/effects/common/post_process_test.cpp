// Fades, glows, blur and depth of field on Mesa, with test materials standing in for the
// post-processing scene's.
#include "effects/common/post_process.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "app/music.h"
#include "platform/audio.h"
#include "render/gl_state.h"
#include "render/render_destinations.h"
#include "render/render_target.h"
#include "render/screen_pass.h"
#include "render/shader_library.h"
#include "scene/scene_node.h"
#include "tests/support/gl_context.h"

namespace {

void clockAt(std::uint32_t t) {
    setAudioDriver(&nullAudioDriver);
    setNullAudioPositionMs(t);
    updateAudio();
}

class PostProcess : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(requireShaderLibrary());
        bindFakeWindow(64, 36);
        renderDestinations.currentTarget = screenTarget;
        fill(1, 0, 0);
    }
    static void fill(float r, float g, float b) {
        glClearColor(r, g, b, 1);
        clearBuffers(GL_COLOR_BUFFER_BIT);
    }
    static Rgba middle() { return pixelAt(32, 18, 36); }
};

TEST_F(PostProcess, FadeAlphaIsClampedAndTheMatricesRestored) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-1, 1, -1, 1, 1, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    float projectionBefore[16], modelviewBefore[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projectionBefore);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelviewBefore);

    drawFadeQuad(0, 0, 1, -0.2f);
    EXPECT_EQ(middle(), (Rgba{255, 0, 0, 255})) << "below 0: drawn fully transparent";
    drawFadeQuad(0, 0, 1, 1.7f);
    EXPECT_EQ(middle(), (Rgba{0, 0, 255, 255})) << "above 1: opaque";

    float projection[16], modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(projection[i], projectionBefore[i]);
        EXPECT_EQ(modelview[i], modelviewBefore[i]);
    }
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLboolean depthMask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    EXPECT_TRUE(depthMask);
}

TEST_F(PostProcess, GlowsAdd) {
    drawAdditiveQuad(0, 1, 0, 0.5f);
    EXPECT_PRED3(near, middle(), (Rgba{255, 128, 0, 255}), 1);
}

// Whether a ramp pass drew at time t: drawing leaves the depth test on, which the test turned off.
bool drawsAt(std::uint32_t t, void (*pass)()) {
    clockAt(t);
    glDisable(GL_DEPTH_TEST);
    pass();
    return glIsEnabled(GL_DEPTH_TEST);
}

TEST_F(PostProcess, RampPassesDrawOnlyAboveTheirThreshold) {
    auto fadeToWhite = [] { fadeTo(164400, 165100, 1, 1, 1); };
    EXPECT_FALSE(drawsAt(164399, fadeToWhite));
    EXPECT_TRUE(drawsAt(164400, fadeToWhite)) << "drawn, with weight 0";
    EXPECT_EQ(middle(), (Rgba{255, 0, 0, 255}));
    EXPECT_TRUE(drawsAt(165099, fadeToWhite));
    EXPECT_FALSE(drawsAt(165100, fadeToWhite));

    auto flash = [] { blackFlash(1000, 2000); };
    EXPECT_TRUE(drawsAt(1989, flash));
    EXPECT_FALSE(drawsAt(1990, flash)) << "w = 0.01 is not above the threshold";

    fill(0, 0, 0);
    clockAt(1500);
    glowFrom(1000, 2000, 1, 1, 1);
    EXPECT_PRED3(near, middle(), (Rgba{128, 128, 128, 255}), 1);
    fill(0, 0, 0);
    clockAt(1750);
    glowTo(1000, 2000, 1, 1, 1);
    EXPECT_PRED3(near, middle(), (Rgba{191, 191, 191, 255}), 1);
    fill(0, 0, 0);
    clockAt(1250);
    fadeFrom(1000, 2000, 0, 0, 1);
    EXPECT_PRED3(near, middle(), (Rgba{0, 0, 191, 207}), 1);
}

// A material for the stand-in post-processing scene, with a mesh node using it.
Material* addPostMaterial(SceneNode& scene, const char* name, const char* fragment) {
    const int index = addBuiltInMaterial(
        "varying vec2 uv;\nvoid main() { gl_Position = ftransform(); uv = gl_MultiTexCoord0.xy; }\n", fragment);
    Material* material = shaderLibrary.materials[static_cast<std::size_t>(index)].get();
    std::snprintf(material->name, materialNameSize, "%s", name);
    material->depthTest = 0;
    auto node = std::make_unique<SceneNode>();
    node->kind = MeshNode;
    node->mesh = std::make_unique<Mesh>();
    node->mesh->material = material;
    scene.children.push_back(std::move(node));
    return material;
}

// Draws top half red, bottom half blue into the target, upright as a scene would.
int drawnTarget = -1;
void drawTwoBands(int target) {
    drawnTarget = target;
    bindRenderTarget(target);
    glClearColor(0, 0, 1, 1);
    clearBuffers(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    resetModelview();
    Material& colour = builtInMaterial(VertexColour);
    colour.apply();
    glColor4f(1, 0, 0, 1);
    glBegin(GL_QUADS);
    glVertex2f(-1, 0);
    glVertex2f(1, 0);
    glVertex2f(1, 1);
    glVertex2f(-1, 1);
    glEnd();
    releaseMaterial(&colour);
}

TEST_F(PostProcess, BlurChainAndCompositeRunWithTheSceneMaterials) {
    static SceneNode scene;
    postScene = &scene;
    Material* blur = addPostMaterial(scene, "blur",
        "uniform sampler2D texture0;\nuniform vec4 params;\nvarying vec2 uv;\n"
        "void main() { gl_FragColor = texture2D(texture0, uv) + vec4(params.w); }\n");
    Material* prePass = addPostMaterial(scene, "dof_preproc",
        "uniform vec4 params;\nvoid main() { gl_FragColor = vec4(params.x / 255.0, 0.0, 0.0, 0.5); }\n");
    prePass->addUniform(0, 0, 0, 0, "params");
    addPostMaterial(scene, "dof_combine",
        "uniform sampler2D texture0;\nuniform sampler2D texture1;\nuniform vec4 alpha;\nvarying vec2 uv;\n"
        "void main() { gl_FragColor = vec4(texture2D(texture0, uv).rgb, texture2D(texture1, uv).a * alpha.x); }\n");

    // Horizontal pass with rows top first mirrors; the vertical pass with rows bottom first keeps that orientation.
    drawTwoBands(sceneTarget);
    EXPECT_EQ(pixelAt(256, 10, 512), (Rgba{255, 0, 0, 255})) << "a scene is stored upright";
    blurPass(sceneTarget, blurTargetH, 1.0f / 512.0f, true, TextureRows::TopFirst);
    float params[4] = {};
    glGetUniformfv(blur->program, glGetUniformLocation(blur->program, "params"), params);
    EXPECT_EQ(params[0], 1.0f / 512.0f);
    EXPECT_EQ(params[1], 1.0f);
    EXPECT_EQ(params[2], 0.0f);
    EXPECT_EQ(pixelAt(256, 10, 512), (Rgba{0, 0, 255, 255})) << "blurTargetH is mirrored";
    blurPass(blurTargetH, blurTargetV, 1.0f / 512.0f, false, TextureRows::BottomFirst);
    glUseProgram(blur->program);
    glGetUniformfv(blur->program, glGetUniformLocation(blur->program, "params"), params);
    glUseProgram(0);
    EXPECT_EQ(params[1], 0.0f);
    EXPECT_EQ(params[2], 1.0f);
    EXPECT_EQ(pixelAt(256, 10, 512), (Rgba{0, 0, 255, 255})) << "blurTargetV stays mirrored";
    EXPECT_EQ(renderDestinations.currentTarget, blurTargetV);

    // The pre-pass draws the scene into the focus target under the override, then lifts it.
    Material* seenOverride = nullptr;
    static Material** seen = &seenOverride;
    depthOfFieldPrePass(
        200, 20, 0.1f, 0,
        [](int target, SceneRun) {
            *seen = overrideMaterial;
            drawTwoBands(target);
        },
        SceneRun::Drawn);
    EXPECT_EQ(seenOverride, prePass);
    EXPECT_EQ(drawnTarget, focusTarget);
    EXPECT_EQ(overrideMaterial, nullptr);
    EXPECT_EQ(prePass->findUniform("params")->value[0], 200.0f);
    const int focusHeight = renderTargets.targets[focusTarget].height;
    EXPECT_PRED3(near, pixelAt(2, 2, focusHeight), (Rgba{200, 0, 0, 128}), 1)
        << "every mesh drew with the pre-pass material";

    // The composite lays the (mirrored) blur over the screen with rows bottom first, weighted by the pre-pass.
    bindFakeWindow(64, 36);
    renderDestinations.currentTarget = screenTarget;
    fill(0, 1, 0);
    depthOfFieldComposite();
    EXPECT_PRED3(near, pixelAt(32, 2, 36), (Rgba{0, 128, 128, 191}), 2)
        << "half of the mirrored blur (blue on top) over the green picture";
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    postScene = nullptr;
}

}  // namespace
