// Ball and flames.
#include "effects/common/ball_and_flames.h"

#include <GL/glew.h>

#include "effects/common/scene_resources.h"
#include "render/gl_state.h"
#include "render/material.h"
#include "scene/matrix.h"
#include "scene/scene_draw.h"

void drawBall(float x, float y, float z, float angleDegrees, float axisX, float axisY, float axisZ, float scale) {
    pushMatrix();
    translate(x, y, z);
    rotate(angleDegrees, axisX, axisY, axisZ);
    ::scale(scale, scale, scale);
    drawSceneNode(ballScene);
    popMatrix();
}

void drawFlames(float flicker) {
    glDepthMask(GL_FALSE);
    disableCap(GL_DEPTH_TEST);
    setBlendMode(BlendMode::Alpha);
    setCullMode(CullMode::Off);
    pushMatrix();
    translate(0, 0.8f, -2.5f);
    setBlendMode(BlendMode::Additive);
    setUniformValue(findSceneUniform(flameScene, "flames", "params"), 0.5f * flicker, 0, 0, 0);
    setUniformValue(findSceneUniform(flameScene, "flames", "uvShift"), 0, flicker, 0, 0);
    drawSceneNode(flameScene);

    setBlendMode(BlendMode::Additive);
    setCullMode(CullMode::Off);
    setUniformValue(findSceneUniform(flame2Scene, "flames", "params"), 0.5f * (0.9f + 0.1f * sine(10.0f * flicker)),
                    0, 0, 0);
    setUniformValue(findSceneUniform(flame2Scene, "flames", "uvShift"), 0, -flicker, 0, 0);
    drawSceneNode(flame2Scene);
    popMatrix();
    setBlendMode(BlendMode::Off);
    glDepthMask(GL_TRUE);
    setCullMode(CullMode::Back);
    enableCap(GL_DEPTH_TEST);
}
