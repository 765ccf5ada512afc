// Dequantisation tables and the inverse DCT of the JPEG decoder. The passes are written as plain
// loops over eight lanes so that the compiler can turn them into vector code; every lane does
// the same single-precision operations in the same order, so the results do not depend on it.
#include "image/jpeg_idct.h"

#include <cstring>

const std::uint8_t jpegNaturalOrder[64] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63,
};

const float jpegPrescale[8] = {1.0f,         1.387039845f, 1.306562965f, 1.175875602f,
                               1.0f,         0.785694958f, 0.541196100f, 0.275899379f};

void buildDequantTable(JpegDequantTable& table, const std::int32_t quant[64]) {
    for (int k = 0; k < 64; ++k) {
        const int natural = jpegNaturalOrder[k];
        table.quant[k] = static_cast<float>(quant[k]);
        table.column[k] = jpegPrescale[natural % 8];
        table.row[k] = jpegPrescale[natural / 8];
    }
}

namespace {

// One pass over eight independent lines: in[k * 8 + lane] is input k of that lane; the outputs go
// to the same places of out.
inline void idctPass(const float* in, float* v) {
    constexpr float sqrt2 = 1.414213562f;
    constexpr float c1847 = 1.847759065f;
    constexpr float c1082 = 1.082392200f;
    constexpr float c2613 = 2.613125930f;
    for (int lane = 0; lane < 8; ++lane) {
        const float i0 = in[0 * 8 + lane], i1 = in[1 * 8 + lane], i2 = in[2 * 8 + lane], i3 = in[3 * 8 + lane];
        const float i4 = in[4 * 8 + lane], i5 = in[5 * 8 + lane], i6 = in[6 * 8 + lane], i7 = in[7 * 8 + lane];

        const float t10 = i0 + i4;
        const float t11 = i0 - i4;
        const float t13 = i2 + i6;
        const float t12 = (i2 - i6) * sqrt2 - t13;
        const float e0 = t10 + t13;
        const float e3 = t10 - t13;
        const float e1 = t11 + t12;
        const float e2 = t11 - t12;

        const float z13 = i5 + i3;
        const float z10 = i5 - i3;
        const float z11 = i1 + i7;
        const float z12 = i1 - i7;
        const float p7 = z11 + z13;
        const float p11 = (z11 - z13) * sqrt2;
        const float z5 = (z10 + z12) * c1847;
        const float p10 = z12 * c1082 - z5;
        const float p12 = z5 - z10 * c2613;
        const float p6 = p12 - p7;
        const float p5 = p11 - p6;
        const float p4 = p10 + p5;

        v[0 * 8 + lane] = e0 + p7;
        v[7 * 8 + lane] = e0 - p7;
        v[1 * 8 + lane] = e1 + p6;
        v[6 * 8 + lane] = e1 - p6;
        v[2 * 8 + lane] = e2 + p5;
        v[5 * 8 + lane] = e2 - p5;
        v[4 * 8 + lane] = e3 + p4;
        v[3 * 8 + lane] = e3 - p4;
    }
}

inline void transpose(const float* in, float* out) {
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) out[c * 8 + r] = in[r * 8 + c];
}

inline std::uint8_t sampleOf(float value) {
    // Beyond +-2048 the result is 0 or 255 anyway; the limit keeps the conversion defined.
    value = value < -2048.0f ? -2048.0f : value;
    value = value > 2048.0f ? 2048.0f : value;
    int level = (static_cast<int>(value) >> 3) + 128;
    level = level < 0 ? 0 : level;
    level = level > 255 ? 255 : level;
    return static_cast<std::uint8_t>(level);
}

}  // namespace

void idct8x8(const float in[64], float out[64]) {
    // Lanes are columns in the first pass; after a transpose they are rows.
    float columns[64], rows[64];
    idctPass(in, columns);
    transpose(columns, rows);
    idctPass(rows, rows);
    transpose(rows, out);
}

void storeBlock(const float block[64], std::uint8_t* out, std::ptrdiff_t stride) {
    // In two plain passes over the whole block so that both become vector code.
    int levels[64];
    for (int i = 0; i < 64; ++i) {
        float value = block[i];
        value = value < -2048.0f ? -2048.0f : value;
        value = value > 2048.0f ? 2048.0f : value;
        levels[i] = static_cast<int>(value);
    }
    std::uint8_t samples[64];
    for (int i = 0; i < 64; ++i) {
        int level = (levels[i] >> 3) + 128;
        level = level < 0 ? 0 : level;
        level = level > 255 ? 255 : level;
        samples[i] = static_cast<std::uint8_t>(level);
    }
    for (int r = 0; r < 8; ++r) std::memcpy(out + r * stride, samples + r * 8, 8);
}

void transformAndStoreBlock(const float coefficients[64], bool onlyFirst, std::uint8_t* out, std::ptrdiff_t stride) {
    if (onlyFirst) {
        const std::uint8_t value = sampleOf(coefficients[0]);
        for (int r = 0; r < 8; ++r) std::memset(out + r * stride, value, 8);
        return;
    }
    float samples[64];
    idct8x8(coefficients, samples);
    storeBlock(samples, out, stride);
}
