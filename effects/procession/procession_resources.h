// What only the procession loads: the spark systems of its bursting balls.
#pragma once

struct ParticleSystem;

constexpr int sparkSystemCount = 10;

extern ParticleSystem* sparkSystems[sparkSystemCount];  // each drawn with Sprite

// Start-up, right after the sky's loading and before the ball: the ten spark systems.
void loadProcessionSparks();
