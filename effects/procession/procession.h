// The slot-2 scene, 45500 to 101600 ms: the procession of flame carriers over the endless terrain.
#pragma once

#include "effects/common/scene_run.h"

// What one run of the scene leaves for the rest of the run and for later frames.
struct ProcessionState {
    float eye[3] = {0, 0, 0};        // the latest run's, for the state's fingerprint only
    float slowMotionOverrun = 0.0f;  // ms of act C past its slow motion; 0 until then
    bool firstBurstDone = false;     // ball C1 has burst
    bool secondBurstDone = false;    // ball C2 has burst (C3's guard is its spark system's own flag)
};

extern ProcessionState processionState;

// One run of the scene into the render target (or the screen for screenTarget). Whether drawn or
// unseen, it writes the overrun, the eye and the field of view, adds the act-B landing flashes and
// the act-C flashes, and bursts the act-C balls.
void drawProcessionScene(int target, SceneRun run);

// One falling ball of act B at local time lt, resting at (x, y + 1, z) from hitTime (ms of act B)
// on (drawn in a drawn run only), and its landing flash.
void dropBall(float x, float y, float z, float hitTime, float lt, SceneRun run);
