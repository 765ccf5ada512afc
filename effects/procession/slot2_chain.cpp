// Slot 2's passes.
#include "effects/procession/slot2_chain.h"

#include "base/demo_clock.h"
#include "effects/common/dust_start.h"
#include "effects/common/post_process.h"
#include "effects/common/scene_flash.h"
#include "effects/common/scene_resources.h"
#include "effects/procession/procession.h"
#include "effects/procession/procession_path.h"
#include "effects/procession/procession_resources.h"
#include "render/render_target.h"
#include "render/screen_pass.h"
#include "scene/particle_system.h"

namespace {

constexpr float blurStep = 0.002f;

void advanceParticles(float stepMs) {
    if (dustParticles != nullptr) dustParticles->update(stepMs);
    for (ParticleSystem* sparks : sparkSystems)
        if (sparks != nullptr) sparks->update(stepMs);
}

// White in, black frames over the act-A cuts, black over the act changes and the later cuts,
// white as act C leaves its slow motion.
void drawFades() {
    fadeFrom(processionActAStartMs, 50000, 1, 1, 1);
    blackFlash(52400, 53400);
    blackFlash(59600, 60600);
    blackFlash(66800, 67300);
    fadeFrom(72100, 73100, 0, 0, 0);
    fadeFrom(80300, 81300, 0, 0, 0);
    fadeFrom(86700, 87700, 0, 0, 0);
    fadeFrom(90100, 91100, 1, 1, 1);
}

}  // namespace

void renderSlot2(const FrameRecord& record) {
    const SceneRun frame = record.run;
    // The pre-pass, the blur source and its blurs feed nothing but the composite.
    const bool composited = slot2CompositeDrawn(record.timeMs);
    const SceneRun focus = runWhenSeen(frame, composited);

    depthOfFieldPrePass(20, 20, 0.1f, 0, drawProcessionScene, focus);
    startDustOnce(dustParticles, dustStartFlags.procession);
    advanceParticles(record.stepMs);

    drawProcessionScene(sceneTarget, focus);
    if (focus == SceneRun::Drawn) blurSceneTarget(blurStep);
    drawProcessionScene(screenTarget, frame);
    if (frame == SceneRun::Drawn) {
        if (composited) depthOfFieldComposite();
        drawFades();
    }
}
