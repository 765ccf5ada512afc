// The flame procession's motion as plain arithmetic of the clock, callable without GL: the acts'
// local time, where each member of the procession is, the camera of each act, the balls of acts
// B and C, which members are near enough to draw, and when the chain composites the focus blur.
#pragma once

#include <cstdint>

#include "base/show_slots.h"
#include "effects/common/camera_setup.h"

// Act boundaries in music time (ms): the slot starts with act A.
constexpr std::int32_t processionActAStartMs = roomSlot("procession").fromMs;
constexpr std::int32_t processionActBStartMs = 72100;
constexpr std::int32_t processionActCStartMs = 86700;
constexpr std::int32_t processionSlotEndMs = roomSlot("procession").toMs;

constexpr int processionMemberCount = 100;
constexpr int processionDropBallCount = 11;

struct ProcessionVec3 {
    float x, y, z;
};

// The act's local time in ms. Act C starts at a fifth of the speed and runs in real time after
// its first 3400 ms; from then on overrunSet is true and overrun holds the ms past that point.
struct ProcessionLocalTime {
    float lt;
    bool overrunSet;
    float overrun;
};
ProcessionLocalTime processionLocalTime(std::int32_t t);

// Where member i (0 is the camera's anchor) is at local time s, music time t.
ProcessionVec3 processionPoint(int i, float s, std::int32_t t);

// The camera of the act t falls in, circling the anchor at local time lt; sceneFlash shakes it
// in act B.
CameraSetup processionCamera(std::int32_t t, float lt, float sceneFlash);

// Where a ball of act B lands (its rest point, 1 below its centre) and when, in ms of act B.
struct DropBallRest {
    float x, y, z;
    float hitTime;
};
// Ball 0 to 10 in drawing order; the last four come from a formula. Index out of range: ball 0.
DropBallRest processionDropBall(int index);

// A falling ball of act B at local time lt: its centre, its turn and the landing flash's
// interval of music time.
struct DropBallPose {
    float position[3];
    float angleDegrees;
    float axis[3];
    std::int32_t flashStartMs, flashEndMs;
};
DropBallPose dropBallPose(float x, float y, float z, float hitTime, float lt);

// Heights of the three balls of act C; C1 runs three times faster once the slow motion ends.
float actCBall1Height(float lt, float slowMotionOverrun);
float actCBall2Height(float lt);
float actCBall3Height(float lt);
constexpr float actCBurstHeight = 8.0f;     // a ball bursts when it comes below this
constexpr std::int32_t actCBall3StartMs = 93700;  // ball C3 appears from here on

// A member is drawn while its whole-unit distance from the eye along z is below 120.
bool processionMemberNear(float eyeZ, float memberZ);

// Whether the chain lays the focus blur over the sharp picture at music time t.
bool slot2CompositeDrawn(std::int32_t t);
