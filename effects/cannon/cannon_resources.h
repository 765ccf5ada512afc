// What only the cannon scene loads: the cannon, the shell, the noise sweep's texture and the
// formation's particle systems.
#pragma once

struct ParticleSystem;
struct ParticleTuning;
struct SceneNode;

constexpr int cannonParticleSystemCount = 40;

extern int noiseTexture;          // the noise sweep; -1 until loaded
extern SceneNode* tykkiScene;     // the cannon: "diffuse_cubemap"
extern SceneNode* ammusScene;     // a shell
extern ParticleSystem* cannonParticleSystems[cannonParticleSystemCount];  // one per formation member

// The members' burst sparks: how long they live, slow down and fade (cannon_resources.cpp).
extern const ParticleTuning cannonSparkTuning;

// Start-up, after the worms: the cannon, the shell (its root matrix the identity), the noise
// texture, then the forty particle systems of the formation.
void loadCannonScene();
