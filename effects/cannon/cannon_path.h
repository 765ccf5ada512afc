// The cannon slot as numbers, without GL: where the formation's members are, how far the shells
// have flown, when members burst, the eight camera set-ups and the shake, the cannon's "params",
// and the weights of the slot's glow, noise sweep and white-out. lt is the slot's own time in ms.
#pragma once

#include <cstdint>

#include "base/show_slots.h"
#include <optional>

#include "effects/common/camera_setup.h"

constexpr std::int32_t cannonSlotStartMs = roomSlot("cannon").fromMs;
constexpr std::int32_t cannonSlotEndMs = roomSlot("cannon").toMs;
constexpr std::int32_t cannonFadeOutStartMs = 176000;  // glow fades and the white-out rises after it

constexpr int formationSize = 40;
constexpr int formationColumns = 7;
constexpr float formationArrivalMs = 7600.0f;  // the formation is drawn once lt is past it
constexpr float formationViewDepth = 180.0f;   // members this far from the eye in z are not drawn

constexpr int shellCount = 20;
constexpr float shellFireMs = 14600.0f;

struct CannonPoint {
    float x, y, z;
};

// Where member i (0 to 39) is at slot time s: a wedge, seven abreast, advancing along +z on the
// cannon at the origin; members 4, 2 and 15 are drawn in before they burst, 26 settles near the
// cannon and the rest rise away at the end.
CannonPoint formationPosition(int i, float s);

// The small bob added to member i's position.
CannonPoint formationBob(int i, float lt);

// Member i's distance test: drawn only while strictly nearer than formationViewDepth in z.
bool formationMemberInView(float memberZ, float eyeZ);

// Shell i's (0 to 19) aim in radians: pitches near pi/2 point it along -z, the yaws fan it out.
struct ShellAim {
    float pitch, yaw;
};
ShellAim shellAim(int i);

// A shell's own speed factor, 0.4 to 1.6, from its aim.
float shellSpeedFactor(float pitch, float yaw);

// How far a shell with speed factor 1 has flown: 8 units a second from fireTime, 60 more
// after 17600.
float shellTravel(float now, float fireTime);

// The turns and the distance along its own y axis that place a fired shell; none before fireTime.
struct ShellPlacement {
    float yawDegrees;    // about (0, 1, 0), applied first
    float pitchDegrees;  // about (1, 0, 0)
    float distance;
};
std::optional<ShellPlacement> shellPlacement(float now, float fireTime, float pitch, float yaw);

// The y and z of the cannon material's "params" (x is 1): the muzzle's heat and the reflection's
// turn.
struct CannonParams {
    float heat, turn;
};
CannonParams cannonParams(float lt);

// The camera of the frame before the shake: eye, centre, up (0, 1, 0) and field of view.
CameraSetup cannonCamera(float lt);

// The eye shaken by the flash of the previous frame (at most 1).
CameraSetup shakeCannonCamera(CameraSetup camera, float lt, float sceneFlash);

// A member bursts into 1000 sparks of its own system once lt is past afterMs.
struct FormationBurst {
    float afterMs;
    int member;
    int kind;  // a ParticleKind
    float colour[3];
};
constexpr int formationBurstCount = 11;
extern const FormationBurst formationBursts[formationBurstCount];

bool burstDue(const FormationBurst& burst, float lt);

// Weight of the blurred picture added over the sharp one at music time t: 1, fading out over
// the slot's last 1500 ms.
float glowCompositeAlpha(std::int32_t t);

// Alpha of the closing white-out at t; none before it starts (it can be negative just after).
std::optional<float> whiteOutAlpha(std::int32_t t);

// Weight of the drifting noise image at slot time s; 0 outside its windows.
float noiseSweepWeight(float s);
