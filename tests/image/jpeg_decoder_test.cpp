#include "image/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <random>
#include <string>

#include "image/jpeg_color.h"
#include "image/jpeg_idct.h"
#include "tests/support/jpeg_reference.h"
#include "tests/support/process.h"

namespace {

// ---- the arithmetic written out plainly, as the reference for exact results ------------------

// Natural index -> position in the zigzag sequence.
constexpr int zigzagOf[64] = {
    0,  1,  5,  6,  14, 15, 27, 28, 2,  4,  7,  13, 16, 26, 29, 42, 3,  8,  12, 17, 25, 30,
    41, 43, 9,  11, 18, 24, 31, 40, 44, 53, 10, 19, 23, 32, 39, 45, 52, 54, 20, 22, 33, 38,
    46, 51, 55, 60, 21, 34, 37, 47, 50, 56, 59, 61, 35, 36, 48, 49, 57, 58, 62, 63,
};
constexpr float prescale[8] = {1.0f, 1.387039845f, 1.306562965f, 1.175875602f,
                               1.0f, 0.785694958f, 0.541196100f, 0.275899379f};

void referencePass(float& i0, float& i1, float& i2, float& i3, float& i4, float& i5, float& i6, float& i7) {
    const float t10 = i0 + i4, t11 = i0 - i4, t13 = i2 + i6;
    const float t12 = (i2 - i6) * 1.414213562f - t13;
    const float e0 = t10 + t13, e3 = t10 - t13, e1 = t11 + t12, e2 = t11 - t12;
    const float z13 = i5 + i3, z10 = i5 - i3, z11 = i1 + i7, z12 = i1 - i7;
    const float p7 = z11 + z13;
    const float p11 = (z11 - z13) * 1.414213562f;
    const float z5 = (z10 + z12) * 1.847759065f;
    const float p10 = z12 * 1.082392200f - z5;
    const float p12 = z5 - z10 * 2.613125930f;
    const float p6 = p12 - p7, p5 = p11 - p6, p4 = p10 + p5;
    i0 = e0 + p7, i7 = e0 - p7, i1 = e1 + p6, i6 = e1 - p6;
    i2 = e2 + p5, i5 = e2 - p5, i4 = e3 + p4, i3 = e3 - p4;
}

void referenceIdct(float* b) {
    for (int c = 0; c < 8; ++c)
        referencePass(b[c], b[8 + c], b[16 + c], b[24 + c], b[32 + c], b[40 + c], b[48 + c], b[56 + c]);
    for (int r = 0; r < 8; ++r) {
        float* p = b + 8 * r;
        referencePass(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]);
    }
}

std::uint8_t referenceLevel(float value) {
    const int level = (static_cast<int>(value) >> 3) + 128;
    return static_cast<std::uint8_t>(level < 0 ? 0 : level > 255 ? 255 : level);
}

// Samples of one block from its quantised coefficients (zigzag order).
std::array<std::uint8_t, 64> referenceBlock(const std::array<int, 64>& coefficients, const std::array<int, 64>& quant) {
    float block[64];
    for (int row = 0; row < 8; ++row)
        for (int column = 0; column < 8; ++column) {
            const int z = zigzagOf[row * 8 + column];
            const float coefficient = static_cast<float>(coefficients[z]);
            block[row * 8 + column] = quant[z] * coefficient * prescale[column] * prescale[row];
        }
    referenceIdct(block);
    std::array<std::uint8_t, 64> samples;
    for (int i = 0; i < 64; ++i) samples[i] = referenceLevel(block[i]);
    return samples;
}

std::uint8_t referenceChannel(double value) {
    const int level = static_cast<int>(value);
    return static_cast<std::uint8_t>(level < 0 ? 0 : level > 255 ? 255 : level);
}

void referenceColour(int y, int cbByte, int crByte, std::uint8_t* rgba) {
    const int cb = cbByte - 128, cr = crByte - 128;
    rgba[0] = referenceChannel(y + static_cast<double>(1.402f) * cr);
    rgba[1] = referenceChannel(y - static_cast<double>(0.34414f) * cb - static_cast<double>(0.71414f) * cr);
    rgba[2] = referenceChannel(y + static_cast<double>(1.772f) * cb);
    rgba[3] = 255;
}

// The picture a hand-made file must decode to: every block through referenceBlock, chroma
// repeated over the pixels it covers, then the colour or grey step.
Bytes referencePicture(const HandMadeJpeg& jpeg) {
    const std::size_t count = jpeg.components.size();
    const int hMax = count == 1 ? 1 : jpeg.components[0].horizontal;
    const int vMax = count == 1 ? 1 : jpeg.components[0].vertical;
    const int mcuColumns = (jpeg.width + 8 * hMax - 1) / (8 * hMax);
    const int mcuRows = (jpeg.height + 8 * vMax - 1) / (8 * vMax);
    const int paddedWidth = mcuColumns * 8 * hMax, paddedHeight = mcuRows * 8 * vMax;
    std::vector<Bytes> planes(count, Bytes(static_cast<std::size_t>(paddedWidth) * paddedHeight));
    std::array<int, 64> ones;
    ones.fill(1);
    std::size_t b = 0;
    for (int my = 0; my < mcuRows; ++my)
        for (int mx = 0; mx < mcuColumns; ++mx)
            for (std::size_t c = 0; c < count; ++c) {
                const HandMadeComponent& component = jpeg.components[c];
                const int h = count == 1 ? 1 : component.horizontal, v = count == 1 ? 1 : component.vertical;
                const int hs = hMax / h, vs = vMax / v;
                const std::array<int, 64>& quant =
                    jpeg.quantTables.empty() ? ones : jpeg.quantTables[static_cast<std::size_t>(component.quantTable)];
                for (int by = 0; by < v; ++by)
                    for (int bx = 0; bx < h; ++bx) {
                        const std::array<std::uint8_t, 64> samples = referenceBlock(jpeg.blocks.at(b++), quant);
                        for (int row = 0; row < 8; ++row)
                            for (int column = 0; column < 8; ++column)
                                for (int sy = 0; sy < vs; ++sy)
                                    for (int sx = 0; sx < hs; ++sx) {
                                        const int x = mx * 8 * hMax + (bx * 8 + column) * hs + sx;
                                        const int y = my * 8 * vMax + (by * 8 + row) * vs + sy;
                                        planes[c][static_cast<std::size_t>(y) * paddedWidth + x] = samples[row * 8 + column];
                                    }
                    }
            }
    Bytes rgba(static_cast<std::size_t>(jpeg.width) * jpeg.height * 4);
    for (int y = 0; y < jpeg.height; ++y)
        for (int x = 0; x < jpeg.width; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * paddedWidth + x;
            std::uint8_t* out = rgba.data() + (static_cast<std::size_t>(y) * jpeg.width + x) * 4;
            if (count == 1) {
                out[0] = out[1] = out[2] = planes[0][at];
                out[3] = 255;
            } else {
                referenceColour(planes[0][at], planes[1][at], planes[2][at], out);
            }
        }
    return rgba;
}

// ---- helpers ---------------------------------------------------------------------------------

class JpegFiles : public testing::Test {
protected:
    static void SetUpTestSuite() { directory_ = makeTempDir("jpeg_decoder_test_"); }
    static void TearDownTestSuite() {
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
    }

    static std::string write(const std::string& name, const Bytes& bytes) {
        const std::string path = directory_ + "/" + name;
        EXPECT_TRUE(writeBytes(path, bytes)) << path;
        return path;
    }

    struct Decoded {
        bool ok = false;
        Bytes pixels;
        int width = -1;
        int height = -1;
        std::string output;
    };

    // Decodes through the file entry point, capturing what it prints.
    static Decoded decode(const std::string& name, const Bytes& bytes) {
        const std::string path = write(name, bytes);
        Decoded result;
        testing::internal::CaptureStdout();
        result.ok = decodeJpegFile(path.c_str(), result.pixels, result.width, result.height);
        result.output = testing::internal::GetCapturedStdout();
        return result;
    }

    // A refused file prints a line naming it and leaves every output as it was.
    static void expectRefused(const std::string& name, const Bytes& bytes) {
        const std::string path = write(name, bytes);
        Bytes pixels = {1, 2, 3};
        int width = -7, height = -9;
        testing::internal::CaptureStdout();
        EXPECT_FALSE(decodeJpegFile(path.c_str(), pixels, width, height)) << name;
        const std::string output = testing::internal::GetCapturedStdout();
        EXPECT_NE(output.find(path), std::string::npos) << name << ": " << output;
        EXPECT_EQ(pixels, (Bytes{1, 2, 3})) << name;
        EXPECT_EQ(width, -7) << name;
        EXPECT_EQ(height, -9) << name;
    }

    static std::string directory_;
};

std::string JpegFiles::directory_;

std::array<int, 64> randomBlock(std::mt19937& random, int dc, int scale) {
    std::array<int, 64> block{};
    block[0] = dc;
    for (int k = 1; k < 64; ++k) {
        // Fewer and smaller coefficients towards high frequencies, with long zero runs.
        if (static_cast<int>(random() % 64) < 64 - k) {
            const int limit = scale * 2 / (1 + k / 4) + 1;
            block[k] = static_cast<int>(random() % (2 * limit + 1)) - limit;
        }
    }
    if (random() % 4 == 0) block[60] = 3;  // a zero run longer than 16 before it
    return block;
}

HandMadeJpeg randomColourJpeg(int width, int height, int lumaH, int lumaV, unsigned seed) {
    std::mt19937 random(seed);
    HandMadeJpeg jpeg;
    jpeg.width = width;
    jpeg.height = height;
    jpeg.components = {{1, lumaH, lumaV, 0}, {2, 1, 1, 1}, {3, 1, 1, 1}};
    jpeg.quantTables.resize(2);
    for (int k = 0; k < 64; ++k) {
        jpeg.quantTables[0][k] = 1 + static_cast<int>(random() % 40);
        jpeg.quantTables[1][k] = 200 + static_cast<int>(random() % 200);  // word entries
    }
    const int mcus = ((width + 8 * lumaH - 1) / (8 * lumaH)) * ((height + 8 * lumaV - 1) / (8 * lumaV));
    for (int m = 0; m < mcus; ++m) {
        for (int i = 0; i < lumaH * lumaV; ++i)
            jpeg.blocks.push_back(randomBlock(random, static_cast<int>(random() % 200) - 100, 30));
        for (int c = 0; c < 2; ++c) jpeg.blocks.push_back(randomBlock(random, static_cast<int>(random() % 6) - 3, 2));
    }
    return jpeg;
}

HandMadeJpeg dcOnlyGreyJpeg(int dc) {
    HandMadeJpeg jpeg;
    std::array<int, 64> block{};
    block[0] = dc;
    jpeg.blocks = {block};
    return jpeg;
}

HandMadeJpeg dcOnlyColourJpeg(int y, int cb, int cr) {
    HandMadeJpeg jpeg;
    jpeg.components = {{1, 1, 1, 0}, {2, 1, 1, 0}, {3, 1, 1, 0}};
    for (int dc : {y, cb, cr}) {
        std::array<int, 64> block{};
        block[0] = dc;
        jpeg.blocks.push_back(block);
    }
    return jpeg;
}

void expectAllPixels(const Bytes& pixels, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    ASSERT_EQ(pixels.size() % 4, 0u);
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        ASSERT_EQ(pixels[i], r) << "pixel " << i / 4;
        ASSERT_EQ(pixels[i + 1], g) << "pixel " << i / 4;
        ASSERT_EQ(pixels[i + 2], b) << "pixel " << i / 4;
        ASSERT_EQ(pixels[i + 3], 255) << "pixel " << i / 4;
    }
}

// ---- exact arithmetic ------------------------------------------------------------------------

TEST(JpegColourStep, EveryYCbCrTripleMatchesTheDoubleArithmetic) {
    std::uint8_t luma[256], cb[256], cr[256];
    for (int i = 0; i < 256; ++i) luma[i] = static_cast<std::uint8_t>(i);
    Bytes ours(256 * 4);
    std::uint8_t expected[4];
    for (int cbValue = 0; cbValue < 256; ++cbValue) {
        for (int crValue = 0; crValue < 256; ++crValue) {
            std::memset(cb, cbValue, sizeof cb);
            std::memset(cr, crValue, sizeof cr);
            convertYCbCrRow(luma, cb, 1, cr, 1, 256, ours.data());
            for (int y = 0; y < 256; ++y) {
                referenceColour(y, cbValue, crValue, expected);
                ASSERT_EQ(std::memcmp(ours.data() + 4 * y, expected, 4), 0)
                    << "Y " << y << " Cb " << cbValue << " Cr " << crValue;
            }
        }
    }
}

TEST(JpegColourStep, ChromaStepsRepeatSamplesAcrossPixels) {
    std::mt19937 random(7);
    std::uint8_t luma[33], cb[33], cr[33];
    for (auto* row : {luma, cb, cr})
        for (int i = 0; i < 33; ++i) row[i] = static_cast<std::uint8_t>(random());
    for (int cbStep : {1, 2, 3, 4}) {
        for (int crStep : {1, 2, 4}) {
            Bytes ours(33 * 4);
            convertYCbCrRow(luma, cb, cbStep, cr, crStep, 33, ours.data());
            for (int x = 0; x < 33; ++x) {
                std::uint8_t expected[4];
                referenceColour(luma[x], cb[x / cbStep], cr[x / crStep], expected);
                EXPECT_EQ(std::memcmp(ours.data() + 4 * x, expected, 4), 0) << cbStep << "/" << crStep << " x " << x;
            }
        }
    }
    Bytes grey(33 * 4);
    convertGreyRow(luma, 33, grey.data());
    for (int x = 0; x < 33; ++x) {
        EXPECT_EQ(grey[4 * x], luma[x]);
        EXPECT_EQ(grey[4 * x + 1], luma[x]);
        EXPECT_EQ(grey[4 * x + 2], luma[x]);
        EXPECT_EQ(grey[4 * x + 3], 255);
    }
}

TEST(JpegTransform, MatchesThePlainArithmeticOnRandomBlocks) {
    std::mt19937 random(3);
    for (int trial = 0; trial < 20000; ++trial) {
        float block[64], reference[64];
        const float scale = trial % 3 == 0 ? 4000.0f : trial % 3 == 1 ? 300.0f : 30.0f;
        for (int i = 0; i < 64; ++i) {
            const bool sparse = trial % 2 == 0 && i > 10;
            block[i] = sparse ? 0.0f : (static_cast<float>(random() % 20001) / 10000.0f - 1.0f) * scale;
            reference[i] = block[i];
        }
        std::uint8_t ours[8 * 11];
        transformAndStoreBlock(block, false, ours, 11);
        referenceIdct(reference);
        for (int i = 0; i < 64; ++i)
            ASSERT_EQ(ours[(i / 8) * 11 + i % 8], referenceLevel(reference[i])) << "trial " << trial << " sample " << i;
    }
}

TEST(JpegTransform, OnlyFirstShortcutEqualsTheFullTransform) {
    for (int quant : {1, 3, 16, 255, 65535}) {
        for (int dc = -2100; dc <= 2100; ++dc) {
            float shortcut[64] = {}, full[64] = {};
            shortcut[0] = full[0] = static_cast<float>(quant) * static_cast<float>(dc);
            std::uint8_t fast[64], slow[64];
            transformAndStoreBlock(shortcut, true, fast, 8);
            transformAndStoreBlock(full, false, slow, 8);
            ASSERT_EQ(std::memcmp(fast, slow, 64), 0) << "quant " << quant << " dc " << dc;
        }
    }
}

TEST(JpegTransform, LevelsBeyondTheIntegerRangeClamp) {
    float huge[64] = {}, tiny[64] = {};
    huge[0] = 1e15f;
    tiny[0] = -1e15f;
    std::uint8_t high[64], low[64];
    transformAndStoreBlock(huge, false, high, 8);
    transformAndStoreBlock(tiny, false, low, 8);
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(high[i], 255);
        EXPECT_EQ(low[i], 0);
    }
}

using JpegExactValues = JpegFiles;

TEST_F(JpegExactValues, DcOnlyGreyBlocksTruncateThenShift) {
    // Level = ((int)(quant * dc) >> 3) + 128: -3 gives -1, so 127 where rounding would give 128.
    const struct {
        int dc;
        std::uint8_t level;
    } cases[] = {{0, 128}, {-3, 127}, {100, 140}, {-9, 126}, {1016, 255}, {-1024, 0}, {7, 128}, {-1, 127}};
    for (const auto& c : cases) {
        const Decoded d = decode("dc.jpg", buildHandMadeJpeg(dcOnlyGreyJpeg(c.dc)));
        ASSERT_TRUE(d.ok) << d.output;
        EXPECT_EQ(d.width, 8);
        EXPECT_EQ(d.height, 8);
        expectAllPixels(d.pixels, c.level, c.level, c.level);
    }
}

TEST_F(JpegExactValues, ColourStepOfKnownSamples) {
    // Y = 200 (DC 576), Cb = Cr = 128.
    Decoded d = decode("y200.jpg", buildHandMadeJpeg(dcOnlyColourJpeg(576, 0, 0)));
    ASSERT_TRUE(d.ok) << d.output;
    expectAllPixels(d.pixels, 200, 200, 200);
    // Y = 16, Cb = 128, Cr = 240: R = 16 + 1.402 x 112 = 173.02; G = 16 - 0.71414 x 112 < 0.
    d = decode("y16.jpg", buildHandMadeJpeg(dcOnlyColourJpeg(-896, 0, 896)));
    ASSERT_TRUE(d.ok) << d.output;
    expectAllPixels(d.pixels, 173, 0, 16);
}

TEST_F(JpegExactValues, RandomCoefficientsDecodeExactly) {
    struct Layout {
        const char* name;
        int width, height, lumaH, lumaV, restartInterval;
    };
    for (const Layout& layout : {Layout{"s420", 32, 16, 2, 2, 0}, Layout{"s420_cropped", 27, 13, 2, 2, 0},
                                 Layout{"s422", 40, 24, 2, 1, 0}, Layout{"s444", 13, 9, 1, 1, 0},
                                 Layout{"s440", 16, 32, 1, 2, 0}, Layout{"s411", 64, 8, 4, 1, 0},
                                 Layout{"s420_restarts", 48, 32, 2, 2, 2}}) {
        HandMadeJpeg jpeg = randomColourJpeg(layout.width, layout.height, layout.lumaH, layout.lumaV, 11);
        jpeg.restartInterval = layout.restartInterval;
        const Decoded d = decode(std::string(layout.name) + ".jpg", buildHandMadeJpeg(jpeg));
        ASSERT_TRUE(d.ok) << layout.name << ": " << d.output;
        EXPECT_EQ(d.output, "") << layout.name;
        ASSERT_EQ(d.width, layout.width);
        ASSERT_EQ(d.height, layout.height);
        const Bytes expected = referencePicture(jpeg);
        ASSERT_EQ(d.pixels.size(), expected.size()) << layout.name;
        for (std::size_t i = 0; i < expected.size(); ++i)
            ASSERT_EQ(d.pixels[i], expected[i]) << layout.name << " pixel " << i / 4 << " channel " << i % 4;
    }
}

TEST_F(JpegExactValues, GreyPicturesRepeatTheSampleInEveryChannel) {
    std::mt19937 random(5);
    HandMadeJpeg jpeg;
    jpeg.width = 20;
    jpeg.height = 12;
    jpeg.quantTables.resize(1);
    for (int& q : jpeg.quantTables[0]) q = 1 + static_cast<int>(random() % 30);
    for (int b = 0; b < 6; ++b) jpeg.blocks.push_back(randomBlock(random, static_cast<int>(random() % 100) - 50, 20));
    const Decoded d = decode("grey.jpg", buildHandMadeJpeg(jpeg));
    ASSERT_TRUE(d.ok) << d.output;
    // 3 x 2 blocks, of which only the 20 x 12 pixels inside the picture are written.
    ASSERT_EQ(d.pixels.size(), 20u * 12u * 4u);
    EXPECT_EQ(d.pixels, referencePicture(jpeg));
}

// ---- against libjpeg-turbo -------------------------------------------------------------------

enum class Edit { none, appAndComment, mergedTables, fillBytes };

struct MatchCase {
    const char* name;
    int width, height, components;
    ChromaSampling sampling;
    int quality;
    int restartRows = 0;
    int restartMcus = 0;
    int greyFactor = 1;
    Edit edit = Edit::none;
};

// gtest prints the parameter into every case's CTest name; raw bytes there help nobody.
void PrintTo(const MatchCase& c, std::ostream* out) {
    static const char* const samplings[] = {"4:4:4", "4:2:2", "4:2:0"};
    *out << c.width << 'x' << c.height << ' ' << (c.components == 1 ? "grey" : samplings[static_cast<int>(c.sampling)])
         << " q" << c.quality;
    if (c.restartRows != 0) *out << " restart rows=" << c.restartRows;
    if (c.restartMcus != 0) *out << " restart MCUs=" << c.restartMcus;
    if (c.greyFactor != 1) *out << " factors " << c.greyFactor << 'x' << c.greyFactor;
    static const char* const edits[] = {"", " with APPn and COM segments", " with one DHT segment", " with fill bytes"};
    *out << edits[static_cast<int>(c.edit)];
}

Bytes applyEdit(const Bytes& file, Edit edit) {
    JpegLayout layout = splitJpeg(file);
    switch (edit) {
    case Edit::none:
        return file;
    case Edit::appAndComment: {
        Bytes exif(100);
        for (std::size_t i = 0; i < exif.size(); ++i) exif[i] = static_cast<std::uint8_t>(i * 37);  // 0xFF included
        const std::string text = "made by the decoder tests";
        layout.segments.insert(layout.segments.begin() + 1,
                               {{0xE1, exif}, {0xFE, Bytes(text.begin(), text.end())}, {0xEF, Bytes{1, 2, 3}}});
        return joinJpeg(layout);
    }
    case Edit::mergedTables: {
        JpegLayout merged;
        merged.tail = layout.tail;
        int tables = 0;
        for (const JpegSegment& segment : layout.segments) {
            if (segment.marker != 0xC4) {
                merged.segments.push_back(segment);
                continue;
            }
            if (tables++ == 0) merged.segments.push_back({0xC4, {}});
            for (JpegSegment& s : merged.segments)
                if (s.marker == 0xC4) s.payload.insert(s.payload.end(), segment.payload.begin(), segment.payload.end());
        }
        EXPECT_GE(tables, 2);
        return joinJpeg(merged);
    }
    case Edit::fillBytes: {
        Bytes out = {0xFF, 0xD8};
        for (const JpegSegment& segment : layout.segments) {
            out.insert(out.end(), {0xFF, 0xFF, 0xFF});  // fill before the marker
            const std::size_t length = segment.payload.size() + 2;
            out.insert(out.end(), {0xFF, segment.marker, static_cast<std::uint8_t>(length >> 8),
                                   static_cast<std::uint8_t>(length)});
            out.insert(out.end(), segment.payload.begin(), segment.payload.end());
        }
        out.insert(out.end(), layout.tail.begin(), layout.tail.end());
        return out;
    }
    }
    return file;
}

class JpegMatchesLibjpeg : public JpegFiles, public testing::WithParamInterface<MatchCase> {};

TEST_P(JpegMatchesLibjpeg, WithinALevelOrSo) {
    const MatchCase& c = GetParam();
    const TestPicture picture = makePhotoPicture(c.width, c.height, c.components, 1);
    EncodeOptions options;
    options.quality = c.quality;
    options.sampling = c.sampling;
    options.restartRows = c.restartRows;
    options.restartMcus = c.restartMcus;
    options.greyFactor = c.greyFactor;
    const Bytes file = applyEdit(encodeWithLibjpeg(picture, options), c.edit);
    ASSERT_FALSE(file.empty());

    Bytes reference;
    int referenceWidth = 0, referenceHeight = 0;
    ASSERT_TRUE(decodeWithLibjpeg(file, reference, referenceWidth, referenceHeight));
    const Decoded d = decode(std::string(c.name) + ".jpg", file);
    ASSERT_TRUE(d.ok) << d.output;
    EXPECT_EQ(d.output, "");
    ASSERT_EQ(d.width, c.width);
    ASSERT_EQ(d.height, c.height);
    ASSERT_EQ(d.pixels.size(), static_cast<std::size_t>(c.width) * c.height * 4);
    ASSERT_EQ(referenceWidth, c.width);
    ASSERT_EQ(referenceHeight, c.height);

    const ChannelDifferences diff = compareRgba(d.pixels, reference, c.width, 0, c.height);
    const char* channels = "RGBA";
    for (int ch = 0; ch < 4; ++ch) {
        RecordProperty(std::string("largest_") + channels[ch], diff.largest[ch]);
        RecordProperty(std::string("mean_") + channels[ch], std::to_string(diff.mean[ch]));
    }
    std::printf("[jpeg vs libjpeg-turbo] %-22s largest R %d G %d B %d A %d  mean R %.3f G %.3f B %.3f A %.3f\n",
                c.name, diff.largest[0], diff.largest[1], diff.largest[2], diff.largest[3], diff.mean[0],
                diff.mean[1], diff.mean[2], diff.mean[3]);
    for (int ch = 0; ch < 4; ++ch) {
        EXPECT_LE(diff.largest[ch], 5) << channels[ch];
        EXPECT_LE(diff.mean[ch], 2.0) << channels[ch];
    }
}

constexpr ChromaSampling s444 = ChromaSampling::s444, s422 = ChromaSampling::s422, s420 = ChromaSampling::s420;

INSTANTIATE_TEST_SUITE_P(
    JpegCases, JpegMatchesLibjpeg,
    testing::Values(
        MatchCase{"grey", 256, 192, 1, s444, 90}, MatchCase{"s444", 256, 192, 3, s444, 90},
        MatchCase{"s422", 256, 192, 3, s422, 90}, MatchCase{"s420", 256, 192, 3, s420, 90},
        MatchCase{"s420_restart_rows", 256, 192, 3, s420, 90, 1},
        MatchCase{"grey_restart_rows", 256, 192, 1, s444, 90, 1},
        MatchCase{"s422_restart_3_mcus", 200, 64, 3, s422, 90, 0, 3},
        MatchCase{"grey_2x2_factors", 100, 60, 1, s444, 90, 0, 0, 2},
        MatchCase{"s420_1x1", 1, 1, 3, s420, 90}, MatchCase{"s420_20x12", 20, 12, 3, s420, 90},
        MatchCase{"s420_33x17", 33, 17, 3, s420, 90}, MatchCase{"s420_1023x1", 1023, 1, 3, s420, 90},
        MatchCase{"s422_33x17", 33, 17, 3, s422, 90}, MatchCase{"s444_33x17", 33, 17, 3, s444, 90},
        MatchCase{"grey_1x1", 1, 1, 1, s444, 90}, MatchCase{"grey_20x12", 20, 12, 1, s444, 90},
        MatchCase{"grey_33x17", 33, 17, 1, s444, 90}, MatchCase{"grey_1023x1", 1023, 1, 1, s444, 90},
        MatchCase{"s420_q5", 256, 192, 3, s420, 5}, MatchCase{"s420_q50", 256, 192, 3, s420, 50},
        MatchCase{"s420_q95", 256, 192, 3, s420, 95}, MatchCase{"s420_q100", 256, 192, 3, s420, 100},
        MatchCase{"s444_q5", 256, 192, 3, s444, 5}, MatchCase{"s444_q100", 256, 192, 3, s444, 100},
        MatchCase{"grey_q5", 256, 192, 1, s444, 5}, MatchCase{"grey_q100", 256, 192, 1, s444, 100},
        MatchCase{"app_and_comment", 96, 64, 3, s420, 90, 0, 0, 1, Edit::appAndComment},
        MatchCase{"one_dht_segment", 96, 64, 3, s420, 90, 0, 0, 1, Edit::mergedTables},
        MatchCase{"fill_bytes", 96, 64, 3, s420, 90, 0, 0, 1, Edit::fillBytes}),
    [](const testing::TestParamInfo<MatchCase>& info) { return std::string(info.param.name); });

// ---- restart markers -------------------------------------------------------------------------

using JpegRestart = JpegFiles;

TEST_F(JpegRestart, DamageStaysInsideItsInterval) {
    const TestPicture picture = makePhotoPicture(128, 96, 3, 2);
    EncodeOptions options;
    options.restartRows = 1;
    const Bytes clean = encodeWithLibjpeg(picture, options);
    Bytes reference;
    int width = 0, height = 0;
    ASSERT_TRUE(decodeWithLibjpeg(clean, reference, width, height));

    const std::size_t start = scanDataOffset(clean);
    std::size_t firstMarker = start;
    while (!(clean[firstMarker] == 0xFF && clean[firstMarker + 1] >= 0xD0 && clean[firstMarker + 1] <= 0xD7)) ++firstMarker;
    // Several kinds of damage inside the first MCU row: a flipped byte, ones, zeros.
    for (const std::uint8_t value : {std::uint8_t{0x5A}, std::uint8_t{0xFE}, std::uint8_t{0x00}}) {
        for (const std::size_t at : {start + 3, (start + firstMarker) / 2}) {
            Bytes damaged = clean;
            damaged[at] = static_cast<std::uint8_t>(value == 0x5A ? damaged[at] ^ value : value);
            const Decoded d = decode("damaged.jpg", damaged);
            ASSERT_TRUE(d.ok) << d.output;
            const ChannelDifferences diff = compareRgba(d.pixels, reference, width, 16, height);
            for (int ch = 0; ch < 4; ++ch) {
                EXPECT_LE(diff.largest[ch], 5) << "byte " << at << " channel " << ch;
                EXPECT_LE(diff.mean[ch], 2.0) << "byte " << at << " channel " << ch;
            }
        }
    }
}

TEST_F(JpegRestart, StuffedByteRightAfterAMarker) {
    // At quality 100 a black block starting an interval has DC -1024, whose code begins with eight
    // one bits: the interval's first byte is a stuffed 0xFF.
    TestPicture picture = makePhotoPicture(64, 64, 1, 3);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 8; ++x) picture.samples[static_cast<std::size_t>(y) * 64 + x] = 0;
    EncodeOptions options;
    options.quality = 100;
    options.restartRows = 1;
    const Bytes file = encodeWithLibjpeg(picture, options);
    bool stuffedAfterMarker = false;
    for (std::size_t i = 0; i + 3 < file.size(); ++i)
        stuffedAfterMarker = stuffedAfterMarker || (file[i] == 0xFF && file[i + 1] >= 0xD0 && file[i + 1] <= 0xD7 &&
                                                    file[i + 2] == 0xFF && file[i + 3] == 0x00);
    ASSERT_TRUE(stuffedAfterMarker);

    Bytes reference;
    int width = 0, height = 0;
    ASSERT_TRUE(decodeWithLibjpeg(file, reference, width, height));
    const Decoded d = decode("stuffed.jpg", file);
    ASSERT_TRUE(d.ok) << d.output;
    EXPECT_EQ(d.output, "");
    const ChannelDifferences diff = compareRgba(d.pixels, reference, width, 0, height);
    for (int ch = 0; ch < 4; ++ch) EXPECT_LE(diff.largest[ch], 5) << ch;
}

// ---- refused files ---------------------------------------------------------------------------

using JpegRefused = JpegFiles;

Bytes validColourFile() {
    return encodeWithLibjpeg(makePhotoPicture(48, 32, 3, 4), EncodeOptions{});
}

// The first segment with this marker.
JpegSegment& segmentOf(JpegLayout& layout, std::uint8_t marker) {
    for (JpegSegment& s : layout.segments)
        if (s.marker == marker) return s;
    ADD_FAILURE() << "no segment " << int(marker);
    return layout.segments.front();
}

TEST_F(JpegRefused, MissingFile) {
    Bytes pixels = {9};
    int width = 3, height = 4;
    const std::string path = directory_ + "/no such file.jpg";
    testing::internal::CaptureStdout();
    EXPECT_FALSE(decodeJpegFile(path.c_str(), pixels, width, height));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "File " + path + " not found!\n");
    EXPECT_EQ(pixels, Bytes{9});
    EXPECT_EQ(width, 3);
    EXPECT_EQ(height, 4);
}

TEST_F(JpegRefused, ProgressiveArithmeticAndMultiScanFiles) {
    const TestPicture picture = makePhotoPicture(64, 48, 3, 5);
    EncodeOptions progressive, arithmetic, separate;
    progressive.progressive = true;
    arithmetic.arithmetic = true;
    separate.separateScans = true;
    const Bytes progressiveFile = encodeWithLibjpeg(picture, progressive);
    const Bytes arithmeticFile = encodeWithLibjpeg(picture, arithmetic);
    const Bytes separateFile = encodeWithLibjpeg(picture, separate);
    ASSERT_FALSE(arithmeticFile.empty());
    ASSERT_FALSE(separateFile.empty());
    JpegLayout layout = splitJpeg(progressiveFile);
    segmentOf(layout, 0xC2);
    expectRefused("progressive.jpg", progressiveFile);
    expectRefused("arithmetic.jpg", arithmeticFile);
    expectRefused("separate_scans.jpg", separateFile);
    // Every other frame type but baseline.
    for (int marker : {0xC1, 0xC3, 0xC5, 0xC6, 0xC7, 0xC8, 0xCA, 0xCB, 0xCD, 0xCE, 0xCF}) {
        JpegLayout layout = splitJpeg(validColourFile());
        segmentOf(layout, 0xC0).marker = static_cast<std::uint8_t>(marker);
        expectRefused("frame_" + std::to_string(marker) + ".jpg", joinJpeg(layout));
    }
}

TEST_F(JpegRefused, ComponentCountsOtherThanOneAndThree) {
    for (int count : {0, 2, 4}) {
        HandMadeJpeg jpeg;
        jpeg.components.clear();
        for (int c = 0; c < count; ++c) jpeg.components.push_back({c + 1, 1, 1, 0});
        jpeg.entropyData = {0x00};
        expectRefused("components_" + std::to_string(count) + ".jpg", buildHandMadeJpeg(jpeg));
    }
}

TEST_F(JpegRefused, SamplePrecisionOtherThanEight) {
    for (int precision : {0, 7, 12, 16}) {
        HandMadeJpeg jpeg = dcOnlyGreyJpeg(0);
        jpeg.precision = precision;
        expectRefused("precision_" + std::to_string(precision) + ".jpg", buildHandMadeJpeg(jpeg));
    }
}

TEST_F(JpegRefused, EmptyAndOversizedPictures) {
    for (const auto& [w, h] : {std::pair{0, 8}, std::pair{8, 0}, std::pair{65535, 65535}, std::pair{8193, 8192}}) {
        HandMadeJpeg jpeg = dcOnlyGreyJpeg(0);
        jpeg.width = w;
        jpeg.height = h;
        jpeg.entropyData = {0x00};
        expectRefused("size_" + std::to_string(w) + "x" + std::to_string(h) + ".jpg", buildHandMadeJpeg(jpeg));
    }
}

TEST_F(JpegRefused, BadSamplingFactors) {
    const struct {
        const char* name;
        int lumaH, lumaV, chromaH, chromaV;
    } cases[] = {{"zero", 0, 1, 1, 1}, {"five", 5, 1, 1, 1}, {"chroma_larger", 1, 1, 2, 2},
                 {"not_dividing", 3, 1, 2, 1}, {"chroma_zero", 2, 2, 1, 0}};
    for (const auto& c : cases) {
        HandMadeJpeg jpeg;
        jpeg.components = {{1, c.lumaH, c.lumaV, 0}, {2, c.chromaH, c.chromaV, 0}, {3, 1, 1, 0}};
        jpeg.entropyData = {0x00};
        expectRefused(std::string("sampling_") + c.name + ".jpg", buildHandMadeJpeg(jpeg));
    }
}

TEST_F(JpegRefused, TableIdentifiersAboveThree) {
    {
        JpegLayout layout = splitJpeg(validColourFile());
        segmentOf(layout, 0xC4).payload[0] |= 5;  // DHT
        expectRefused("dht_id5.jpg", joinJpeg(layout));
    }
    {
        JpegLayout layout = splitJpeg(validColourFile());
        segmentOf(layout, 0xDB).payload[0] = 5;  // DQT
        expectRefused("dqt_id5.jpg", joinJpeg(layout));
    }
    {
        JpegLayout layout = splitJpeg(validColourFile());
        segmentOf(layout, 0xC0).payload[6 + 2] = 5;  // the first component's quantisation table
        expectRefused("sof_quant_id5.jpg", joinJpeg(layout));
    }
    {
        JpegLayout layout = splitJpeg(validColourFile());
        segmentOf(layout, 0xDA).payload[2] = 0x05;  // the first component's AC table
        expectRefused("sos_ac_id5.jpg", joinJpeg(layout));
        segmentOf(layout, 0xDA).payload[2] = 0x50;
        expectRefused("sos_dc_id5.jpg", joinJpeg(layout));
    }
}

TEST_F(JpegRefused, TablesNeverDefined) {
    {
        JpegLayout layout = splitJpeg(validColourFile());
        segmentOf(layout, 0xDA).payload[2] = 0x22;  // tables 2 exist nowhere
        expectRefused("undefined_huffman.jpg", joinJpeg(layout));
    }
    {
        JpegLayout layout = splitJpeg(validColourFile());
        segmentOf(layout, 0xC0).payload[6 + 2] = 3;
        expectRefused("undefined_quant.jpg", joinJpeg(layout));
    }
    {
        JpegLayout layout = splitJpeg(validColourFile());
        segmentOf(layout, 0xDA).payload[1] = 0x77;  // names no component of the frame
        expectRefused("scan_without_luma.jpg", joinJpeg(layout));
    }
}

TEST_F(JpegRefused, BadHuffmanCounts) {
    HandMadeJpeg jpeg = dcOnlyGreyJpeg(0);
    Bytes file = buildHandMadeJpeg(jpeg);
    {
        // Three codes of length 1.
        JpegLayout layout = splitJpeg(file);
        Bytes& dht = segmentOf(layout, 0xC4).payload;
        dht[1] = 3;
        expectRefused("three_one_bit_codes.jpg", joinJpeg(layout));
    }
    {
        // 17 codes of length 4.
        JpegLayout layout = splitJpeg(file);
        Bytes& dht = segmentOf(layout, 0xC4).payload;
        dht[4] = 17;
        dht.insert(dht.begin() + 17 + 16, 16);
        expectRefused("seventeen_four_bit_codes.jpg", joinJpeg(layout));
    }
    {
        // More than 256 symbols.
        JpegLayout layout = splitJpeg(file);
        Bytes table = {0x11};
        for (int n = 1; n <= 16; ++n) table.push_back(n >= 15 ? 255 : 0);
        table.resize(table.size() + 510, 0);
        layout.segments.insert(layout.segments.begin(), {0xC4, table});
        expectRefused("too_many_symbols.jpg", joinJpeg(layout));
    }
    {
        // Counts asking for more symbols than the segment holds.
        JpegLayout layout = splitJpeg(file);
        Bytes& dht = segmentOf(layout, 0xC4).payload;
        dht.resize(17 + 10);
        expectRefused("short_table.jpg", joinJpeg(layout));
    }
}

TEST_F(JpegRefused, SegmentLengths) {
    const Bytes file = validColourFile();
    {
        // An APP1 segment claiming more bytes than the file has.
        Bytes broken(file.begin(), file.begin() + 2);
        broken.insert(broken.end(), {0xFF, 0xE1, 0xFF, 0xF0, 1, 2, 3});
        broken.insert(broken.end(), file.begin() + 2, file.begin() + 200);
        expectRefused("app_past_end.jpg", broken);
    }
    {
        Bytes broken(file.begin(), file.begin() + 2);
        broken.insert(broken.end(), {0xFF, 0xFE, 0x00, 0x01});
        broken.insert(broken.end(), file.begin() + 2, file.end());
        expectRefused("length_1.jpg", broken);
    }
    {
        // A quantisation table cut short by its segment length.
        JpegLayout layout = splitJpeg(file);
        segmentOf(layout, 0xDB).payload.resize(40);
        expectRefused("short_dqt.jpg", joinJpeg(layout));
    }
    {
        // A frame header whose length does not match its component count.
        JpegLayout layout = splitJpeg(file);
        segmentOf(layout, 0xC0).payload.push_back(0);
        expectRefused("long_sof.jpg", joinJpeg(layout));
    }
    expectRefused("empty.jpg", Bytes{});
    expectRefused("not_a_marker.jpg", Bytes{0x12, 0x34, 0x56});
    expectRefused("eoi_first.jpg", Bytes{0xFF, 0xD8, 0xFF, 0xD9});
}

// ---- damaged image data ----------------------------------------------------------------------

using JpegDamagedData = JpegFiles;

TEST_F(JpegDamagedData, TruncatedFiles) {
    const TestPicture picture = makePhotoPicture(64, 128, 3, 6);
    const Bytes file = encodeWithLibjpeg(picture, EncodeOptions{});
    const Decoded full = decode("full.jpg", file);
    ASSERT_TRUE(full.ok);
    const std::size_t scan = scanDataOffset(file);

    // Cut inside the headers: refused.
    for (std::size_t size : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{20}, std::size_t{100},
                             scan - 5, scan - 1})
        expectRefused("cut_" + std::to_string(size) + ".jpg", Bytes(file.begin(), file.begin() + static_cast<long>(size)));

    // Cut inside the image data: decoded as far as the data goes, the rest grey, with a message.
    for (std::size_t size : {scan, scan + 1, scan + (file.size() - scan) / 2, file.size() - 40}) {
        const Decoded d = decode("cut.jpg", Bytes(file.begin(), file.begin() + static_cast<long>(size)));
        ASSERT_TRUE(d.ok) << size;
        EXPECT_NE(d.output.find("cut.jpg"), std::string::npos) << size;
        ASSERT_EQ(d.pixels.size(), full.pixels.size());
        if (size <= scan + (file.size() - scan) / 2) {
            // The last rows were not reached: mid grey.
            const std::size_t last = d.pixels.size() - 4;
            EXPECT_EQ(d.pixels[last], 128);
            EXPECT_EQ(d.pixels[last + 1], 128);
            EXPECT_EQ(d.pixels[last + 2], 128);
            EXPECT_EQ(d.pixels[last + 3], 255);
        }
        if (size > scan + (file.size() - scan) / 4) {
            // The first MCU row lies well inside the data that is left.
            EXPECT_TRUE(std::equal(d.pixels.begin(), d.pixels.begin() + 64 * 16 * 4, full.pixels.begin())) << size;
        }
    }

    // Only the end-of-image marker missing: the whole picture.
    const Decoded noEnd = decode("no_eoi.jpg", Bytes(file.begin(), file.end() - 2));
    ASSERT_TRUE(noEnd.ok);
    EXPECT_EQ(noEnd.output, "");
    EXPECT_EQ(noEnd.pixels, full.pixels);
}

TEST_F(JpegDamagedData, CodeThatMatchesNothing) {
    HandMadeJpeg jpeg = dcOnlyGreyJpeg(0);
    jpeg.width = 16;
    jpeg.dcSymbols = 12;  // 1100 to 1111 are no code
    JpegBitWriter bits;
    bits.put(0b0100, 4);  // category 4
    bits.put(0b1111, 4);  // +15
    bits.put(0x00, 8);    // end of block
    bits.put(0xFFFF, 16); // no code
    jpeg.entropyData = bits.finish();
    const Decoded d = decode("no_code.jpg", buildHandMadeJpeg(jpeg));
    ASSERT_TRUE(d.ok);
    EXPECT_NE(d.output.find("no_code.jpg"), std::string::npos);
    // The first block decoded (DC 15: level 129), the second stays grey.
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) EXPECT_EQ(d.pixels[(y * 16 + x) * 4], x < 8 ? 129 : 128) << x << "," << y;
}

TEST_F(JpegDamagedData, ZeroRunPastTheLastCoefficient) {
    HandMadeJpeg jpeg = dcOnlyGreyJpeg(0);
    jpeg.width = 16;
    JpegBitWriter bits;
    bits.put(0, 4);  // DC difference 0
    bits.put(0x00, 8);
    bits.put(0, 4);
    for (int i = 0; i < 3; ++i) bits.put(0xF0, 8);  // 48 zeros
    bits.put(0xF1, 8);                              // 15 more zeros then a value: past 63
    bits.put(1, 1);
    jpeg.entropyData = bits.finish();
    const Decoded d = decode("long_run.jpg", buildHandMadeJpeg(jpeg));
    ASSERT_TRUE(d.ok);
    EXPECT_NE(d.output.find("long_run.jpg"), std::string::npos);
    for (int x = 0; x < 16; ++x) EXPECT_EQ(d.pixels[x * 4], 128);
}

TEST_F(JpegDamagedData, DcPredictionWrapsInsteadOfOverflowing) {
    // 257 x 256 blocks, each adding the largest difference: the sum passes 2^31.
    HandMadeJpeg jpeg = dcOnlyGreyJpeg(0);
    jpeg.width = 257 * 8;
    jpeg.height = 256 * 8;
    JpegBitWriter bits;
    for (int b = 0; b < 257 * 256; ++b) {
        bits.put(15, 4);
        bits.put(32767, 15);
        bits.put(0x00, 8);
    }
    jpeg.entropyData = bits.finish();
    const Decoded d = decode("wrap.jpg", buildHandMadeJpeg(jpeg));
    ASSERT_TRUE(d.ok) << d.output;
    EXPECT_EQ(d.output, "");
    EXPECT_EQ(d.pixels[0], 255);
}

TEST_F(JpegDamagedData, RandomDamageNeverEscapesTheBuffers) {
    // Mostly a check for the sanitizer build: every outcome is acceptable but a crash.
    const Bytes file = encodeWithLibjpeg(makePhotoPicture(40, 24, 3, 7), EncodeOptions{});
    std::mt19937 random(9);
    for (int trial = 0; trial < 300; ++trial) {
        Bytes damaged = file;
        const int changes = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < changes; ++i) damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
        Bytes pixels;
        int width = 0, height = 0;
        testing::internal::CaptureStdout();
        const bool ok = decodeJpegMemory(damaged.data(), damaged.size(), "random", pixels, width, height);
        testing::internal::GetCapturedStdout();
        if (ok) {
            EXPECT_EQ(pixels.size(), static_cast<std::size_t>(width) * height * 4);
        }
    }
}

}  // namespace
