// The worm scene's motion, in single precision and in the order the scene was timed with.
#include "effects/worms/worm_path.h"

#include <algorithm>

#include "effects/common/scene_flash.h"
#include "scene/matrix.h"

namespace {

constexpr float swingStartLt = 4200.0f;
constexpr float wideningStartLt = 6000.0f;
constexpr std::int32_t finalWideningStartMs = 119100;
constexpr float centreRushStartLt = 15600.0f;
constexpr std::int32_t whiteOutStartMs = 120600;

}  // namespace

// Worm 1 sways in and out of the ground in front of the camera all through the slot; the others
// rise from phase -0.1 to 0.85 about 5236 ms after their start and sink back.
const std::array<WormSpec, wormCount> wormTable = {{
    {0, true, 0.65f, 0.0006f, 15, 120, 40, 20, 0, 0, 101800, 103600, false},
    {4300, false, 0.95f, 0.0003f, 40, 220, 30, 50, 135, 1, 105400, 107000, false},
    {9000, false, 0.95f, 0.0003f, -20, 330, 20, 40, -140, 2, 110600, 111400, false},
    {11000, false, 0.95f, 0.0003f, -10, 410, 30, 40, -160, 4, 112600, 113600, true},
    {12200, false, 0.95f, 0.0003f, -10, 450, 30, 40, -160, 5, 113800, 114600, true},
    {13300, false, 0.95f, 0.0003f, -10, 490, 30, 40, -160, 6, 114900, 115600, true},
    {14600, false, 0.95f, 0.0003f, 60, 520, 30, 50, 105, 3, 116200, 117200, false},
}};

float wormLocalTime(std::int32_t t) {
    return static_cast<float>(static_cast<std::int64_t>(t) - wormSlotStartMs);
}

WormPoint wormAnchor(float s) { return {0.0f, 10.0f, 0.03f * s}; }

CameraSetup wormSceneCamera(std::int32_t t, float sceneFlash) {
    const float lt = wormLocalTime(t);
    const WormPoint p = wormAnchor(lt);
    float sa = 0.2f * sceneFlash * sine(100.03f * lt);
    float sb = 0.2f * sceneFlash * sine(101.04f * lt);
    CameraSetup camera{{0, 0, 0}, {0, 0, 0}, {0, 1, 0}, 70.0f};
    float ox = 10.0f * cosine(0.0003f * lt + pi);
    float oy = 0.0f;
    const float oz = 0.0f;

    // The swing out to the side, rolling over and back as it goes.
    if (lt > swingStartLt) {
        const float s = sigmoid((lt - swingStartLt) / 8000.0f);
        const float g = sine(pi * s);
        camera.up[0] = -sine(g);
        camera.up[1] = cosine(g);
        ox = (1.0f - s) * ox + 35.0f * s;
        oy = (1.0f - s) * oy + 5.0f * s;
    }
    if (lt > wideningStartLt) {
        const float s2 = sigmoid((lt - wideningStartLt) / 3000.0f);
        camera.fieldOfView = 70.0f * (1.0f - s2) + 130.0f * s2;
    }
    // The last 3500 ms: steady, and driven towards a field of view of 135 at the slot's end.
    if (t > finalWideningStartMs) {
        const std::int64_t since = static_cast<std::int64_t>(t) - finalWideningStartMs;
        const float s3 = sigmoid(static_cast<float>(since) / 3500.0f);
        const float f = static_cast<float>(100 * since) / 3500.0f + 35.0f;
        sa = 0.0f;
        sb = 0.0f;
        camera.fieldOfView = (1.0f - s3) * camera.fieldOfView + s3 * f;
    }

    camera.eye[0] = p.x + ox + sa;
    camera.eye[1] = p.y + oy + sb;
    camera.eye[2] = p.z + oz + sa;
    camera.centre[0] = p.x + 10.0f * sine(0.00043f * lt + 3.0f);
    camera.centre[1] = p.y + 0.2f;
    camera.centre[2] = p.z + 40.0f;
    if (lt > centreRushStartLt) {
        const float d = (lt - centreRushStartLt) / 1000.0f;
        camera.centre[2] += 30.0f * (d * d);
    }
    return camera;
}

bool wormShown(const WormSpec& worm, float lt) { return worm.fromSlotStart || lt > worm.startLt; }

float wormPhase(const WormSpec& worm, float lt) {
    return worm.amplitude * sine(worm.frequency * (lt - worm.startLt)) - 0.1f;
}

ArchPoint wormArchPoint(float s, float height, float reach) {
    return {height * sine(pi * s), reach * cosine(pi * s) / 2.0f - reach / 2.0f, 180.0f * s};
}

float wormSegmentPhase(float h, int segment) { return h - static_cast<float>(segment) / 17.0f; }

void addRisenWormFlashes(float lt) {
    for (const WormSpec& worm : wormTable)
        if (!worm.fromSlotStart && wormShown(worm, lt))
            addSceneFlash(worm.flashStartMs, worm.flashEndMs, coarseFlashThreshold);
}

float wormSlotFlashAlpha(float sceneFlash) { return std::clamp(sceneFlash * 0.3f, 0.0f, 1.0f); }

bool wormSlotWhiteOutShown(std::int32_t t) { return t > whiteOutStartMs && t < wormSlotEndMs; }
