// Cloud layers.
#include "effects/sky/cloud_layers.h"

#include <GL/glew.h>

#include <optional>

#include "effects/sky/sky_ascent_path.h"
#include "render/gl_state.h"
#include "render/material.h"
#include "render/shader_library.h"
#include "render/shader_program.h"

namespace {

void drawLayerQuad(float u) {
    glBegin(GL_QUADS);
    glTexCoord2f(u, 0);
    glVertex3f(-15, 0, 15);
    glTexCoord2f(u + 1.0f, 0);
    glVertex3f(15, 0, 15);
    glTexCoord2f(u + 1.0f, 1);
    glVertex3f(15, 0, -15);
    glTexCoord2f(u, 1);
    glVertex3f(-15, 0, -15);
    glEnd();
}

}  // namespace

void drawCloudLayers(int textureIndex, float t, float eyeHeight) {
    Material& clouds = builtInMaterial(TexturedAlpha);
    setTextureSlot(clouds.findTexture("tex"), textureIndex);
    MaterialUniform* alphaSlot = clouds.findUniform("alpha");
    for (int n = cloudLayerTop; n >= 1; --n) {
        const std::optional<float> alpha = cloudLayerAlpha(n, eyeHeight);
        if (!alpha) continue;
        pushMatrix();
        translate(0, static_cast<float>(n), 0);
        rotate(cloudLayerTurn(n), 0, 1, 0);
        setUniformValue(alphaSlot, *alpha, 0, 0, 0);
        clouds.apply();
        // The layers are not released in between, so the apply of every layer after the first
        // sends nothing: hand this layer's alpha to the program ourselves.
        if (alphaSlot != nullptr && overrideMaterial == nullptr)
            setUniformVec4(clouds.program, alphaSlot->name, alphaSlot->value);
        drawLayerQuad(cloudLayerScroll(t, n));
        popMatrix();
    }
    releaseMaterial(&clouds);
}
