// Colour and grey steps of the JPEG decoder, table driven.
//
// The products of the single-precision constants with a centred chroma value are exact in double
// precision, and so are the sums with Y (they need far fewer than 53 significant bits).
// Truncating an exact non-negative Y + t therefore gives Y + floor(t), and a negative sum clamps
// to 0 either way, so integer offsets floor(t) reproduce the double arithmetic exactly. The green
// offset depends on both chroma values; it is formed from exact fixed-point terms.
#include "image/jpeg_color.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace {

// The green terms are multiples of 2^-25 (0.34414f) and 2^-24 (0.71414f).
constexpr int greenFractionBits = 25;

struct ColorTables {
    std::int16_t red[256];      // floor(1.402f * (cr - 128))
    std::int16_t blue[256];     // floor(1.772f * (cb - 128))
    std::int64_t greenCb[256];  // 0.34414f * (cb - 128) * 2^25, exact
    std::int64_t greenCr[256];  // 0.71414f * (cr - 128) * 2^25, exact

    ColorTables() {
        const double scale = std::ldexp(1.0, greenFractionBits);
        for (int v = 0; v < 256; ++v) {
            const double centred = v - 128;
            red[v] = static_cast<std::int16_t>(std::floor(static_cast<double>(1.402f) * centred));
            blue[v] = static_cast<std::int16_t>(std::floor(static_cast<double>(1.772f) * centred));
            greenCb[v] = static_cast<std::int64_t>(static_cast<double>(0.34414f) * centred * scale);
            greenCr[v] = static_cast<std::int64_t>(static_cast<double>(0.71414f) * centred * scale);
        }
    }
};

const ColorTables& colorTables() {
    static const ColorTables tables;
    return tables;
}

// floor(-(0.34414f Cb + 0.71414f Cr)): an arithmetic shift of the negated exact sum.
inline std::int16_t greenOffsetOf(const ColorTables& t, unsigned cb, unsigned cr) {
    return static_cast<std::int16_t>(-(t.greenCb[cb] + t.greenCr[cr]) >> greenFractionBits);
}

inline std::uint32_t clampLevel(int value) {
    value = value < 0 ? 0 : value;
    value = value > 255 ? 255 : value;
    return static_cast<std::uint32_t>(value);
}

inline std::uint32_t packPixel(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    if constexpr (std::endian::native == std::endian::little) return r | g << 8 | b << 16 | 0xFF000000u;
    else return r << 24 | g << 16 | b << 8 | 0xFFu;
}

}  // namespace

namespace {

// Offsets for chroma samples that each cover `step` pixels.
template <int step>
void setShared(const ColorTables& t, const std::uint8_t* cb, const std::uint8_t* cr, int width, std::int16_t* red,
               std::int16_t* green, std::int16_t* blue) {
    int x = 0;
    for (int s = 0; x + step <= width; ++s, x += step) {
        const unsigned b = cb[s], r = cr[s];
        const std::int16_t redOffset = t.red[r], greenOffset = greenOffsetOf(t, b, r), blueOffset = t.blue[b];
        for (int i = 0; i < step; ++i) {
            red[x + i] = redOffset;
            green[x + i] = greenOffset;
            blue[x + i] = blueOffset;
        }
    }
    for (; x < width; ++x) {
        const unsigned b = cb[x / step], r = cr[x / step];
        red[x] = t.red[r];
        green[x] = greenOffsetOf(t, b, r);
        blue[x] = t.blue[b];
    }
}

}  // namespace

void JpegChromaRow::set(const std::uint8_t* cb, int cbStep, const std::uint8_t* cr, int crStep, int width) {
    const ColorTables& t = colorTables();
    width_ = width;
    red_.resize(static_cast<std::size_t>(width));
    green_.resize(static_cast<std::size_t>(width));
    blue_.resize(static_cast<std::size_t>(width));
    if (cbStep == 1 && crStep == 1) return setShared<1>(t, cb, cr, width, red_.data(), green_.data(), blue_.data());
    if (cbStep == 2 && crStep == 2) return setShared<2>(t, cb, cr, width, red_.data(), green_.data(), blue_.data());
    for (int x = 0; x < width; ++x) {
        const unsigned b = cb[x / cbStep], r = cr[x / crStep];
        red_[x] = t.red[r];
        green_[x] = greenOffsetOf(t, b, r);
        blue_[x] = t.blue[b];
    }
}

void JpegChromaRow::convert(const std::uint8_t* y, std::uint8_t* rgba) const {
    const std::int16_t* red = red_.data();
    const std::int16_t* green = green_.data();
    const std::int16_t* blue = blue_.data();
    const int width = width_;  // a local, or the byte stores below could change it
    for (int x = 0; x < width; ++x) {
        const int luma = y[x];
        const std::uint32_t pixel =
            packPixel(clampLevel(luma + red[x]), clampLevel(luma + green[x]), clampLevel(luma + blue[x]));
        std::memcpy(rgba + 4 * x, &pixel, 4);
    }
}

void convertYCbCrRow(const std::uint8_t* y, const std::uint8_t* cb, int cbStep, const std::uint8_t* cr,
                     int crStep, int width, std::uint8_t* rgba) {
    JpegChromaRow row;
    row.set(cb, cbStep, cr, crStep, width);
    row.convert(y, rgba);
}

void convertGreyRow(const std::uint8_t* y, int width, std::uint8_t* rgba) {
    for (int x = 0; x < width; ++x) {
        const std::uint32_t pixel = packPixel(y[x], y[x], y[x]);
        std::memcpy(rgba + 4 * x, &pixel, 4);
    }
}
