// Golden frames: the show rendered by the capture tool at 320x180 on the 10 fps frame clock, frame
// by frame against the PNGs in tests/golden/ (scripts/update-golden.sh writes them). Mesa's
// software rasteriser is the same on every Debian 12 machine, but its rounding may differ with the
// CPU's vector width, so a pixel matches when each channel is within goldenChannelTolerance and a
// frame passes when no more than goldenMismatchShare of its pixels miss. A failing frame leaves a
// diff image (golden | rendered | difference x 4) in the build folder's golden-diff/.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "image/png_loader.h"
#include "tests/support/process.h"
#include "tools/common/png_writer.h"

namespace fs = std::filesystem;

namespace {

constexpr int goldenChannelTolerance = 12;
constexpr double goldenMismatchShare = 0.005;

struct Image {
    std::vector<unsigned char> pixels;
    int width = 0, height = 0, components = 0;
};

bool readImage(const fs::path& path, Image& image) {
    return loadPngImage(path.c_str(), image.pixels, image.width, image.height, image.components) &&
           image.components == 3;
}

// Golden times from the file names frame-T.png, in ascending order.
std::vector<int> goldenTimes(const fs::path& folder) {
    std::vector<int> times;
    const std::regex name("frame-([0-9]+)\\.png");
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::smatch match;
        const std::string file = entry.path().filename().string();
        if (std::regex_match(file, match, name)) times.push_back(std::atoi(match[1].str().c_str()));
    }
    std::sort(times.begin(), times.end());
    return times;
}

// Share of pixels with a channel further than the tolerance from the golden one; diff gets
// golden, rendered and the amplified difference side by side.
double mismatchShare(const Image& golden, const Image& rendered, std::vector<unsigned char>& diff) {
    const int w = golden.width, h = golden.height;
    diff.assign(static_cast<std::size_t>(w) * 3 * h * 3, 0);
    long misses = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t at = (static_cast<std::size_t>(y) * w + x) * 3;
            unsigned char* row = &diff[(static_cast<std::size_t>(y) * w * 3 + x) * 3];
            bool miss = false;
            for (int c = 0; c < 3; ++c) {
                const int d = std::abs(golden.pixels[at + c] - rendered.pixels[at + c]);
                miss = miss || d > goldenChannelTolerance;
                row[c] = golden.pixels[at + c];
                row[3 * w + c] = rendered.pixels[at + c];
                row[6 * w + c] = static_cast<unsigned char>(std::min(255, 4 * d));
            }
            misses += miss ? 1 : 0;
        }
    return static_cast<double>(misses) / (static_cast<double>(w) * h);
}

TEST(GoldenFrames, RenderedFramesMatchTheGoldenOnes) {
    const fs::path golden = fs::path(DEMO_SOURCE_DIR) / "tests" / "golden";
    const std::vector<int> times = goldenTimes(golden);
    ASSERT_FALSE(times.empty()) << "no golden frames in " << golden;
    std::string at;
    for (int t : times) {
        if (!at.empty()) at += ',';
        at += std::to_string(t);
    }

    const std::string out = makeTempDir("golden_");
    const CommandResult run = runCommand(std::string("env -u DISPLAY timeout 600 ") + DEMO_CAPTURE_PATH +
                                         " --fps 10 --size 320x180 --at " + at + " --out " + out);
    ASSERT_EQ(run.exitCode, 0) << run.output;

    const fs::path diffs = fs::path(DEMO_BINARY_DIR) / "golden-diff";
    for (int t : times) {
        const std::string name = "frame-" + std::to_string(t) + ".png";
        Image expected, rendered;
        ASSERT_TRUE(readImage(golden / name, expected)) << name;
        ASSERT_TRUE(readImage(fs::path(out) / name, rendered)) << name << "\n" << run.output;
        ASSERT_EQ(rendered.width, expected.width) << name;
        ASSERT_EQ(rendered.height, expected.height) << name;
        std::vector<unsigned char> diff;
        const double share = mismatchShare(expected, rendered, diff);
        if (share > goldenMismatchShare) {
            fs::create_directories(diffs);
            const fs::path diffFile = diffs / name;
            writePngFile(diffFile.c_str(), diff.data(), expected.width * 3, expected.height, 3, false);
            ADD_FAILURE() << name << ": " << share * 100 << "% of the pixels differ by more than "
                          << goldenChannelTolerance << " (at most " << goldenMismatchShare * 100
                          << "% may); golden | rendered | difference x 4 in " << diffFile;
        }
    }
}

}  // namespace
