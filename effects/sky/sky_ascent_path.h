// The sky ascent as numbers, without GL: the camera, the dome's stretch and shrink, where the
// balls are and which cloud layers show, all as functions of the music time t in ms.
#pragma once

#include <optional>

#include "effects/common/camera_setup.h"

constexpr float skyCutMs = 27800.0f;  // the camera is cut back to the origin; the balls start falling
constexpr int fallingBallCount = 10;
constexpr int cloudLayerTop = 100;  // layers sit at heights 1 to 100

// Eye, centre, up (1, 0, 0) and field of view of the frame at t.
CameraSetup skyAscentCamera(float t);

// The dome is scaled by stretch (in the last second only) and then by (shrink, 1, shrink).
struct SkyDomeScale {
    bool stretched;
    float stretch[3];
    float shrink;
};
SkyDomeScale skyDomeScale(float t);

// Arguments of one drawBall call.
struct BallPlacement {
    float position[3];
    float angleDegrees;
    float axis[3];
    float scale;
};

BallPlacement skyBallA(float t);  // drifts past before the cut, never turning
BallPlacement skyBallB(float t);  // follows after, turning about x

// Falling ball i (0 to 9) at t; none before the cut, while it is still at 190 or above, or for an
// index out of range.
std::optional<BallPlacement> fallingBall(float t, int i);

// The alpha of cloud layer n (1 to 100) seen from eyeHeight; none when the layer is too near or
// too far to show (or n is out of range).
std::optional<float> cloudLayerAlpha(int n, float eyeHeight);

// Each layer's own turn about y (degrees) and texture scroll.
float cloudLayerTurn(int n);
float cloudLayerScroll(float t, int n);
