// The sky ascent's motion, in single precision and in the order the scene was timed with.
#include "effects/sky/sky_ascent_path.h"

#include "scene/matrix.h"

namespace {

constexpr float zoomStartMs = 43500.0f;
constexpr float stretchStartMs = 44500.0f;
constexpr float fallingBallCeiling = 190.0f;  // balls above it are still out of the picture

}  // namespace

CameraSetup skyAscentCamera(float t) {
    CameraSetup camera{{0, 0, 0}, {0, 4, 0}, {1, 0, 0}, 70.0f};
    if (t < skyCutMs) {
        // Climbing one unit per second, the view swaying in z.
        camera.eye[1] = 0.001f * (t - 14000.0f);
        camera.eye[2] = -2.0f;
        camera.centre[1] = camera.eye[1] + 4.0f;
        camera.centre[2] = sine(0.0003f * t) - 2.0f;
    } else if (t > zoomStartMs) {
        const float d = (t - zoomStartMs) / 2000.0f;
        const float q = d * d;
        camera.centre[0] = 3.0f * q;
        camera.centre[2] = 3.0f * q;
        camera.fieldOfView = 70.0f - 50.0f * q;
    }
    return camera;
}

SkyDomeScale skyDomeScale(float t) {
    SkyDomeScale scale{false, {1, 1, 1}, 1.0f - (t - 14000.0f) / 1000.0f / 90.0f};
    if (t > stretchStartMs) {
        const float k = (t - stretchStartMs) * 0.001f * 40.0f;
        scale.stretched = true;
        scale.stretch[0] = 1.0f + k;
        scale.stretch[2] = 1.0f + 0.1f * k;
    }
    return scale;
}

BallPlacement skyBallA(float t) { return {{11.0f - 0.015f * (t - 12000.0f), 22, -3}, 0, {1, 0, 0}, 3.8f}; }

BallPlacement skyBallB(float t) {
    return {{-15.0f - 0.015f * (t - 28000.0f), 27, -3}, 0.02f * (t - 28000.0f), {1, 0, 0}, 3.0f};
}

std::optional<BallPlacement> fallingBall(float t, int i) {
    if (t < skyCutMs || i < 0 || i >= fallingBallCount) return std::nullopt;
    float w = (t - skyCutMs) / 200.0f;
    // The last of them rush past at the end.
    if (t >= 40000.0f) w += 200.0f * sigmoid((t - 40000.0f) / 7000.0f);
    const float n = static_cast<float>(i);
    const float y = 20.0f - w + 25.0f * n;
    if (!(y < fallingBallCeiling)) return std::nullopt;
    const float theta = 3.33f * n + 333.333f * (n * n);
    return BallPlacement{{7.0f * cosine(theta), y, 7.0f * sine(theta)},
                         0.04f * (t - 28000.0f),
                         {sine(22.222f * n + 111.11f * n), cosine(333.222f * n + 121.11f * n),
                          sine(442.222f * n + 511.11f * n)},
                         1.0f};
}

std::optional<float> cloudLayerAlpha(int n, float eyeHeight) {
    if (n < 1 || n > cloudLayerTop) return std::nullopt;
    const float d = absf(static_cast<float>(n) - eyeHeight);
    const float b = 0.2f * (d - 1.5f);
    if (!(b > 0.0f && b < 0.5f)) return std::nullopt;
    // 0 at d = 1.5, 1.5 at d = 2.75, 0 again at d = 4.
    return 3.0f * (0.5f - absf(2.0f * b - 0.5f));
}

float cloudLayerTurn(int n) {
    const float f = static_cast<float>(n);
    return 32312.23f * (f * f) + 1221.0f * f;
}

float cloudLayerScroll(float t, int n) {
    const float f = static_cast<float>(n);
    return 0.0001f * t + f * f;
}
