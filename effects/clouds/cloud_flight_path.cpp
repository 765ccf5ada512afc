// The cloud flight's motion, in single precision and in the order the scene was timed with.
#include "effects/clouds/cloud_flight_path.h"

#include <algorithm>

#include "base/envelopes.h"
#include "scene/matrix.h"

namespace {

constexpr float cloudFlightSpeed = 0.005f;  // units per ms along +z
constexpr float startsSettleMs = 4000.0f;   // sheet start times stop moving back here
constexpr float sheetFadeInMs = 2000.0f;

float squared(int i) { return static_cast<float>(i * i); }

// a i^3 + b i^2 for a sheet index, formed in double and rounded to float once: the arguments of
// the scatter sines and the haze turns are large, and rounding each product and the sum apart
// would move them by whole units.
float cubic(float a, float b, int i) {
    const double n = i;
    return static_cast<float>(static_cast<double>(a) * (n * n * n) + static_cast<double>(b) * (n * n));
}

// The sheets' scatter: a sine of a large argument, a fixed pseudo-random value per sheet.
float scatter(float cubeFactor, float squareFactor, int i) { return sine(cubic(cubeFactor, squareFactor, i)); }

}  // namespace

float cloudFlightTime(int now) { return static_cast<float>(now - cloudFlightStartMs); }

EyeOffset cloudFlightEyeOffset(float t) {
    const float baseZ = cloudFlightSpeed * t;
    EyeOffset e{2.0f * sine(0.0003f * t) * sigmoid(t / 2000.0f), 2.0f, -7.0f};
    if (t > 4100.0f) e = {2.0f * sine(0.00011f * t) + 1.0f, 2.0f, 5.0f};
    if (t > 7700.0f) e = {-4.0f, 2.0f, 2.5f * sine(0.0003f * t)};
    if (t > 11200.0f)
        e = {0.5f * sine(0.0003f * t) + 2.0f, 1.5f, -4.0f - 0.15f * baseZ * sigmoid((t - 12200.0f) / 8000.0f)};
    return e;
}

CameraSetup cloudFlightCamera(float t, float sceneFlash) {
    const float baseZ = cloudFlightSpeed * t;
    const EyeOffset e = cloudFlightEyeOffset(t);
    const float f = sceneFlash > 1.0f ? 1.0f : sceneFlash;
    const float shake[3] = {sine(100.03f * t) * f, 0.0f, sine(121.14f * t) * f};
    return CameraSetup{{0.0f + e.x + shake[0], 0.0f + e.y + shake[1], baseZ + e.z + shake[2]},
                       {0.0f, 1.0f, baseZ},
                       {0.0f, 1.0f, 0.0f},
                       30.0f};
}

float cloudFlightFlicker(float t) { return 0.9f + 0.1f * sine(10.0f * t); }

float cloudSheetStart(int i, float t) {
    const float settled = t < startsSettleMs ? t : startsSettleMs;
    return 500.0f * scatter(3.4144f, 2.2234f, i) + 200.0f * static_cast<float>(i) - settled + 1000.0f;
}

std::optional<CloudSheet> cloudSheet(int i, float t, float beatFlash) {
    if (i < 0 || i >= cloudSheetCount) return std::nullopt;
    const float age = t - cloudSheetStart(i, t);
    if (!(age > 0.0f)) return std::nullopt;
    const float spread = scatter(1.4144f, 6.2234f, i);
    const float fade = std::min(age / sheetFadeInMs, 1.0f);
    return CloudSheet{(1.0f - 0.2f * beatFlash) * fade, 6.0f * spread, -0.5f,
                      2.4f * spread + static_cast<float>(i), 15.0f * scatter(7.4144f, 6.999f, i)};
}

std::optional<HazeSheet> hazeSheet(int i, float eyeZ, int now) {
    if (i < hazeSheetNearest || i > hazeSheetFarthest) return std::nullopt;
    const float fi = static_cast<float>(i);
    float a = (absf(fi - eyeZ) - 1.5f) * 0.1f;
    const bool widening = now >= hazeWideningStartMs;
    const float late = static_cast<float>(now - hazeWideningStartMs);
    if (widening) a = (1.0f - std::max(late / 12000.0f, 0.1f)) * a;
    if (!(a > 0.0f && a < 0.7f)) return std::nullopt;

    // A tent: 1.5 at a = 0.25, 0 at 0.5 and below 0 (no visible effect) up to 0.7.
    a = 3.0f * (0.5f - absf(2.0f * a - 0.5f));
    float size = 5.0f;
    if (widening) {
        a = a * (1.0f + late / 4000.0f);
        size = 5.0f * (1.0f + late / 13000.0f);
    }
    // The scroll once carried i * i whole turns on top, up to 22,500: the texture repeats, so they
    // moved nothing but the precision, and rasterisers interpolating so far from 0 drew the haze
    // of the last seconds each in its own way.
    return HazeSheet{a, size, static_cast<float>(static_cast<double>(32312.23f) * squared(i) + 1221.0 * i),
                     0.0001f * cloudFlightTime(now)};
}

float cloudFlightGlowWeight(int now) {
    float w = rampDownAt(now, cloudFlightGlowAfterFade.startMs, cloudFlightGlowAfterFade.endMs);
    for (const GlowWindow& glow : cloudFlightGlowsBeforeFade) w += rampDownAt(now, glow.startMs, glow.endMs);
    return w;
}

std::optional<float> finalFadeWeight(int now) {
    if (now <= finalFadeStartMs) return std::nullopt;
    return std::min(static_cast<float>(now - finalFadeStartMs) / 400.0f, 1.0f);
}
