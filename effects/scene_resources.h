// The scenes' resources: models, textures and particle systems loaded once at start-up and kept
// for the whole run (nothing is released). Several slots share them: the ball, the landscape, the
// flames, the lights, the dust and the sparks.
#pragma once

struct ParticleSystem;
struct SceneNode;

constexpr int sparkSystemCount = 10;
constexpr int wormSparkSystemCount = 10;
constexpr int cannonParticleSystemCount = 40;

// Texture registry indices; -1 until loaded.
extern int cloudLayerTexture;  // the sky ascent's cloud layers
extern int particleTexture;    // dust and sparks
extern int flareTexture;       // loaded with the others; no scene draws with it
extern int noiseTexture;       // the cannon slot's noise sweep
extern int cloudTexture;       // the cloud flight's sheets

// Scene trees; null until loaded (or when the file could not be read).
extern SceneNode* normimapScene;   // the procession object
extern SceneNode* maastoScene;     // terrain tile: "mountain_peaks", "walls", "big_sand"
extern SceneNode* bgScene;         // sky dome: "mountains"
extern SceneNode* mountainsScene;  // mountain ring around the dome
extern SceneNode* flameScene;      // "flames"
extern SceneNode* flame2Scene;     // "flames"
extern SceneNode* lightsScene;     // drawing it switches the scene lights on and places them
extern SceneNode* ballScene;
extern SceneNode* wormScene;      // one body piece of a worm
extern SceneNode* wormheadScene;  // a worm's head
extern SceneNode* tykkiScene;     // the cannon: "diffuse_cubemap"
extern SceneNode* ammusScene;     // a shell

extern ParticleSystem* dustParticles;                   // drawn with Sprite
extern ParticleSystem* sparkSystems[sparkSystemCount];  // each drawn with Sprite
extern ParticleSystem* wormSparkSystems[wormSparkSystemCount];
extern ParticleSystem* cannonParticleSystems[cannonParticleSystemCount];  // one per formation member

// Start-up, after the shader library: the cloud texture, the six scene files and the lights, the
// particle and flare textures, then the dust and the ten spark systems.
void loadSkyAscentScene();

// Start-up, right after loadSkyAscentScene: the ball model.
void loadBallScene();

// Start-up, after the ball: the worm's body piece and head, then the worms' ten spark systems.
void loadWormScene();

// Start-up, after the worms: the cannon, the shell (its root matrix the identity), the noise
// texture, then the forty particle systems of the formation.
void loadCannonScene();

// Start-up, after the cannon: the cloud sheets' texture.
void loadCloudScene();
