// The sky ascent.
#include "effects/sky/sky_ascent.h"

#include <GL/glew.h>

#include <optional>

#include "base/demo_clock.h"
#include "base/envelopes.h"
#include "effects/common/ball_and_flames.h"
#include "effects/common/dust_start.h"
#include "effects/common/particle_drawing.h"
#include "effects/common/post_process.h"
#include "effects/common/scene_resources.h"
#include "effects/sky/cloud_layers.h"
#include "effects/sky/sky_ascent_path.h"
#include "effects/sky/sky_resources.h"
#include "render/gl_state.h"
#include "render/material.h"
#include "render/render_target.h"
#include "render/shader_library.h"
#include "scene/particle_system.h"
#include "scene/scene_draw.h"

float skyEye[3] = {};
bool skyDustSeeded = false;

namespace {

void drawBallAt(const BallPlacement& ball) {
    drawBall(ball.position[0], ball.position[1], ball.position[2], ball.angleDegrees, ball.axis[0], ball.axis[1],
             ball.axis[2], ball.scale);
}

void drawSky(float t, const float eye[3]) {
    glDepthMask(GL_FALSE);
    placeSceneRoot(bgScene, eye[0], eye[1], eye[2]);
    pushMatrix();
    const SkyDomeScale dome = skyDomeScale(t);
    if (dome.stretched) scale(dome.stretch[0], dome.stretch[1], dome.stretch[2]);
    scale(dome.shrink, 1, dome.shrink);
    setUniformValue(findSceneUniform(bgScene, "mountains", "params"), 0.4f * beatFlash(),
                    0.2f * static_cast<float>(beatIndex()), 0, 0);
    drawSceneNode(bgScene);
    popMatrix();
    glDepthMask(GL_TRUE);
}

}  // namespace

void drawSkyAscentScene(const FrameRecord& record) {
    const SceneRun run = record.run;
    const bool drawn = run == SceneRun::Drawn;
    // The projection takes the field of view written by the previous frame.
    if (drawn) bindRenderTarget(screenTarget);
    if (dustParticles != nullptr) dustParticles->update(record.stepMs);
    if (drawn) {
        setClearColor(0, 0, 0);
        clearBuffers(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    const float t = static_cast<float>(record.timeMs);
    startDustOnce(dustParticles, skyDustSeeded);  // once in the whole run

    const CameraSetup camera = skyAscentCamera(t);
    for (int i = 0; i < 3; ++i) skyEye[i] = camera.eye[i];
    applyCameraSetup(camera, run);
    if (!drawn) return;
    drawSceneNode(lightsScene);
    drawSky(t, camera.eye);

    // The previous frame ended with the bars' material state and black colour.
    setBlendMode(BlendMode::Off);
    enableCap(GL_DEPTH_TEST);
    glColor4f(1, 1, 1, 1);
    drawSkyAscentProps(camera.eye);

    setCullMode(CullMode::Back);
    setBlendMode(BlendMode::Off);
    blackFlash(0, 9000);
    glowFrom(14000, 15000, 1, 1, 1);
    glowFrom(20500, 21500, 1, 1, 1);
    glowFrom(27800, 28800, 1, 1, 1);
}

void drawSkyAscentProps(const float eye[3]) {
    const float t = static_cast<float>(demoTimeMs());
    setCullMode(CullMode::Back);
    enableCap(GL_DEPTH_TEST);
    drawBallAt(skyBallA(t));
    drawBallAt(skyBallB(t));
    for (int i = 0; i < fallingBallCount; ++i)
        if (const std::optional<BallPlacement> ball = fallingBall(t, i)) drawBallAt(*ball);

    enableCap(GL_DEPTH_TEST);
    setCullMode(CullMode::Off);
    setBlendMode(BlendMode::Additive);
    drawCloudLayers(cloudLayerTexture, t, eye[1]);

    drawDarkDust(eye[2]);
}
