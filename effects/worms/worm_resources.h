// What only the worm scene loads: the body piece, the head and the worms' spark systems.
#pragma once

struct ParticleSystem;
struct ParticleTuning;
struct SceneNode;

// Ten are made and advanced every frame of the slot although wormTable's seven worms use only the
// first seven: the state fingerprint covers all ten, so three fewer would change every fingerprint
// that has been compared and written down.
constexpr int wormSparkSystemCount = 10;

extern SceneNode* wormScene;      // one body piece of a worm
extern SceneNode* wormheadScene;  // a worm's head
extern ParticleSystem* wormSparkSystems[wormSparkSystemCount];

// The worms' sparks: how long they live, slow down and fade (worm_resources.cpp).
extern const ParticleTuning wormSparkTuning;

// Start-up, after the ball: the worm's body piece and head, then the worms' spark systems.
void loadWormScene();
