// Drawing the shared particle systems with the Sprite material: the dark dust that drifts through
// every landscape scene, and the additive sparks of the bursts.
#pragma once

struct ParticleSystem;

// The dust box centred (0, 50, eyeZ) from the origin, darkening what lies behind it.
void drawDarkDust(float eyeZ);

// Each system in turn, added onto the picture with the depth test on, as sprites of the radius.
void drawSparks(ParticleSystem* const* systems, int count, float radius);
