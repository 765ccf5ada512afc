#include "image/png_loader.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <png.h>
#include <sys/resource.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/support/jpeg_reference.h"  // writeBytes
#include "tests/support/png_files.h"
#include "tests/support/process.h"

namespace {

using Bytes = std::vector<unsigned char>;

struct Loaded {
    bool ok = false;
    Bytes pixels;
    int width = 0, height = 0, components = 0;
};

Loaded load(const std::string& path) {
    Loaded loaded;
    loaded.ok = loadPngImage(path.c_str(), loaded.pixels, loaded.width, loaded.height, loaded.components);
    return loaded;
}

int openFileCount() {
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir) != nullptr) ++count;
        closedir(dir);
    }
    return count;
}

long peakResidentKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

class PngLoader : public testing::Test {
protected:
    std::string dir = makeTempDir("png_");
    std::string file(const char* name) const { return dir + "/" + name; }
};

TEST_F(PngLoader, PlainRgbAndRgbaArriveAsStored) {
    const Bytes rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30, 40, 50, 60, 70, 80, 90};
    ASSERT_TRUE(writeTestPng(file("rgb.png"), 3, 2, 3, rgb));
    Loaded loaded = load(file("rgb.png"));
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.width, 3);
    EXPECT_EQ(loaded.height, 2);
    EXPECT_EQ(loaded.components, 3);
    EXPECT_EQ(loaded.pixels, rgb);

    const Bytes rgba = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_TRUE(writeTestPng(file("rgba.png"), 1, 2, 4, rgba));
    loaded = load(file("rgba.png"));
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.components, 4);
    EXPECT_EQ(loaded.pixels, rgba);
}

TEST_F(PngLoader, PaletteImagesBecomeRgbOrRgbaWithTransparency) {
    PngSpec spec;
    spec.width = 4;
    spec.colourType = PNG_COLOR_TYPE_PALETTE;
    spec.palette = {255, 0, 0, 0, 255, 0, 0, 0, 255};
    spec.rows = {2, 1, 0, 2};
    ASSERT_TRUE(writeTestPng(file("palette.png"), spec));
    Loaded loaded = load(file("palette.png"));
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.components, 3);
    EXPECT_EQ(loaded.pixels, (Bytes{0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 255}));

    spec.paletteAlpha = {128};  // entry 0 half transparent, the rest opaque
    ASSERT_TRUE(writeTestPng(file("palette-alpha.png"), spec));
    loaded = load(file("palette-alpha.png"));
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.components, 4);
    EXPECT_EQ(loaded.pixels, (Bytes{0, 0, 255, 255, 0, 255, 0, 255, 255, 0, 0, 128, 0, 0, 255, 255}));
}

TEST_F(PngLoader, GreyImagesBecomeRgb) {
    PngSpec grey;
    grey.width = 2;
    grey.colourType = PNG_COLOR_TYPE_GRAY;
    grey.rows = {7, 200};
    ASSERT_TRUE(writeTestPng(file("grey.png"), grey));
    Loaded loaded = load(file("grey.png"));
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.components, 3);
    EXPECT_EQ(loaded.pixels, (Bytes{7, 7, 7, 200, 200, 200}));

    PngSpec bits = grey;
    bits.width = 8;
    bits.bitDepth = 1;
    bits.rows = {0b10100000};
    ASSERT_TRUE(writeTestPng(file("grey1.png"), bits));
    loaded = load(file("grey1.png"));
    ASSERT_TRUE(loaded.ok);
    ASSERT_EQ(loaded.pixels.size(), 24u);
    EXPECT_EQ(loaded.pixels[0], 255);
    EXPECT_EQ(loaded.pixels[3], 0);
    EXPECT_EQ(loaded.pixels[6], 255);

    PngSpec greyAlpha = grey;
    greyAlpha.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
    greyAlpha.rows = {7, 50, 200, 250};
    ASSERT_TRUE(writeTestPng(file("grey-alpha.png"), greyAlpha));
    loaded = load(file("grey-alpha.png"));
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.components, 4);
    EXPECT_EQ(loaded.pixels, (Bytes{7, 7, 7, 50, 200, 200, 200, 250}));
}

TEST_F(PngLoader, SixteenBitSamplesKeepTheirHighByte) {
    PngSpec spec;
    spec.bitDepth = 16;
    spec.rows = {0x12, 0x34, 0xAB, 0xCD, 0xFF, 0x01};  // big-endian, as in the file
    ASSERT_TRUE(writeTestPng(file("deep.png"), spec));
    const Loaded loaded = load(file("deep.png"));
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.components, 3);
    EXPECT_EQ(loaded.pixels, (Bytes{0x12, 0xAB, 0xFF}));
}

TEST_F(PngLoader, InterlacedImagesAreAssembled) {
    PngSpec spec;
    spec.width = 9;
    spec.height = 9;
    for (int i = 0; i < 9 * 9 * 3; ++i) spec.rows.push_back(static_cast<unsigned char>(i * 7));
    spec.interlaced = true;
    ASSERT_TRUE(writeTestPng(file("adam7.png"), spec));
    const Loaded loaded = load(file("adam7.png"));
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.pixels, spec.rows);
}

TEST_F(PngLoader, BrokenFilesFailCleanlyAndCloseTheFile) {
    Bytes pixels(64 * 64 * 3);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i * 31 % 251);
    ASSERT_TRUE(writeTestPng(file("whole.png"), 64, 64, 3, pixels));
    std::ifstream whole(file("whole.png"), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(whole)), std::istreambuf_iterator<char>());

    const int filesBefore = openFileCount();
    for (std::size_t cut : {std::size_t{0}, std::size_t{7}, std::size_t{30}, bytes.size() / 2, bytes.size() - 13}) {
        std::ofstream(file("cut.png"), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(cut));
        Loaded loaded;
        loaded.pixels = {42};
        testing::internal::CaptureStdout();
        loaded.ok = loadPngImage(file("cut.png").c_str(), loaded.pixels, loaded.width, loaded.height,
                                 loaded.components);
        const std::string output = testing::internal::GetCapturedStdout();
        EXPECT_FALSE(loaded.ok) << "cut at " << cut;
        EXPECT_EQ(loaded.pixels, Bytes{42}) << "the caller's buffer stays as it was";
        EXPECT_NE(output.find("Cannot read PNG"), std::string::npos) << output;
    }
    EXPECT_EQ(openFileCount(), filesBefore);
}

TEST_F(PngLoader, AChunkClaimingGigabytesIsRefusedUnread) {
    // A 2x2 grey header, then a zTXt chunk that says it holds 2,113,929,231 bytes (a fuzzer's find:
    // libpng reserved all of it before noticing the file ends).
    const Bytes head = {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0, 2, 0, 0, 0, 2,
                        8, 4, 0, 0, 0, 0xd8, 0xbf, 0xc5, 0xaf, 0x7e, 0, 0, 0x0f, 'z', 'T', 'X', 't', 0x78};
    const long residentBefore = peakResidentKb();
    ASSERT_TRUE(writeBytes(file("claims.png"), head));
    testing::internal::CaptureStdout();
    EXPECT_FALSE(load(file("claims.png")).ok);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Cannot read PNG " + file("claims.png")), std::string::npos);
    EXPECT_LT(peakResidentKb() - residentBefore, 64 * 1024) << "kilobytes taken for a 42-byte file";
}

TEST_F(PngLoader, MissingFileIsNamed) {
    testing::internal::CaptureStdout();
    EXPECT_FALSE(load(file("absent.png")).ok);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "File " + file("absent.png") + " not found!\n");
}

}  // namespace
