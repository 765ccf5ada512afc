// The scenes' resources: models, textures and particle systems loaded once at start-up and kept
// for the whole run (nothing is released). Several slots share them: the ball, the landscape, the
// flames, the lights, the dust and the sparks.
#pragma once

struct ParticleSystem;
struct SceneNode;

constexpr int sparkSystemCount = 10;

// Texture registry indices; -1 until loaded.
extern int cloudLayerTexture;  // the sky ascent's cloud layers
extern int particleTexture;    // dust and sparks
extern int flareTexture;       // loaded with the others; no scene draws with it

// Scene trees; null until loaded (or when the file could not be read).
extern SceneNode* normimapScene;   // the procession object
extern SceneNode* maastoScene;     // terrain tile: "mountain_peaks", "walls", "big_sand"
extern SceneNode* bgScene;         // sky dome: "mountains"
extern SceneNode* mountainsScene;  // mountain ring around the dome
extern SceneNode* flameScene;      // "flames"
extern SceneNode* flame2Scene;     // "flames"
extern SceneNode* lightsScene;     // drawing it switches the scene lights on and places them
extern SceneNode* ballScene;

extern ParticleSystem* dustParticles;                   // drawn with Sprite
extern ParticleSystem* sparkSystems[sparkSystemCount];  // each drawn with Sprite

// Start-up, after the shader library: the cloud texture, the six scene files and the lights, the
// particle and flare textures, then the dust and the ten spark systems.
void loadSkyAscentScene();

// Start-up, right after loadSkyAscentScene: the ball model.
void loadBallScene();
