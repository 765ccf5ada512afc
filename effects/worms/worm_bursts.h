// The worms' spark bursts: when a worm breaks out of the ground, 800 orange sparks rise from five
// units above its base point, once in the whole run.
#pragma once

#include "effects/worms/worm_path.h"

struct ParticleSystem;

constexpr int wormBurstSparkCount = 800;

// One flag per worm whose burst is not guarded by its spark system's emitted flag. The first
// worm's is the slot's worm spark start, set by the pass chain on the slot's first frame.
struct WormBurstFlags {
    bool done[wormCount] = {};
};

extern WormBurstFlags wormBurstFlags;

// The worm's entry of wormSparkSystems; null when its index is out of range or nothing is loaded.
ParticleSystem* wormSparks(const WormSpec& worm);

// Emits worm i's burst (i from 0, in wormTable's order) unless its guard shows it has happened.
void burstWormOnce(int worm);
