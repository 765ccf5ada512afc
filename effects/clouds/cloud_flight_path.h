// The cloud flight as numbers, without GL: the camera with its cuts and shake, which cloud and
// haze sheets show and how strongly, and the glows and the fade to black laid over the scene.
// Scene times t are ms since the scene's start; "now" is the music time itself.
#pragma once

#include <optional>

#include "base/show_slots.h"
#include "effects/common/camera_setup.h"

constexpr SlotInterval cloudFlightSlot = roomSlot("clouds");
constexpr int cloudFlightStartMs = cloudFlightSlot.fromMs;
constexpr int cloudSheetCount = 200;
constexpr int hazeSheetFarthest = 150;  // haze sheets stand at z = 150 down to 50
constexpr int hazeSheetNearest = 50;
constexpr int hazeWideningStartMs = cloudFlightStartMs + 17500;  // the haze band starts to widen and thicken
constexpr int finalFadeStartMs = cloudFlightSlot.toMs - 3000;  // to black at the slot's end

// The scene time of a music time.
float cloudFlightTime(int now);

// The eye's offset from the base point (0, 0, 0.005 t), before the shake; each later time band
// is a hard cut.
struct EyeOffset {
    float x, y, z;
};
EyeOffset cloudFlightEyeOffset(float t);

// Eye, centre, up (0, 1, 0) and a field of view of 30 at t, shaken by the flash handed over
// (at most 1).
CameraSetup cloudFlightCamera(float t, float sceneFlash);

// The flames' flicker at t.
float cloudFlightFlicker(float t);

// Music-independent start of cloud sheet i (ms of scene time); it moves back with t until 4000.
float cloudSheetStart(int i, float t);

// Arguments of one drawCloudQuad call.
struct CloudSheet {
    float alpha;
    float x, y, z;
    float halfSize;  // negative turns the sheet half a turn
};

// Sheet i at t with the beat flash of the frame; none before its start or for an index out of range.
std::optional<CloudSheet> cloudSheet(int i, float t, float beatFlash);

// One haze sheet: the darkening weight, the square's half size, its turn about z (degrees) and
// its texture scroll.
struct HazeSheet {
    float alpha;
    float size;
    float turnDegrees;
    float scroll;
};

// Haze sheet i (50 to 150) for an eye at eyeZ at music time now; none while it is too near or
// too far to show, or for an index out of range.
std::optional<HazeSheet> hazeSheet(int i, float eyeZ, int now);

// The three white glows before the fade, and the one after it, in drawing order.
struct GlowWindow {
    int startMs, endMs;
};
inline constexpr GlowWindow cloudFlightGlowsBeforeFade[3] = {{182600, 183600}, {186200, 187200}, {189700, 190700}};
inline constexpr GlowWindow cloudFlightGlowAfterFade = {193000, 194000};

// The weight of white added by the glows at now (they never overlap).
float cloudFlightGlowWeight(int now);

// The weight of black laid over the picture at the end; none until finalFadeStartMs.
std::optional<float> finalFadeWeight(int now);
