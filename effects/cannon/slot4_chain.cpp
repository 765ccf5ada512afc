// Slot 4's passes.
#include "effects/cannon/slot4_chain.h"

#include <cstdint>

#include "base/demo_clock.h"
#include "effects/cannon/cannon_path.h"
#include "effects/cannon/cannon_resources.h"
#include "effects/cannon/cannon_scene.h"
#include "effects/common/dust_start.h"
#include "effects/common/post_process.h"
#include "effects/common/scene_flash.h"
#include "effects/common/scene_resources.h"
#include "render/gl_state.h"
#include "render/material.h"
#include "render/render_target.h"
#include "render/screen_pass.h"
#include "render/shader_library.h"
#include "render/shader_program.h"
#include "scene/particle_system.h"

namespace {

constexpr float blurStep = 0.0025f;
constexpr float noiseVisibleWeight = 0.001f;

// The blurred picture added over the sharp one on the screen.
void drawGlowComposite(std::int32_t t) {
    Material& glow = builtInMaterial(TexturedAlpha);
    glow.apply();
    const float alpha[4] = {glowCompositeAlpha(t), 0, 0, 0};
    setUniformVec4(glow.program, "alpha", alpha);
    setSampler2D(glow.program, "tex", renderTargetTexture(blurTargetV), 0);
    setBlendMode(BlendMode::Additive);
    drawFullscreenQuad(TextureRows::TopFirst);
    releaseMaterial(&glow);
}

// The noise image drifting across the picture in its windows of slot time.
void drawNoiseSweep(float s) {
    const float w = noiseSweepWeight(s);
    if (!(w > noiseVisibleWeight)) return;
    Material& noise = builtInMaterial(ScrolledTexture);
    setTextureSlot(noise.findTexture("tex"), noiseTexture);
    setUniformValue(noise.findUniform("alpha"), w, 0, 0, 0);
    setUniformValue(noise.findUniform("uvShift"), s * 0.071f, s * 0.013f, 0, 0);
    noise.apply();
    setBlendMode(BlendMode::Alpha);
    drawFullscreenQuad(TextureRows::TopFirst);
    releaseMaterial(&noise);
}

void drawFades() {
    glowFrom(cannonSlotStartMs, 123600, 1, 1, 1);
    blackFlash(130200, 131200);
    blackFlash(158200, 159200);
    fadeTo(164400, 165100, 1, 1, 1);
    fadeTo(168100, 168800, 1, 1, 1);
    fadeFrom(165100, 166100, 1, 1, 1);
    fadeFrom(168800, 169600, 1, 1, 1);
    fadeFrom(172400, 173600, 1, 1, 1);
    fadeFrom(171300, 171900, 1, 1, 1);
    fadeFrom(137000, 139000, 1, 1, 1);
    fadeFrom(140200, 140700, 1, 1, 1);
    fadeTo(150100, 151100, 1, 1, 1);
    fadeFrom(144100, 145100, 1, 1, 1);
    fadeFrom(151100, 151600, 1, 1, 1);
}

}  // namespace

void renderSlot4(const FrameRecord& record) {
    const SceneRun frame = record.run;
    const std::int32_t t = record.timeMs;
    const float s = static_cast<float>(t - cannonSlotStartMs);
    const float stepMs = record.stepMs;

    startDustOnce(dustParticles, dustStartFlags.cannon);
    if (dustParticles != nullptr) dustParticles->update(stepMs);
    addSceneFlash(150100, 151100, coarseFlashThreshold);
    for (ParticleSystem* sparks : cannonParticleSystems)
        if (sparks != nullptr) sparks->update(stepMs);

    // Both runs are seen: the blurred one is the glow.
    drawCannonScene(sceneTarget, frame);
    if (frame == SceneRun::Drawn) blurSceneTarget(blurStep);
    drawCannonScene(screenTarget, frame);

    if (frame == SceneRun::Drawn) {
        drawGlowComposite(t);
        drawNoiseSweep(s);
        drawFades();
    }
}
