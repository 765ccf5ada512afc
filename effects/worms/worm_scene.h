// Slot 3's scene, 101600 to 122600 ms: the camera glides along z over the landscape while seven
// giant segmented worms arch up out of the ground one after the other, each in a shower of sparks.
#pragma once

#include "effects/common/scene_run.h"

// The eye of the latest run, kept for the state's fingerprint and snapshots only: the drawing
// takes it from the run's camera.
extern float wormEye[3];

// One run of the scene into the render target (or the screen for screenTarget). The off-screen
// runs clear the colour to black; the screen keeps its colour and clears only the depth. Drawn or
// unseen, it writes the eye and the field of view, bursts the worms that break out and adds their
// flashes.
void drawWormScene(int target, SceneRun run);

// One worm whose head is at phase h of its arch: an arch in the worm's own y-z plane from its base
// point (x, -5, z) to reach units further along its -z, height units high, turned by heading
// degrees about y. The body is fifteen rings of nine pieces trailing the head, fluttering with lt.
void drawWorm(float h, float lt, float x, float z, float height, float reach, float heading);
