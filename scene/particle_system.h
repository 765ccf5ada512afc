// A fixed pool of 10000 particles drawn as camera-facing textured quads through a material:
// drifting dust that keeps respawning inside a box, and bursts of sparks that fade once.
//
// Every particle of every slot draws its start from the one random sequence (scene/random.h),
// in the order the show emits them. So a change to how many particles one slot starts, or when,
// moves the sequence for everything emitted after it: the particles of every later slot change
// too, and with them the golden frames of those slots (scripts/update-golden.sh lists them).
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
    float a, b, c;      // box half extents around the origin (dust) or the start point (sparks)
    float d, e, f;      // velocity in units per ms (dust) or colour (sparks)
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
    // boxDust: a, b, c the box's half extents, d, e, f the drift velocity; risingSpark and spark:
    // a, b, c the start point, d, e, f the colour. Sets emitted.
    void emit(int kind, int count, float a, float b, float c, float d, float e, float f);

    // Advances every live particle by step milliseconds; expired ones respawn while they have
    // lifetimes left.
    void update(float stepMs);

    // Draws every live particle with the material; lighting is left off. Sparks are coloured by
    // t = life / 1000, which starts at up to 3 (a spark lives 1.5 to 3 s): colour d, e, f times t
    // plus grey 0.2 times 1 - t, alpha t / 2. Young sparks are brighter than their colour and
    // opaque; in their last second they fade to grey 0.2 and alpha 0.
    void draw();

    void respawn(int slot, int kind, float a, float b, float c, float d, float e, float f);
};
