// The procession's clock arithmetic, in single precision and in the order the scene was timed with.
#include "effects/procession/procession_path.h"

#include <algorithm>

#include "scene/matrix.h"

namespace {

constexpr std::int32_t slowMotionMs = 3400;  // act C's first 3400 ms run at a fifth of the speed
constexpr std::int32_t sinkStartMs = 69100;  // the procession sinks by 2 over act A's last 3 s

float toFloat(std::int32_t n) { return static_cast<float>(n); }

// c1 n1 + c2 n2 for whole powers n of a member's or ball's number: the products and the sum are
// formed exactly and rounded to single precision once. These angles run into the hundreds of
// millions, where rounding each product on its own moves them by whole radians, and the scatter
// of the members and balls was placed with the single rounding.
float scatterAngle(float c1, std::int64_t n1, float c2 = 0.0f, std::int64_t n2 = 0) {
    return static_cast<float>(static_cast<double>(c1) * static_cast<double>(n1) +
                              static_cast<double>(c2) * static_cast<double>(n2));
}

// Offsets from the anchor, shake and the rest of the camera while an act's steps change them.
struct CameraWork {
    float ox, oy, oz;
    float sa, sb;  // sa shakes x and y alike, sb shakes z
    float cx, cy, cz;
    float up[3];
    float fieldOfView;
};

void actACamera(CameraWork& c, std::int32_t t, float lt, const ProcessionVec3& p) {
    if (lt > 6900.0f) {
        c.fieldOfView = 50;
        const float d = lt - 7100.0f;
        float m = 1.0f;
        if (lt > 13200.0f) m = 0.9f;
        if (lt > 13600.0f) m = 0.7f;
        if (lt > 13950.0f) m = 0.5f;
        c.oz = 6.0f * m * cosine(0.00012f * d);
        c.oy = 2.0f * m - cosine(0.0002f * d - 0.2f);
        c.ox = -3.0f * cosine(0.0003f * d) - m;
    }
    if (lt > 14100.0f) {
        c.fieldOfView = 25;
        const float e = lt - 14100.0f;
        c.ox = -2.0f * cosine(0.0003f * e);
        c.oy = 1.0f - cosine(0.0002f * e - 0.2f);
        c.oz = 2.0f * cosine(0.00012f * e) - 9.0f;
        if (lt > 21300.0f) {
            c.ox = -2.0f * sine(0.00023f * e);
            c.oy = 0.5f - cosine(0.0002f * e - 0.2f);
            c.oz = 2.0f * cosine(0.00012f * e) - 8.0f;
        }
    }
    // The swoop down behind the anchor over the act's last two seconds, shaking in the last one.
    const std::int32_t r = processionActBStartMs - t;
    if (r < 3500) {
        const float a = std::min(toFloat(r) / 2000.0f, 1.0f);
        const float b = std::min(toFloat(r) / 1000.0f, 1.0f);
        const float q = (1.0f - a) * (1.0f - a);
        c.sa = 0.1f * (1.0f - b) * sine(100.03f * lt);
        c.sb = 0.1f * (1.0f - b) * sine(101.04f * lt);
        c.ox = (1.0f - q) * c.ox;
        c.oz = (1.0f - q) * c.oz - 5.0f * q;
        c.oy = (1.0f - q) * c.oy + q;
        c.cz = (1.0f - q) * c.cz + q * p.z;
        c.fieldOfView = 25.0f * (1.0f - q) + 90.0f * q;
    }
}

void actBCamera(CameraWork& c, float lt, float sceneFlash, const ProcessionVec3& p) {
    c.fieldOfView = 90;
    c.ox = 1.6f - p.x;
    c.oy = 0.5f;
    c.oz = 40.0f * cosine(0.00012f * lt) - 0.95f * p.z;
    const float f = std::min(sceneFlash, 1.0f);
    c.sa = 0.12f * f * sine(100.03f * lt);
    c.sb = 0.12f * f * sine(121.14f * lt);
    if (lt >= 2000.0f) {
        const float s = sigmoid((lt - 2000.0f) / 3000.0f);
        c.ox = (1.0f - s) * c.ox + 0.7f * s;
        c.oy = (1.0f - s) * c.oy + s;
        c.oz = (1.0f - s) * c.oz - 3.0f * s;
        c.ox = c.ox - 5.0f * (0.5f - absf(0.5f - s));
    }
    if (lt >= 8200.0f) {
        c.fieldOfView = 40;
        c.ox = -2.0f * cosine(0.0004f * lt);
        c.oy = 1.5f;
        c.oz = 2.0f * cosine(0.00012f * lt) + 6.0f;
    }
    if (lt >= 12600.0f && lt < 14600.0f) {
        const float v = ((lt - 12200.0f) / 2000.0f) * ((lt - 12200.0f) / 2000.0f);
        c.fieldOfView = 40.0f * (1.0f - v) + 110.0f * v;
    }
}

// A swing out and back within about a second: the sine of pi times a sigmoid, scaled by 0.8.
float swing(std::int32_t t, std::int32_t startMs) {
    return 0.8f * sine(pi * sigmoid(toFloat(t - startMs) / 400.0f));
}

void actCCamera(CameraWork& c, std::int32_t t, float lt, const ProcessionVec3& p) {
    c.fieldOfView = 50;
    const float a = std::min(lt / 800.0f, 1.0f);
    c.ox = 10.0f * (1.0f - a) + 1.7f * a;
    c.oy = 0;
    c.cy = p.y;
    c.oz = 20.0f - 0.25f * p.z;
    c.up[0] = -1.0f, c.up[1] = 0.5f, c.up[2] = 0.0f;
    if (t >= 90100) {
        const float s1 = sigmoid(toFloat(t - 90100) / 4000.0f);
        const float s2 = sigmoid(toFloat(t - 92700) / 4000.0f);
        c.fieldOfView = 50.0f * (1.0f - s1) + 120.0f * s1;
        c.oz = (1.0f - s2) * c.oz - 3.0f * s2;
    }
    if (t >= 92900) {
        const float g = swing(t, 92900);
        c.ox = (1.0f - g) * c.ox + 3.0f * g;
    }
    if (t >= 96100) {
        const float h = swing(t, 96100);
        c.ox = (1.0f - h) * c.ox;
        c.oz = (1.0f - h) * c.oz - 3.0f * h;
        c.fieldOfView = (1.0f - h) * c.fieldOfView + 115.0f * h;
    }
    if (t >= 98100) {
        // Not clamped: 0.875 at the end of the slot.
        const float k = toFloat(t - 98100) / 4000.0f;
        c.ox = (1.0f - k) * c.ox - 0.5f * k;
        c.oy = (1.0f - k) * c.oy + k;
        c.fieldOfView = (1.0f - k) * c.fieldOfView + 100.0f * k;
    }
}

}  // namespace

ProcessionLocalTime processionLocalTime(std::int32_t t) {
    if (t < processionActBStartMs) return {toFloat(t - processionActAStartMs), false, 0.0f};
    if (t < processionActCStartMs) return {toFloat(t - processionActBStartMs), false, 0.0f};
    const std::int32_t u = t - processionActCStartMs;
    if (u < slowMotionMs) return {0.2f * toFloat(u), false, 0.0f};
    // Continues from 0.2 * 3400 = 680 at real-time speed.
    return {toFloat(u - 2720), true, toFloat(u - slowMotionMs)};
}

ProcessionVec3 processionPoint(int i, float s, std::int32_t t) {
    ProcessionVec3 q{0.0f, 10.0f, 0.03f * s};
    if (t > sinkStartMs && t < processionActBStartMs) {
        const float e = 1.0f - toFloat(processionActBStartMs - t) / 3000.0f;
        q.y = q.y - 2.0f * e * e;
    } else if (t >= processionActBStartMs && t < processionActCStartMs) {
        q.y = q.y - 2.0f;
    }
    if (i != 0) {
        const std::int64_t n = i;
        q.x = 35.0f * sine(scatterAngle(0.5f, n, 2.521f, n * n));
        q.z = q.z - toFloat(20 * i + 320) + 0.05f * s * absf(cosine(scatterAngle(0.3f, n, 43252.3984375f, n * n)));
        if (i % 2 == 0) q.y = q.y + 15.0f * cosine(scatterAngle(432.0f, n * n * n));
    }
    return q;
}

CameraSetup processionCamera(std::int32_t t, float lt, float sceneFlash) {
    const ProcessionVec3 p = processionPoint(0, lt, t);
    const float oz0 = 4.0f * cosine(0.0003f * lt) + 1.0f;
    CameraWork c{};
    c.oz = oz0;
    c.oy = 2.0f - 2.0f * cosine(0.0002f * lt - 0.2f);
    c.ox = 5.0f - cosine(0.0002f * lt);
    c.cx = p.x, c.cy = p.y + 1.0f, c.cz = p.z + 0.5f * oz0;
    c.up[0] = 0.0f, c.up[1] = 1.0f, c.up[2] = 0.0f;
    c.fieldOfView = 25;
    if (t < processionActBStartMs) actACamera(c, t, lt, p);
    else if (t < processionActCStartMs) actBCamera(c, lt, sceneFlash, p);
    else actCCamera(c, t, lt, p);

    CameraSetup camera{};
    camera.eye[0] = p.x + c.ox + c.sa;
    camera.eye[1] = p.y + c.oy + c.sa;
    camera.eye[2] = p.z + c.oz + c.sb;
    camera.centre[0] = c.cx, camera.centre[1] = c.cy, camera.centre[2] = c.cz;
    for (int k = 0; k < 3; ++k) camera.up[k] = c.up[k];
    camera.fieldOfView = c.fieldOfView;
    return camera;
}

DropBallRest processionDropBall(int index) {
    static constexpr DropBallRest placed[7] = {{-5, 7, 18, 1000},   {6, 8, 50, 1900},    {-14, 6, 105, 3600},
                                               {22, 7, 165, 4700},  {-16, 8, 205, 5400}, {-11, 5, 235, 6000},
                                               {7, 7, 275, 7600}};
    if (index < 0 || index >= processionDropBallCount) index = 0;
    if (index < 7) return placed[index];
    const int j = index - 7;
    const std::int64_t m = 100 + j, m2 = m * m, m3 = m2 * m;
    float x = 7.0f * sine(scatterAngle(211.21123f, m3, 213.0f, m2)) + 12.0f;
    if (sine(scatterAngle(1.0f, m3 * m)) < 0.0f) x = -x;
    const float wave = sine(scatterAngle(2123.0f, m2, 211.1123f, m3));
    const float y = 3.0f * wave + 7.0f;
    const float z = 30.0f * sine(scatterAngle(123.0f, m2, 8211.112f, m3)) + 300.0f + 20.0f * toFloat(j);
    const int hitTime = static_cast<int>(600.0f * wave + toFloat(900 * j) + 8500.0f);
    return {x, y, z, toFloat(hitTime)};
}

DropBallPose dropBallPose(float x, float y, float z, float hitTime, float lt) {
    const float fall = std::max(0.0f, 150.0f * (hitTime - lt) / 1000.0f);
    const float spin = squareRoot(z + std::max(0.0f, 100.0f * (hitTime + 200.0f - lt) / 1000.0f));
    DropBallPose pose{};
    pose.position[0] = x, pose.position[1] = y + fall + 1.0f, pose.position[2] = z;
    pose.angleDegrees = spin;
    pose.axis[0] = sine(0.229f * x), pose.axis[1] = sine(x + z), pose.axis[2] = cosine(0.317f * z);
    const float landing = hitTime + toFloat(processionActBStartMs);
    pose.flashStartMs = static_cast<std::int32_t>(landing);
    pose.flashEndMs = static_cast<std::int32_t>(landing + 1000.0f);
    return pose;
}

float actCBall1Height(float lt, float slowMotionOverrun) { return 19.0f - 0.0055f * (lt + 2.0f * slowMotionOverrun); }
float actCBall2Height(float lt) { return std::max(4.0f, 169.0f - 0.045f * lt); }
float actCBall3Height(float lt) { return std::max(5.0f, 1236.0f - 0.18f * lt); }

bool processionMemberNear(float eyeZ, float memberZ) {
    // A non-negative distance truncates below 120 exactly when it is below 120; comparing the
    // float also keeps a huge or NaN distance from an out-of-range conversion.
    return absf(eyeZ - memberZ) < 120.0f;
}

bool slot2CompositeDrawn(std::int32_t t) {
    return (t > processionActAStartMs && t < processionActBStartMs) || (t >= 79300 && t < processionActCStartMs);
}
