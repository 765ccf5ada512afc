// Fades, glows, blur and depth of field.
#include "effects/common/post_process.h"

#include <GL/glew.h>

#include <algorithm>

#include "base/envelopes.h"
#include "render/gl_state.h"
#include "render/render_target.h"
#include "render/screen_pass.h"
#include "render/shader_library.h"
#include "render/shader_program.h"
#include "scene/scene_draw.h"
#include "scene/scene_node.h"
#include "xsi/xsi_reader.h"

SceneNode* postScene = nullptr;

namespace {

void drawColourQuad(float r, float g, float b, float alpha, BlendMode blendMode, bool maskDepth) {
    alpha = std::clamp(alpha, 0.0f, 1.0f);
    float modelview[16], projection[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    Material& colour = builtInMaterial(VertexColour);
    colour.apply();
    setBlendMode(blendMode);
    glDisable(GL_DEPTH_TEST);
    if (maskDepth) glDepthMask(GL_FALSE);
    glColor4f(r, g, b, alpha);
    drawFullscreenQuad(TextureRows::BottomFirst);
    releaseMaterial(&colour);
    setBlendMode(BlendMode::Off);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(modelview);
    glEnable(GL_DEPTH_TEST);
    glColor4f(1, 1, 1, 1);
    if (maskDepth) glDepthMask(GL_TRUE);
}

constexpr float rampThreshold = 0.0001f;
constexpr float blackFlashThreshold = 0.01f;

}  // namespace

void loadPostScene() { loadXsiScene("data\\postproc.XSI", postScene); }

void drawFadeQuad(float r, float g, float b, float alpha) {
    drawColourQuad(r, g, b, alpha, BlendMode::Alpha, true);
}

void drawAdditiveQuad(float r, float g, float b, float alpha) {
    drawColourQuad(r, g, b, alpha, BlendMode::Additive, false);
}

void fadeFrom(int startMs, int endMs, float r, float g, float b) {
    const float w = rampDown(startMs, endMs);
    if (w > rampThreshold) drawFadeQuad(r, g, b, w);
}

void fadeTo(int startMs, int endMs, float r, float g, float b) {
    const float w = rampDown(startMs, endMs);
    if (w > rampThreshold) drawFadeQuad(r, g, b, 1.0f - w);
}

void glowFrom(int startMs, int endMs, float r, float g, float b) {
    const float w = rampDown(startMs, endMs);
    if (w > rampThreshold) drawAdditiveQuad(r, g, b, w);
}

void glowTo(int startMs, int endMs, float r, float g, float b) {
    const float w = rampDown(startMs, endMs);
    if (w > rampThreshold) drawAdditiveQuad(r, g, b, 1.0f - w);
}

void blackFlash(int startMs, int endMs) {
    const float w = rampDown(startMs, endMs);
    if (w > blackFlashThreshold) drawFadeQuad(0, 0, 0, w);
}

void blurPass(int source, int destination, float step, bool horizontal, TextureRows rows) {
    bindRenderTarget(destination);
    Material* blur = findSceneMaterial(postScene, "blur");
    if (blur == nullptr) return;  // a post-processing scene without it: the pass is skipped
    blur->apply();
    const float params[4] = {step, horizontal ? 1.0f : 0.0f, horizontal ? 0.0f : 1.0f, 0.0f};
    setUniformVec4(blur->program, "params", params);
    setSampler2D(blur->program, "texture0", renderTargetTexture(source), 0);
    drawFullscreenQuad(rows);
    releaseMaterial(blur);
}

void blurSceneTarget(float step) {
    blurPass(sceneTarget, blurTargetH, step, true, TextureRows::TopFirst);
    blurPass(blurTargetH, blurTargetV, step, false, TextureRows::BottomFirst);
}

void depthOfFieldPrePass(float x, float y, float z, float w, void (*drawScene)(int target, SceneRun run),
                         SceneRun run) {
    Material* prePass = findSceneMaterial(postScene, "dof_preproc");
    if (prePass == nullptr || drawScene == nullptr) return;
    setUniformValue(prePass->findUniform("params"), x, y, z, w);
    overrideMaterial = prePass;
    drawScene(focusTarget, run);
    overrideMaterial = nullptr;
}

void depthOfFieldComposite() {
    Material* combine = findSceneMaterial(postScene, "dof_combine");
    if (combine == nullptr) return;
    combine->apply();
    const float alpha[4] = {1, 0, 0, 0};
    setUniformVec4(combine->program, "alpha", alpha);
    setSampler2D(combine->program, "texture0", renderTargetTexture(blurTargetV), 0);
    setSampler2D(combine->program, "texture1", renderTargetTexture(focusTarget), 1);
    setBlendMode(BlendMode::Alpha);
    drawFullscreenQuad(TextureRows::BottomFirst);
    releaseMaterial(combine);
}
