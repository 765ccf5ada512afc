// Sky dome, mountain ring and the endless terrain.
#include "effects/landscape.h"

#include <GL/glew.h>

#include "base/envelopes.h"
#include "effects/scene_flash.h"
#include "effects/scene_resources.h"
#include "render/gl_state.h"
#include "render/material.h"
#include "scene/scene_draw.h"

namespace {

constexpr int terrainTileLength = 123;

}  // namespace

int terrainTileIndex(float z) { return static_cast<int>(z / static_cast<float>(terrainTileLength)); }

void drawLandscape(float phase, float x, float y, float z) {
    glDepthMask(GL_FALSE);
    setUniformValue(findSceneUniform(bgScene, "mountains", "params"),
                    0.2f * beatFlash() + 0.2f * sceneFlashes.sceneFlash, 0.1111111f * phase, 0, 0);
    placeSceneRoot(bgScene, x, y, z);
    drawSceneNode(bgScene);
    placeSceneRoot(mountainsScene, x, y, z);
    setBlendMode(BlendMode::Alpha);
    drawSceneNode(mountainsScene);
    setBlendMode(BlendMode::Off);

    glDepthMask(GL_TRUE);
    enableCap(GL_DEPTH_TEST);
    setBlendMode(BlendMode::Off);
    setCullMode(CullMode::Back);
    const float c = 0.00055f * phase;
    for (const char* name : {"mountain_peaks", "walls", "big_sand"})
        setUniformValue(findSceneUniform(maastoScene, name, "cloudParams"), c, c, 1, 0.6f);
    const int k = terrainTileIndex(z);
    for (int i = -3; i <= 3; ++i) {
        pushMatrix();
        translate(0, 20, static_cast<float>(terrainTileLength * (k + i)));
        drawSceneNode(maastoScene);
        popMatrix();
    }
}
