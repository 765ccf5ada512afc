// Sky dome, mountain ring and the endless terrain.
#include "effects/common/landscape.h"

#include <GL/glew.h>

#include "base/envelopes.h"
#include "effects/common/scene_flash.h"
#include "effects/common/scene_resources.h"
#include "render/gl_state.h"
#include "render/material.h"
#include "scene/scene_draw.h"

namespace {

constexpr int terrainTileLength = 123;

// The tile's box, measured once per tile scene.
const SceneBounds& tileBounds() {
    static const SceneNode* measured = nullptr;
    static SceneBounds box;
    if (measured != maastoScene) {
        box = sceneBounds(maastoScene);
        measured = maastoScene;
    }
    return box;
}

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
    // Tiles wholly outside the view are skipped: they would be transformed and clipped away
    // to nothing. When none is in view the last one is still drawn, so the GL state the tiles
    // leave behind is the same in every frame.
    const int k = terrainTileIndex(z);
    bool inView[7];
    bool anyInView = false;
    for (int i = -3; i <= 3; ++i) {
        pushMatrix();
        translate(0, 20, static_cast<float>(terrainTileLength * (k + i)));
        inView[i + 3] = !boxOutsideView(tileBounds());
        anyInView = anyInView || inView[i + 3];
        popMatrix();
    }
    for (int i = -3; i <= 3; ++i) {
        if (!inView[i + 3] && (anyInView || i != 3)) continue;
        pushMatrix();
        translate(0, 20, static_cast<float>(terrainTileLength * (k + i)));
        drawSceneNode(maastoScene);
        popMatrix();
    }
}
