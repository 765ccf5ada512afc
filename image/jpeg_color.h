// The colour and grey steps of the JPEG decoder: sample rows to RGBA pixels.
#pragma once

#include <cstdint>
#include <vector>

// Each channel is the truncated and clamped value of Y + 1.402 Cr, Y - 0.34414 Cb - 0.71414 Cr
// and Y + 1.772 Cb, computed in double precision from the single-precision constants, with Cb
// and Cr centred on 128; alpha is 255.
//
// The part that depends on the chroma samples of one row, per pixel, so that the luma rows that
// share the chroma row only add their Y.
class JpegChromaRow {
public:
    // Pixel x takes Cb cb[x / cbStep] and Cr cr[x / crStep].
    void set(const std::uint8_t* cb, int cbStep, const std::uint8_t* cr, int crStep, int width);
    // One picture row of luma, width samples, to RGBA.
    void convert(const std::uint8_t* y, std::uint8_t* rgba) const;

private:
    std::vector<std::int16_t> red_, green_, blue_;
    int width_ = 0;
};

// One row in one call.
void convertYCbCrRow(const std::uint8_t* y, const std::uint8_t* cb, int cbStep, const std::uint8_t* cr,
                     int crStep, int width, std::uint8_t* rgba);

// One row of grey samples to RGBA pixels (g, g, g, 255).
void convertGreyRow(const std::uint8_t* y, int width, std::uint8_t* rgba);
