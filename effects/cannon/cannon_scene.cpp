// The cannon scene.
#include "effects/cannon/cannon_scene.h"

#include <GL/glew.h>

#include <optional>

#include "base/demo_clock.h"
#include "effects/cannon/cannon_path.h"
#include "effects/cannon/cannon_resources.h"
#include "effects/common/ball_and_flames.h"
#include "effects/common/burst_once.h"
#include "effects/common/landscape.h"
#include "effects/common/particle_drawing.h"
#include "effects/common/post_process.h"
#include "effects/common/scene_flash.h"
#include "effects/common/scene_resources.h"
#include "render/gl_state.h"
#include "render/material.h"
#include "render/render_target.h"
#include "render/shader_library.h"
#include "scene/matrix.h"
#include "scene/particle_system.h"
#include "scene/scene_draw.h"

static_assert(formationSize == cannonParticleSystemCount, "one spark system per formation member");

namespace {

bool memberAlive(int i) {
    const ParticleSystem* sparks = cannonParticleSystems[i];
    return sparks != nullptr && !sparks->emitted;
}

void drawCannon(float lt) {
    pushMatrix();
    translate(0, 9, 0);
    for (int i = 0; i < shellCount; ++i) {
        const ShellAim aim = shellAim(i);
        drawShell(lt, shellFireMs, aim.pitch, aim.yaw);
    }
    const CannonParams params = cannonParams(lt);
    setUniformValue(findSceneUniform(tykkiScene, "diffuse_cubemap", "params"), 1, params.heat, params.turn, 0);
    drawSceneNode(tykkiScene);
    popMatrix();
}

void drawFormation(float lt, const float (&eye)[3]) {
    for (int i = 0; i < formationSize; ++i) {
        if (!memberAlive(i)) continue;
        const CannonPoint p = formationPosition(i, lt);
        if (!formationMemberInView(p.z, eye[2])) continue;
        const CannonPoint bob = formationBob(i, lt);
        pushMatrix();
        translate(p.x, p.y, p.z);
        translate(bob.x, bob.y, bob.z);
        drawSceneNode(normimapScene);
        drawFlames(0.9f + 0.1f * sine(10.0f * lt));
        popMatrix();
    }
}

// Each burst once in the whole run: the member's own system, emitted from where it is now.
void emitDueBursts(float lt) {
    for (const FormationBurst& burst : formationBursts) {
        if (!burstDue(burst, lt)) continue;
        if (burst.member < 0 || burst.member >= cannonParticleSystemCount) continue;
        ParticleSystem* sparks = cannonParticleSystems[burst.member];
        if (!takeBurst(nullptr, sparks)) continue;
        // Sparks of the burst's kind from where the member is now, in the burst's colour.
        const CannonPoint p = formationPosition(burst.member, lt);
        sparks->emit(burst.kind, 1000, p.x, p.y, p.z, burst.colour[0], burst.colour[1], burst.colour[2]);
    }
}

void drawDustAndSparks(const float (&eye)[3]) {
    drawDarkDust(eye[2]);
    drawSparks(cannonParticleSystems, cannonParticleSystemCount, 0.5f);
}

}  // namespace

void drawShell(float now, float fireTime, float pitch, float yaw) {
    const std::optional<ShellPlacement> shell = shellPlacement(now, fireTime, pitch, yaw);
    if (!shell) return;
    pushMatrix();
    rotate(shell->yawDegrees, 0, 1, 0);
    rotate(shell->pitchDegrees, 1, 0, 0);
    translate(0, shell->distance, 0);
    drawSceneNode(ammusScene);
    popMatrix();
}

void drawCannonScene(int target, SceneRun run) {
    const bool drawn = run == SceneRun::Drawn;
    const bool onScreen = target == screenTarget;
    const std::int32_t t = demoTimeMs();
    const float lt = static_cast<float>(t - cannonSlotStartMs);

    if (drawn) {
        bindRenderTarget(target);
        setClearColor(0, 0, 0);
        clearBuffers(onScreen ? GL_DEPTH_BUFFER_BIT : GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    const CameraSetup camera = shakeCannonCamera(cannonCamera(lt), lt, sceneFlashes.sceneFlash);
    const float(&eye)[3] = camera.eye;
    applyCameraSetup(camera, run);
    if (drawn) {
        drawSceneNode(lightsScene);
        if (onScreen) drawLandscape(lt, eye[0], eye[1], eye[2]);
        drawCannon(lt);
        if (onScreen)
            if (const std::optional<float> whiteOut = whiteOutAlpha(t)) drawAdditiveQuad(1, 1, 1, *whiteOut);
    }

    if (lt > formationArrivalMs) {
        if (drawn && onScreen) drawFormation(lt, eye);
        emitDueBursts(lt);
    }
    if (drawn) drawDustAndSparks(eye);
}
