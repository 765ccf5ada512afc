// The worm scene as numbers, without GL: the seven worms' timetable and phases, where a point of
// a worm's arch lies, the camera with its shake, swing, roll and widening, the worms' flashes and
// the weight of the slot's flash glow. t is the music time in ms, lt the time since the slot began.
#pragma once

#include <array>
#include <cstdint>

#include "base/show_slots.h"
#include "effects/common/camera_setup.h"

constexpr std::int32_t wormSlotStartMs = roomSlot("worms").fromMs;
constexpr std::int32_t wormSlotEndMs = roomSlot("worms").toMs;

// lt of a music time, as a float.
float wormLocalTime(std::int32_t t);

struct WormPoint {
    float x, y, z;
};

// The point the camera follows at local time s: (0, 10, 0.03 s).
WormPoint wormAnchor(float s);

// Eye, centre, up and field of view of a run at music time t, shaken by sceneFlash.
CameraSetup wormSceneCamera(std::int32_t t, float sceneFlash);

struct WormSpec {
    float startLt;       // rises once lt has passed it
    bool fromSlotStart;  // shown from the slot's first frame on (the first worm)
    float amplitude;     // phase h = amplitude sin(frequency (lt - startLt)) - 0.1
    float frequency;
    float x, z;          // base point (x, -5, z)
    float height, reach;
    float heading;       // degrees about y
    int sparkSystem;     // index into wormSparkSystems
    int flashStartMs, flashEndMs;
    bool guardedBySparkSystem;  // its burst is guarded by the system's emitted flag, not a flag of its own
};

constexpr int wormCount = 7;

// In drawing order. The first worm's burst and flash belong to the slot's pass chain.
extern const std::array<WormSpec, wormCount> wormTable;

// Whether the worm is drawn (and, after the first, bursts and flashes) at lt.
bool wormShown(const WormSpec& worm, float lt);

// The worm's phase h at lt: 0 at the base, 0.5 at the top of the arch, 1 at its far end.
float wormPhase(const WormSpec& worm, float lt);

// A point of the arch in the worm's own frame (before its base point and heading): s = h for the
// head, h - i/17 for segment i. The ring's axis is tilted by tiltDegrees about (-1, 0, 0).
struct ArchPoint {
    float y, z;
    float tiltDegrees;
};
ArchPoint wormArchPoint(float s, float height, float reach);

// Phase of body segment i (0 to 14) of a worm whose head is at phase h.
constexpr int wormSegmentCount = 15;
constexpr int wormPiecesPerSegment = 9;
float wormSegmentPhase(float h, int segment);

// Adds one run's flashes of the worms after the first that have risen by lt, each over its own
// window (music time from the clock, threshold 0.01).
void addRisenWormFlashes(float lt);

// The weight of the slot's additive flash quad: 0.3 of the previous frame's flash, at most 1.
float wormSlotFlashAlpha(float sceneFlash);

// Whether the slot's closing white-out is drawn at t (strictly inside its last two seconds).
bool wormSlotWhiteOutShown(std::int32_t t);
