// Slot 3's passes.
#include "effects/worms/slot3_chain.h"

#include "base/demo_clock.h"
#include "effects/common/post_process.h"
#include "effects/common/scene_flash.h"
#include "effects/common/scene_resources.h"
#include "effects/worms/worm_bursts.h"
#include "effects/worms/worm_path.h"
#include "effects/worms/worm_resources.h"
#include "effects/worms/worm_scene.h"
#include "render/render_target.h"
#include "scene/particle_system.h"

void renderSlot3(const FrameRecord& record) {
    const SceneRun frame = record.run;
    const float stepMs = record.stepMs;
    if (dustParticles != nullptr) dustParticles->update(stepMs);

    // The first worm is already under way when the slot opens: its burst and flash start here.
    burstWormOnce(0);
    const WormSpec& first = wormTable[0];
    addSceneFlash(first.flashStartMs, first.flashEndMs, coarseFlashThreshold);
    for (ParticleSystem* sparks : wormSparkSystems)
        if (sparks != nullptr) sparks->update(stepMs);

    // No composite follows in this slot, and slot 4 fills the blur targets before it reads them:
    // the pre-pass, the blur source and its blurs are never seen. Their runs still add flashes.
    const SceneRun neverShown = runWhenSeen(frame, false);
    depthOfFieldPrePass(20, 30, 0.1f, 0, drawWormScene, neverShown);
    drawWormScene(sceneTarget, neverShown);
    if (neverShown == SceneRun::Drawn) blurSceneTarget(0.002f);
    // The screen shows the sharp run.
    drawWormScene(screenTarget, frame);

    if (frame == SceneRun::Drawn) {
        glowFrom(wormSlotStartMs, 102600, 1, 1, 1);
        drawAdditiveQuad(1, 1, 1, wormSlotFlashAlpha(sceneFlashes.sceneFlash));
        if (wormSlotWhiteOutShown(record.timeMs)) glowTo(120600, wormSlotEndMs, 1, 1, 1);
    }
}
