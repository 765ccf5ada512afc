// A fixed pool of 10000 particles drawn as camera-facing textured quads through a material:
// drifting dust that keeps respawning inside a box, and bursts of sparks that fade once. How long
// a system's particles live, how they slow down and how sparks fade is its tuning, set by the room
// that makes the system; this layer keeps no slot's numbers.
//
// Every particle of every slot draws its start from the one random sequence (scene/random.h),
// in the order the show emits and respawns them. So a change to how many particles one slot
// starts, or when, or to how long they live (a respawn draws too), moves the sequence for
// everything emitted after it: the particles of every later slot change too, and with them the
// golden frames of those slots (scripts/update-golden.sh lists them).
#pragma once

#include <memory>

struct Material;

enum ParticleKind { boxDust = 0, risingSpark = 1, spark = 2 };

constexpr int particlePoolSize = 10000;

// How the particles of one system live, move and fade: a plain record the room that makes the
// system fills in (effects/<room>/, the dust effects/common/). It is not part of the show's state:
// it never changes after the system is made.
struct ParticleTuning {
    // Each lifetime lasts shortestLifeMs + nextRandom() % lifeSpreadMs milliseconds, so from
    // shortestLifeMs to shortestLifeMs + lifeSpreadMs - 1; lifeSpreadMs above 0. It is the last
    // of a start's draws from the random sequence.
    int shortestLifeMs;
    int lifeSpreadMs;
    // The slow-down: above 0, a step moves a particle by its velocity times the step times
    // life / slowDownMs (its full velocity with slowDownMs left, slower as its life runs out);
    // 0, by its velocity times the step throughout.
    float slowDownMs;
    // The fade of sparks (dust ignores it: it is drawn in the colour set before the draw). A spark
    // is drawn with t = life / fadeMs (fadeMs above 0): colour d, e, f times t plus grey fadeGrey
    // times 1 - t, alpha fadeAlpha times t. So t starts at up to the longest lifetime / fadeMs:
    // above 1 a young spark is brighter than its colour and more than opaque, and a longer
    // lifetime with the same fadeMs makes young sparks brighter for longer; in the last fadeMs of
    // its life it fades to grey fadeGrey and alpha 0.
    float fadeMs;
    float fadeGrey;
    float fadeAlpha;
};

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
    ParticleTuning tuning;

    // Needs a GL context: builds the unit quad's display list.
    explicit ParticleSystem(const ParticleTuning& tuning);

    void setMaterial(Material* newMaterial);

    // Starts count particles of the kind in the lowest free slots (fewer when the pool runs out).
    // boxDust: a, b, c the box's half extents, d, e, f the drift velocity, 999 lifetimes;
    // risingSpark and spark: a, b, c the start point, d, e, f the colour, one lifetime. Each start
    // draws from the random sequence (respawn). Sets emitted.
    void emit(int kind, int count, float a, float b, float c, float d, float e, float f);

    // Advances every live particle by step milliseconds (slowed down as the tuning says). One
    // whose life runs out loses a lifetime and is respawned, drawing a new start and lifetime from
    // the random sequence; so is one that has just lost its last lifetime: its slot is free from
    // then on (it neither moves nor shows), but that last respawn draws from the sequence all the
    // same, and every particle the show starts later counts on those draws.
    void update(float stepMs);

    // Draws every live particle with the material; lighting is left off. Sparks are coloured by
    // their life as the tuning's fade says (see ParticleTuning); dust keeps the current colour.
    void draw();

    // A new start in the slot: position, velocity and a lifetime from the random sequence (dust 4
    // draws, sparks 7), with a to f kept for the next respawn. Nothing for a slot outside the pool.
    void respawn(int slot, int kind, float a, float b, float c, float d, float e, float f);
};
