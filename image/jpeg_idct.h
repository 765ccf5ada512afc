// Dequantisation and the floating-point inverse DCT of the JPEG decoder.
#pragma once

#include <cstddef>
#include <cstdint>

// Natural (row-major) index of each position of the zigzag sequence.
extern const std::uint8_t jpegNaturalOrder[64];

// Prescale factor a(k) = sqrt(2) cos(k pi / 16), a(0) = 1.
extern const float jpegPrescale[8];

// Per zigzag position: the quantiser value and the two prescale factors of its column and row,
// so that a coefficient v dequantises to ((quant * v) * column) * row, in that order.
struct JpegDequantTable {
    float quant[64];
    float column[64];
    float row[64];
};

void buildDequantTable(JpegDequantTable& table, const std::int32_t quant[64]);

// The Arai-Agui-Nakajima inverse DCT in single precision, columns first then rows; in and out may
// be the same array.
void idct8x8(const float in[64], float out[64]);

// A transformed block to samples: truncation toward zero, arithmetic shift right by 3, plus 128,
// clamped to 0..255. Row r goes to out + r * stride.
void storeBlock(const float block[64], std::uint8_t* out, std::ptrdiff_t stride);

// idct8x8 then storeBlock; the coefficients are left as they are. When only the first
// coefficient is non-zero every sample equals it after the transform, so the transform is skipped.
void transformAndStoreBlock(const float coefficients[64], bool onlyFirst, std::uint8_t* out, std::ptrdiff_t stride);
