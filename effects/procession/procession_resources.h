// What only the procession loads: the spark systems of its bursting balls.
#pragma once

struct ParticleSystem;
struct ParticleTuning;

constexpr int sparkSystemCount = 10;

extern ParticleSystem* sparkSystems[sparkSystemCount];  // each drawn with Sprite

// The bursting balls' sparks: how long they live, slow down and fade (procession_resources.cpp).
extern const ParticleTuning processionSparkTuning;

// Start-up, right after the sky's loading and before the ball: the ten spark systems.
void loadProcessionSparks();
