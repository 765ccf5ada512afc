// The capture tool: its options and frame clock, and whole runs that write frames.
#include "tools/capture/capture_options.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/process.h"
#include "tools/capture/frame_bench.h"

namespace {

CaptureOptions parse(std::vector<const char*> args, bool expectOk, std::string* errorOut = nullptr) {
    args.insert(args.begin(), "demo-capture");
    CaptureOptions options;
    std::string error;
    const bool ok = parseCaptureOptions(static_cast<int>(args.size()), const_cast<char**>(args.data()), options, error);
    EXPECT_EQ(ok, expectOk) << error;
    if (errorOut != nullptr) *errorOut = error;
    return options;
}

TEST(CaptureOptions, DefaultsAndValues) {
    CaptureOptions options = parse({"--at", "1000,2000", "--out", "/tmp/x"}, true);
    EXPECT_EQ(options.width, 1280);
    EXPECT_EQ(options.height, 720);
    EXPECT_EQ(options.fps, 60);
    EXPECT_TRUE(options.dataDir.empty());
    EXPECT_EQ(options.atMs, (std::vector<int>{1000, 2000}));

    options = parse({"--data", "d", "--size", "320x180", "--fps", "25", "--at", "0", "--out", "o"}, true);
    EXPECT_EQ(options.dataDir, "d");
    EXPECT_EQ(options.width, 320);
    EXPECT_EQ(options.height, 180);
    EXPECT_EQ(options.fps, 25);
}

TEST(CaptureOptions, RefusesBadOptionsAndValues) {
    std::string error;
    EXPECT_TRUE(parse({"--bench", "--size", "640x360"}, true).bench);
    parse({"--bench", "--at", "0", "--out", "o"}, false, &error);
    EXPECT_NE(error.find("--bench"), std::string::npos);
    parse({"--from", "0", "--to", "1000", "--out", "a.mp4"}, false, &error);
    EXPECT_NE(error.find("--from"), std::string::npos);
    parse({"--at", "1000", "--out", "o", "--loud"}, false, &error);
    EXPECT_NE(error.find("--loud"), std::string::npos);
    for (const char* size : {"320", "0x180", "320x", "x180", "320x180x2", "99999x10", "-5x5"})
        parse({"--size", size, "--at", "0", "--out", "o"}, false);
    for (const char* fps : {"0", "-1", "sixty", "60.5", "1001"}) parse({"--fps", fps, "--at", "0", "--out", "o"}, false);
    for (const char* at : {"", "1000,", ",1000", "1e3", "-1", "210000"}) parse({"--at", at, "--out", "o"}, false);
    parse({"--at", "1000"}, false, &error);
    EXPECT_NE(error.find("--out"), std::string::npos);
    parse({"--out", "o"}, false);
    parse({"--at"}, false);
}

TEST(CaptureFrameClock, FramesLandOnRoundedMilliseconds) {
    EXPECT_EQ(frameTimeMs(0, 60), 0);
    EXPECT_EQ(frameTimeMs(1, 60), 17);
    EXPECT_EQ(frameTimeMs(2, 60), 33);
    EXPECT_EQ(frameTimeMs(3, 60), 50);
    EXPECT_EQ(frameTimeMs(60, 60), 1000);
    EXPECT_EQ(frameTimeMs(7, 25), 280);
    EXPECT_EQ(frameAtMs(1000, 60), 60);
    EXPECT_EQ(frameAtMs(1009, 60), 61);  // 60.54 frames
    EXPECT_EQ(frameAtMs(1007, 60), 60);
}

TEST(CaptureBench, MedianAndNinetyFifthPercentileByNearestRank) {
    std::vector<double> times;
    for (int i = 20; i >= 1; --i) times.push_back(i);  // unsorted on purpose
    const FrameTimeSummary summary = summariseFrameTimes(times);
    EXPECT_EQ(summary.frames, 20);
    EXPECT_EQ(summary.medianMs, 10.0);
    EXPECT_EQ(summary.p95Ms, 19.0);
    EXPECT_EQ(summariseFrameTimes({7.0}).p95Ms, 7.0);
    EXPECT_EQ(summariseFrameTimes({}).frames, 0);
}

// Width and height from a PNG file's header.
bool pngSize(const std::string& path, int& width, int& height) {
    std::ifstream file(path, std::ios::binary);
    unsigned char header[24] = {};
    if (!file.read(reinterpret_cast<char*>(header), sizeof header)) return false;
    if (header[1] != 'P' || header[2] != 'N' || header[3] != 'G') return false;
    width = header[16] << 24 | header[17] << 16 | header[18] << 8 | header[19];
    height = header[20] << 24 | header[21] << 16 | header[22] << 8 | header[23];
    return true;
}

TEST(CaptureTool, WritesRequestedFramesWithoutADisplay) {
    const std::string out = makeTempDir("capture_") + "/frames";
    const CommandResult run = runCommand(std::string("env -u DISPLAY timeout 120 ") + DEMO_CAPTURE_PATH +
                                         " --at 1000,2000 --size 320x180 --fps 20 --out " + out);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    for (const char* name : {"/frame-1000.png", "/frame-2000.png"}) {
        int width = 0, height = 0;
        ASSERT_TRUE(pngSize(out + name, width, height)) << name << "\n" << run.output;
        EXPECT_EQ(width, 320);
        EXPECT_EQ(height, 180);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out), std::filesystem::directory_iterator()), 2);
}

TEST(CaptureTool, ExitsNonZeroOnABadOptionOrDataDirectory) {
    CommandResult run = runCommand(std::string(DEMO_CAPTURE_PATH) + " --from 0 --to 1000 --out a.mp4");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.output.find("--from is not available"), std::string::npos) << run.output;
    run = runCommand(std::string(DEMO_CAPTURE_PATH) + " --at 10 --out /tmp/unused --data /no/such/dir");
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_NE(run.output.find("/no/such/dir"), std::string::npos) << run.output;
}

}  // namespace
