// A fixed pool of 10000 particles drawn as camera-facing textured quads through a material:
// drifting dust that keeps respawning inside a box, and bursts of sparks that fade once.
#pragma once

#include <memory>

struct Material;

enum ParticleKind { boxDust = 0, risingSpark = 1, spark = 2 };

constexpr int particlePoolSize = 10000;

struct Particle {
    float position[3];
    float velocity[3];  // units per millisecond
    float life;         // milliseconds left in this lifetime
    int kind;
    int lifetimesLeft;  // live while above 0
    float a, b, c;      // box half extents (dust) or origin (sparks)
    float d, e, f;      // velocity (dust) or colour (sparks)
};

struct ParticleSystem {
    bool emitted = false;  // scenes test it to emit only once
    std::unique_ptr<Particle[]> particles;
    int quadList = 0;
    Material* material = nullptr;

    // Needs a GL context: builds the unit quad's display list.
    ParticleSystem();

    void setMaterial(Material* newMaterial);

    // Starts count particles of the kind in the lowest free slots (fewer when the pool runs out).
    void emit(int kind, int count, float a, float b, float c, float d, float e, float f);

    // Advances every live particle by step milliseconds; expired ones respawn while they have
    // lifetimes left.
    void update(float stepMs);

    // Draws every live particle with the material; lighting is left off.
    void draw();

    void respawn(int slot, int kind, float a, float b, float c, float d, float e, float f);
};
