// The cannon slot's motion and weights, in single precision and in the order the slot was timed
// with.
#include "effects/cannon/cannon_path.h"

#include <algorithm>

#include "scene/matrix.h"

namespace {

// Member i is pulled in towards the cannon by k (1 to 0), sinking by 4 as it goes.
void drawIn(CannonPoint& p, float k) {
    p.z = p.z * k;
    p.x = p.x * k;
    p.y = p.y - 4.0f * (1.0f - k);
}

constexpr float formationRiseMs = 53900.0f;

}  // namespace

CannonPoint formationPosition(int i, float s) {
    constexpr int n = formationSize;
    const int c = i % formationColumns - 3;
    const int r = i / formationColumns;
    // Integer powers, taken in float: exact for every member.
    const float fi = static_cast<float>(i);
    const float fc = static_cast<float>(c);
    CannonPoint p{10.0f * fc, 15.0f + 5.0f * sine(111.111f * (fc * fc * fc) + 222.22f * (fc * fc)), 0.0f};

    float a =
        5.0f * (s - formationArrivalMs) / 1000.0f + 3.0f * sine(0.0003f * s + 333.33f * fi + 321.312f * (fi * fi));
    if (s >= 28500.0f) a = a - 450.0f + 25.0f * (s - 28500.0f) / 1000.0f;
    if (s >= 42500.0f) a = a - 60.0f;
    if (s > 50000.0f) a = a - 30.0f;

    if (s > 39000.0f && i == 4) {
        const float u = (s - 39000.0f) / 1000.0f;
        const float k = std::max(0.0f, 1.0f - u);
        a = a + 12.0f * (u * u);
        p.x = p.x * k;
        p.y = p.y - 4.0f * (1.0f - k);
    }

    // A wedge whose point, column 0 of row 0, leads.
    p.z = static_cast<float>(-2 * n * r - 130 - n * absi(c)) + a;

    if (s > 43500.0f && i == 2) drawIn(p, std::max(0.0f, 1.0f - (s - 43500.0f) / 2500.0f));
    if (s > 46300.0f && i == 15) drawIn(p, std::max(0.0f, 1.0f - (s - 46300.0f) / 2300.0f));

    if (s > formationRiseMs) {
        const float u = (s - formationRiseMs) / 2000.0f;
        if (i == 26) {
            const float k = std::max(0.0f, 1.0f - u);
            p.z = p.z * k - 8.0f;
            p.x = p.x * k - 2.0f;
            p.y = p.y - 4.0f * (1.0f - k);
        } else {
            p.y = p.y + 30.0f * u;
        }
    }
    return p;
}

CannonPoint formationBob(int i, float lt) {
    const float fi = static_cast<float>(i);
    const float w1 = 0.01f * sine(20.03f * lt + fi);
    const float w2 = 0.01f * sine(21.04f * lt + fi);
    return {w1, w2, w1};
}

bool formationMemberInView(float memberZ, float eyeZ) { return absf(memberZ - eyeZ) < formationViewDepth; }

ShellAim shellAim(int i) {
    const float fi = static_cast<float>(i);
    return {1.570795f + 0.1f * sine(2.31f * fi), 0.22f * sine(1.19f * fi)};
}

float shellSpeedFactor(float pitch, float yaw) {
    return 1.0f + 0.6f * sine(1.111f * (pitch * pitch) + 31220.3f * pitch + 4.444f * yaw);
}

float shellTravel(float now, float fireTime) {
    float d = 8.0f * (now - fireTime) / 1000.0f;
    if (now > 17600.0f) d = d + 60.0f * (now - 17600.0f) / 1000.0f;
    return d;
}

std::optional<ShellPlacement> shellPlacement(float now, float fireTime, float pitch, float yaw) {
    if (!(fireTime <= now)) return std::nullopt;
    const float d = shellTravel(now, fireTime) * shellSpeedFactor(pitch, yaw);
    return ShellPlacement{-yaw / pi * 180.0f, -pitch / pi * 180.0f, d};
}

CannonParams cannonParams(float lt) {
    if (lt < shellFireMs || lt > 30000.0f) return {sine(0.00047f * lt), cosine(0.00032f * lt)};
    // The muzzle glows from the shot, brightest at 16000, and cools by 20000.
    const float v = std::min((lt - 16000.0f) / 4000.0f, 1.0f);
    return {1.0f - v * v, 0.0f};
}

CameraSetup cannonCamera(float lt) {
    CameraSetup camera{{0, 0, 0}, {0, 5, 0}, {0, 1, 0}, 60.0f};
    float* e = camera.eye;
    float* c = camera.centre;
    float& fov = camera.fieldOfView;

    if (lt < formationArrivalMs) {
        // Orbit: from far out and wide down to a close circle over the cannon.
        const float a = lt / 8000.0f;
        const float b = 1.0f - lt / formationArrivalMs;
        const float q = 1.0f - b * b;
        e[0] = 13.0f * q * sine(0.0002f * lt) + 30.0f * (1.0f - q);
        e[1] = (24.0f - 15.0f * a) * q + 15.0f * (1.0f - q);
        e[2] = 13.0f * q * cosine(0.0002f * lt) - 100.0f * (1.0f - q);
        fov = 40.0f * q + 120.0f * (1.0f - q);
        c[1] = e[1] - 2.0f + 6.0f * a;
    }
    if (lt > formationArrivalMs && lt < shellFireMs) {
        const float a = (lt - formationArrivalMs) / 8000.0f;
        const float s = sigmoid(a);
        e[0] = 40.0f * a - 13.0f;
        e[1] = 17.0f - 5.0f * a;
        e[2] = -20.0f * (1.0f - s);
        c[1] = e[1] + 6.0f * a;
        fov = 50.0f;
    }
    if (lt > shellFireMs) {
        // Pull back behind the shells.
        const float s1 = sigmoid((lt - shellFireMs) / 5000.0f);
        const float s2 = sigmoid((lt - 16400.0f) / 10000.0f);
        e[0] = 24.0f * (1.0f - s2);
        e[1] = 10.0f + 6.0f * s2;
        e[2] = -480.0f * s2;
        c[0] = -80.0f * s2;
        c[1] = 15.0f * (1.0f - s2) + 10.0f * s2;
        c[2] = -10.0f - 30.0f * s1 - 500.0f * s2;
        fov = (1.0f - s2) * fov + 100.0f * s2;
    }
    if (lt > 21500.0f) {
        // Dolly past the cannon; k runs on past 1 until the next set-up takes over.
        const float k = std::max(0.0f, (lt - 24000.0f) / 4200.0f);
        const float m = std::clamp((lt - 21500.0f) / 4300.0f, 0.0f, 1.0f);
        const float q = k * k;
        e[0] = -10.0f * (1.0f - q) + q;
        e[1] = 10.0f;
        e[2] = -250.0f * (1.0f - q) - 5.0f * q;
        fov = 40.0f + 80.0f * q;
        c[0] = 10.0f * (1.0f - q);
        c[1] = 15.0f;
        c[2] = (1.0f - q) * e[2] + 10.0f + 30.0f * m;
    }
    if (lt > 28500.0f) {
        // Ride with member 4 until it is drawn in and bursts.
        const float f = (lt - 28500.0f) / 4000.0f;
        const CannonPoint member = formationPosition(4, lt);
        fov = 40.0f;
        float relative[3] = {3.0f * f - 3.0f, -1.0f, 5.0f};
        if (lt > 35600.0f) {
            const float g = (lt - 35600.0f) / 4000.0f;
            relative[0] = 3.0f - 3.0f * g;
            relative[1] = 0.0f;
            relative[2] = 3.0f - 3.0f * f;
            if (lt > 39000.0f) {
                const float s1 = sigmoid((lt - 39000.0f) / 3000.0f);
                const float s2 = sigmoid((lt - 41000.0f) / 2000.0f);
                fov = (1.0f - s1) * fov + 90.0f * s1;
                relative[2] = (1.0f - s2) * relative[2] + s2 * (-15.0f - member.z);
            }
        }
        c[0] = member.x;
        c[1] = member.y + 1.0f;
        c[2] = member.z;
        e[0] = member.x + relative[0];
        e[1] = member.y + relative[1];
        e[2] = member.z + relative[2];
    }
    if (lt >= 42500.0f) {
        const float s = sigmoid((lt - 42500.0f) / 4000.0f);
        e[0] = 3.0f + 10.0f * (s * s);
        e[1] = 8.0f + 2.0f * s;
        e[2] = -4.0f;
        c[0] = 0.0f;
        c[1] = 10.0f;
        c[2] = 15.0f * s - 25.0f;
        fov = 70.0f;
    }
    if (lt >= 46200.0f) {
        const float s = sigmoid((lt - 46200.0f) / 4000.0f);
        e[0] = 3.0f * s - 12.0f;
        e[1] = 8.0f + 2.0f * s;
        e[2] = 4.0f * (1.0f - s) - 8.0f * s;
        c[0] = -5.0f;
        c[1] = 10.0f;
        c[2] = -5.0f * s;
    }
    if (lt > 49800.0f) {
        // Ride with member 26, the one that stays.
        const float s1 = sigmoid((lt - 51000.0f) / 5000.0f);
        const float s2 = sigmoid((lt - 53000.0f) / 4000.0f);
        const CannonPoint member = formationPosition(26, lt);
        e[0] = member.x + -5.0f * (1.0f - s1);
        e[1] = member.y + (3.0f * (1.0f - s1) + 2.0f * s1);
        e[2] = member.z + (-3.0f * (1.0f - s1) - 7.0f * s1);
        c[0] = member.x;
        c[1] = member.y + 1.0f;
        c[2] = member.z;
        fov = 40.0f * (1.0f - s2) + 30.0f * s2;
    }
    return camera;
}

CameraSetup shakeCannonCamera(CameraSetup camera, float lt, float sceneFlash) {
    const float f = std::min(sceneFlash, 1.0f);
    camera.eye[0] = camera.eye[0] + f * sine(100.03f * lt);
    camera.eye[2] = camera.eye[2] + f * sine(121.14f * lt);
    return camera;
}

const FormationBurst formationBursts[formationBurstCount] = {
    {18200, 3, 1, {1, 0.5f, 0}},     {18400, 5, 1, {1, 0.5f, 0}},     {19600, 11, 1, {1, 0.5f, 0}},
    {21400, 16, 1, {1, 0.5f, 0}},    {23100, 28, 1, {1, 0.5f, 0}},    {26100, 24, 1, {1, 0.5f, 0}},
    {31000, 13, 1, {1, 0.5f, 0}},    {33000, 14, 1, {1, 0.5f, 0}},    {42000, 4, 2, {0.5f, 0.8f, 1}},
    {45700, 2, 2, {0.5f, 0.8f, 1}},  {48600, 15, 2, {0.5f, 0.8f, 1}},
};

bool burstDue(const FormationBurst& burst, float lt) { return lt > burst.afterMs; }

float glowCompositeAlpha(std::int32_t t) {
    if (t <= cannonFadeOutStartMs) return 1.0f;
    return std::max(0.0f, static_cast<float>(cannonSlotEndMs - t) / 1500.0f);
}

std::optional<float> whiteOutAlpha(std::int32_t t) {
    if (t <= cannonFadeOutStartMs) return std::nullopt;
    return 1.0f - std::max(0.0f, static_cast<float>(cannonSlotEndMs - t) / 1500.0f);
}

float noiseSweepWeight(float s) {
    if (s > 8000.0f && s < 12000.0f) return 0.4f * sine((s - 8000.0f) * 3.14f / 3000.0f);
    if (s > 14400.0f && s < 16400.0f) return 1.0f - (s - 14400.0f) / 2000.0f;
    if (s > 18400.0f && s < 18800.0f) return 0.5f - (s - 18400.0f) / 400.0f * 0.5f;
    if (s > 19600.0f && s < 20000.0f) return 0.5f - (s - 19600.0f) / 400.0f * 0.5f;
    if (s > 22000.0f && s < 23000.0f) return 0.5f - (s - 22000.0f) / 1000.0f * 0.5f;
    if (s > 23500.0f && s < 24500.0f) return 0.5f - (s - 23500.0f) / 1000.0f * 0.5f;
    return 0.0f;
}
