// Slot 5's passes.
#include "effects/clouds/slot5_chain.h"

#include <optional>

#include "base/demo_clock.h"
#include "effects/clouds/cloud_flight.h"
#include "effects/clouds/cloud_flight_path.h"
#include "effects/common/post_process.h"
#include "effects/common/scene_flash.h"
#include "render/gl_state.h"
#include "render/material.h"
#include "render/render_target.h"
#include "render/screen_pass.h"
#include "render/shader_library.h"
#include "render/shader_program.h"

namespace {

// The scene with every model in opaque black over its white sky: the source of the glow.
void drawSilhouette(SceneRun run) {
    Material& black = builtInMaterial(Gradient);
    setUniformValue(black.findUniform("background_color1"), 0, 0, 0, 0);
    setUniformValue(black.findUniform("background_color2"), 0, 0, 0, 0);
    overrideMaterial = &black;
    drawCloudScene(sceneTarget, run);
    overrideMaterial = nullptr;
}

// The blurred silhouette added at 90 per cent, so the sky's light bleeds around the dark shapes.
void addSilhouetteGlow() {
    Material& textured = builtInMaterial(TexturedAlpha);
    textured.apply();
    const float alpha[4] = {0.9f, 0, 0, 0};
    setUniformVec4(textured.program, "alpha", alpha);
    setSampler2D(textured.program, "tex", renderTargetTexture(blurTargetV), 0);
    setBlendMode(BlendMode::Additive);
    // The two blur passes left the image upside down.
    drawFullscreenQuad(TextureRows::TopFirst);
    releaseMaterial(&textured);
}

}  // namespace

void renderSlot5(const FrameRecord& record) {
    const SceneRun frame = record.run;
    // Both runs are seen: the blurred silhouette is the glow.
    drawSilhouette(frame);
    if (frame == SceneRun::Drawn) blurSceneTarget(0.004f);
    drawCloudScene(screenTarget, frame);

    if (frame == SceneRun::Drawn) {
        addSilhouetteGlow();
        for (const GlowWindow& glow : cloudFlightGlowsBeforeFade) glowFrom(glow.startMs, glow.endMs, 1, 1, 1);
        if (const std::optional<float> weight = finalFadeWeight(record.timeMs)) drawFadeQuad(0, 0, 0, *weight);
        glowFrom(cloudFlightGlowAfterFade.startMs, cloudFlightGlowAfterFade.endMs, 1, 1, 1);
    }
}
