// The resources several slots share: models, textures and the dust, loaded once at start-up and
// kept for the whole run (nothing is released). What one slot alone uses is loaded by its room.
#pragma once

struct ParticleSystem;
struct ParticleTuning;
struct SceneNode;

// Texture registry indices; -1 until loaded.
extern int particleTexture;  // dust and sparks
extern int flareTexture;     // loaded with the others; no scene draws with it

// Scene trees; null until loaded (or when the file could not be read).
extern SceneNode* normimapScene;   // the procession object
extern SceneNode* maastoScene;     // terrain tile: "mountain_peaks", "walls", "big_sand"
extern SceneNode* bgScene;         // sky dome: "mountains"
extern SceneNode* mountainsScene;  // mountain ring around the dome
extern SceneNode* flameScene;      // "flames"
extern SceneNode* flame2Scene;     // "flames"
extern SceneNode* lightsScene;     // drawing it switches the scene lights on and places them
extern SceneNode* ballScene;

extern ParticleSystem* dustParticles;  // drawn with Sprite

// Part of the sky's start-up, after its cloud texture: the six scene files and the lights, the
// particle and flare textures, then the dust.
void loadSharedScenes();

// Start-up, right after the sky's loading: the ball model.
void loadBallScene();

// A model whose meshes the scenes place themselves: its meshes sit at the root's origin.
SceneNode* loadPlacedModel(const char* path);

// A new particle system drawn with the Sprite material, tuned as the room that makes it says.
ParticleSystem* newSpriteParticles(const ParticleTuning& tuning);
