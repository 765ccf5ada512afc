// Particle emission, motion and drawing.
#include "scene/particle_system.h"

#include <GL/glew.h>

#include "render/material.h"
#include "scene/matrix.h"
#include "scene/random.h"

namespace {

// A random value from -1 to 1 in steps of 1/5000.
float boxOffset() { return static_cast<float>(nextRandom() % 10000) / 5000.0f - 1.0f; }

// A random value from -1 to 1 in steps of 1/500.
float sparkDirection() { return static_cast<float>(nextRandom() % 1000 - 500) / 500.0f; }

bool isSpark(int kind) { return kind == risingSpark || kind == spark; }

}  // namespace

ParticleSystem::ParticleSystem(const ParticleTuning& tuning)
    : particles(std::make_unique<Particle[]>(particlePoolSize)), tuning(tuning) {
    quadList = static_cast<int>(glGenLists(1));
    glNewList(static_cast<GLuint>(quadList), GL_COMPILE);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3f(-1, 1, 0);
    glTexCoord2f(1, 0);
    glVertex3f(1, 1, 0);
    glTexCoord2f(1, 1);
    glVertex3f(1, -1, 0);
    glTexCoord2f(0, 1);
    glVertex3f(-1, -1, 0);
    glEnd();
    glEndList();
}

void ParticleSystem::setMaterial(Material* newMaterial) { material = newMaterial; }

void ParticleSystem::emit(int kind, int count, float a, float b, float c, float d, float e, float f) {
    emitted = true;
    for (int slot = 0; slot < particlePoolSize && count > 0; ++slot) {
        Particle& p = particles[slot];
        if (p.lifetimesLeft > 0) continue;
        --count;
        p.a = a, p.b = b, p.c = c, p.d = d, p.e = e, p.f = f;
        if (kind == boxDust) p.lifetimesLeft = 999;
        else if (isSpark(kind)) p.lifetimesLeft = 1;
        respawn(slot, kind, a, b, c, d, e, f);
    }
}

void ParticleSystem::respawn(int slot, int kind, float a, float b, float c, float d, float e, float f) {
    if (slot < 0 || slot >= particlePoolSize) return;
    Particle& p = particles[slot];
    p.kind = kind;
    p.a = a, p.b = b, p.c = c, p.d = d, p.e = e, p.f = f;
    if (kind == boxDust) {
        p.position[0] = a * boxOffset();
        p.position[1] = b * boxOffset();
        p.position[2] = c * boxOffset();
        p.velocity[0] = d, p.velocity[1] = e, p.velocity[2] = f;
        p.life = static_cast<float>(nextRandom() % tuning.lifeSpreadMs + tuning.shortestLifeMs);
    } else if (isSpark(kind)) {
        p.position[0] = a, p.position[1] = b, p.position[2] = c;
        // Rising sparks lean upwards; plain sparks spread over the whole sphere.
        const float lift = kind == risingSpark ? 1.0f : 0.0f;
        float* v = p.velocity;
        v[0] = sparkDirection() / 30.0f;
        v[1] = (sparkDirection() + lift) / 30.0f;
        v[2] = sparkDirection() / 30.0f;
        const float length = squareRoot(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        for (int i = 0; i < 3; ++i) {
            if (length > 0.0f) v[i] /= length;
            v[i] *= static_cast<float>(nextRandom() % 1000) / 10000.0f;
        }
        p.life = static_cast<float>(nextRandom() % tuning.lifeSpreadMs + tuning.shortestLifeMs);
    }
}

void ParticleSystem::update(float stepMs) {
    const bool slowing = tuning.slowDownMs > 0.0f;
    for (int slot = 0; slot < particlePoolSize; ++slot) {
        Particle& p = particles[slot];
        if (p.lifetimesLeft <= 0) continue;
        for (int i = 0; i < 3; ++i) {
            float move = p.velocity[i] * stepMs;
            if (slowing) move *= p.life / tuning.slowDownMs;
            p.position[i] += move;
        }
        p.life -= stepMs;
        if (p.life <= 0.0f) {
            // Also after the last lifetime: the slot is free then, but its respawn still draws.
            --p.lifetimesLeft;
            respawn(slot, p.kind, p.a, p.b, p.c, p.d, p.e, p.f);
        }
    }
}

void ParticleSystem::draw() {
    glDisable(GL_LIGHTING);
    if (material == nullptr) return;
    material->apply();
    for (int slot = 0; slot < particlePoolSize; ++slot) {
        const Particle& p = particles[slot];
        if (p.lifetimesLeft <= 0) continue;
        if (isSpark(p.kind)) {
            // Brighter than its colour while t is above 1; towards the grey and alpha 0 in its last fadeMs.
            const float t = p.life / tuning.fadeMs;
            const float grey = tuning.fadeGrey;
            glColor4f(p.d * t + (1.0f - t) * grey, p.e * t + (1.0f - t) * grey, p.f * t + (1.0f - t) * grey,
                      t * tuning.fadeAlpha);
        }
        glPushMatrix();
        glTranslatef(p.position[0], p.position[1], p.position[2]);
        glCallList(static_cast<GLuint>(quadList));
        glPopMatrix();
    }
    releaseMaterial(material);
}
