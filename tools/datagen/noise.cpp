// Noise functions of the generator; only integer hashing and float arithmetic, so every run gives
// the same values.
#include "tools/datagen/noise.h"

#include <cmath>

std::uint32_t hashBits(std::uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352du;
    x ^= x >> 15;
    x *= 0x846ca68bu;
    x ^= x >> 16;
    return x;
}

float latticeValue(int x, int y, std::uint32_t seed) {
    std::uint32_t h = hashBits(static_cast<std::uint32_t>(x) * 0x9e3779b1u ^
                               hashBits(static_cast<std::uint32_t>(y) + seed * 0x85ebca77u));
    return static_cast<float>(h >> 8) * (1.0f / 16777216.0f);
}

namespace {

int wrap(int i, int period) {
    if (period <= 0) return i;
    const int r = i % period;
    return r < 0 ? r + period : r;
}

float fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

}  // namespace

float valueNoise(float x, float y, std::uint32_t seed, int periodX, int periodY) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float tx = fade(x - fx), ty = fade(y - fy);
    const int x0 = wrap(ix, periodX), x1 = wrap(ix + 1, periodX);
    const int y0 = wrap(iy, periodY), y1 = wrap(iy + 1, periodY);
    const float a = latticeValue(x0, y0, seed), b = latticeValue(x1, y0, seed);
    const float c = latticeValue(x0, y1, seed), d = latticeValue(x1, y1, seed);
    return mixf(mixf(a, b, tx), mixf(c, d, tx), ty);
}

float fractalNoise(float x, float y, int octaves, std::uint32_t seed, int periodX, int periodY) {
    float sum = 0.0f, amplitude = 1.0f, total = 0.0f, frequency = 1.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * valueNoise(x * frequency, y * frequency, seed + 1013u * static_cast<std::uint32_t>(o),
                                      periodX << o, periodY << o);
        total += amplitude;
        amplitude *= 0.5f;
        frequency *= 2.0f;
    }
    return sum / total;
}

CellDistances cellNoise(float x, float y, std::uint32_t seed, int periodX, int periodY) {
    const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    CellDistances result{8.0f, 8.0f};
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const int cx = ix + dx, cy = iy + dy;
            const int wx = wrap(cx, periodX), wy = wrap(cy, periodY);
            const float px = static_cast<float>(cx) + 0.1f + 0.8f * latticeValue(wx, wy, seed);
            const float py = static_cast<float>(cy) + 0.1f + 0.8f * latticeValue(wx, wy, seed + 7u);
            const float d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
            if (d < result.nearest) {
                result.second = result.nearest;
                result.nearest = d;
            } else if (d < result.second) {
                result.second = d;
            }
        }
    }
    return result;
}

float clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

float smoothStep(float edge0, float edge1, float x) {
    const float t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

float mixf(float a, float b, float t) { return a + (b - a) * t; }
