// Dust and sparks through the Sprite material.
#include "effects/common/particle_drawing.h"

#include <GL/glew.h>

#include "effects/common/scene_resources.h"
#include "render/gl_state.h"
#include "render/shader_library.h"
#include "scene/particle_system.h"

namespace {

Material& spriteWithParticleTexture() {
    Material& sprite = builtInMaterial(Sprite);
    setTextureSlot(sprite.findTexture("texture"), particleTexture);
    return sprite;
}

}  // namespace

void drawDarkDust(float eyeZ) {
    Material& sprite = spriteWithParticleTexture();
    setUniformValue(sprite.findUniform("radius"), 2, 0, 0, 0);
    pushMatrix();
    translate(0, 50, eyeZ);
    setCullMode(CullMode::Off);
    glColor4f(0.35f, 0.3f, 0.3f, 1);
    setBlendMode(BlendMode::Darken);
    if (dustParticles != nullptr) dustParticles->draw();
    popMatrix();
}

void drawSparks(ParticleSystem* const* systems, int count, float radius) {
    Material& sprite = spriteWithParticleTexture();
    for (int i = 0; i < count; ++i) {
        enableCap(GL_DEPTH_TEST);
        setBlendMode(BlendMode::Additive);
        setUniformValue(sprite.findUniform("radius"), radius, 0, 0, 0);
        if (systems[i] != nullptr) systems[i]->draw();
    }
}
