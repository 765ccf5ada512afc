// The capture tool: its options and frame clock, and whole runs that write frames.
#include "tools/capture/capture_options.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/show_slots.h"
#include "tests/support/process.h"
#include "tools/capture/capture_progress.h"
#include "tools/capture/capture_window.h"
#include "tools/capture/frame_bench.h"
#include "tools/capture/video_encoder.h"

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
    EXPECT_EQ(options.samples, 4);
    EXPECT_EQ(parse({"--samples", "1", "--at", "0", "--out", "o"}, true).samples, 1);

    options = parse({"--data", "d", "--size", "320x180", "--fps", "25", "--at", "0", "--out", "o"}, true);
    EXPECT_EQ(options.dataDir, "d");
    EXPECT_EQ(options.width, 320);
    EXPECT_EQ(options.height, 180);
    EXPECT_EQ(options.fps, 25);
    EXPECT_EQ(options.window, CaptureWindow::Automatic);
    EXPECT_EQ(parse({"--bench", "--window", "egl"}, true).window, CaptureWindow::Egl);
    EXPECT_EQ(parse({"--window", "glut", "--at", "0", "--out", "o"}, true).window, CaptureWindow::Glut);

    options = parse({"--from", "44500", "--to", "210000", "--out", "a.mp4"}, true);
    EXPECT_EQ(options.fromMs, 44500);
    EXPECT_EQ(options.toMs, 210000);
    EXPECT_TRUE(options.atMs.empty());
}

TEST(CaptureOptions, RefusesBadOptionsAndValues) {
    std::string error;
    EXPECT_TRUE(parse({"--bench", "--size", "640x360"}, true).bench);
    parse({"--bench", "--at", "0", "--out", "o"}, false, &error);
    EXPECT_NE(error.find("--bench"), std::string::npos);
    parse({"--at", "1000", "--out", "o", "--loud"}, false, &error);
    EXPECT_NE(error.find("--loud"), std::string::npos);
    for (const char* size : {"320", "0x180", "320x", "x180", "320x180x2", "99999x10", "-5x5"})
        parse({"--size", size, "--at", "0", "--out", "o"}, false);
    for (const char* fps : {"0", "-1", "sixty", "60.5", "1001"}) parse({"--fps", fps, "--at", "0", "--out", "o"}, false);
    for (const char* at : {"", "1000,", ",1000", "1e3", "-1", "210000"}) parse({"--at", at, "--out", "o"}, false);
    for (const char* samples : {"0", "2", "8", "01", "one", ""})
        parse({"--samples", samples, "--at", "0", "--out", "o"}, false);
    parse({"--at", "1000"}, false, &error);
    EXPECT_NE(error.find("--out"), std::string::npos);
    parse({"--out", "o"}, false);
    parse({"--at"}, false);
    parse({"--window", "x11", "--at", "0", "--out", "o"}, false, &error);
    EXPECT_NE(error.find("--window"), std::string::npos);
}

// The scripts read the slot table from the tool: every row, in order, and nothing else.
TEST(CaptureTool, ListsTheSlotTable) {
    const CommandResult run = runCommand(std::string(DEMO_CAPTURE_PATH) + " --list-slots");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    std::string expected;
    for (const SlotInterval& slot : timelineSlots)
        expected += std::to_string(slot.slot) + " " + std::to_string(slot.fromMs) + " " + std::to_string(slot.toMs) +
                    " " + slot.room + "\n";
    EXPECT_EQ(run.output, expected);
}

TEST(CaptureWindowChoice, NamedLayersElseAGpuElseTheDisplayElseEgl) {
    const struct {
        CaptureWindow requested;
        bool display, gpu;
        bool egl, xvfb;
    } cases[] = {
        {CaptureWindow::Automatic, false, false, true, false},
        {CaptureWindow::Automatic, true, false, false, false},
        {CaptureWindow::Automatic, true, true, true, false},
        {CaptureWindow::Automatic, false, true, true, false},
        {CaptureWindow::Egl, true, false, true, false},
        {CaptureWindow::Glut, true, true, false, false},
        {CaptureWindow::Glut, false, false, false, true},
    };
    for (const auto& c : cases) {
        const WindowChoice choice = chooseCaptureWindow(c.requested, c.display, c.gpu);
        EXPECT_EQ(choice.egl, c.egl) << static_cast<int>(c.requested) << c.display << c.gpu;
        EXPECT_EQ(choice.startXvfb, c.xvfb) << static_cast<int>(c.requested) << c.display << c.gpu;
    }
}

TEST(CaptureOptions, RefusesBadStretches) {
    const struct {
        std::vector<const char*> args;
        const char* named;  // what the message must mention
    } cases[] = {
        {{"--from", "2000", "--to", "1000", "--out", "a.mp4"}, "--to"},
        {{"--from", "1000", "--to", "1000", "--out", "a.mp4"}, "--to"},
        {{"--from", "0", "--to", "1000", "--at", "500", "--out", "a.mp4"}, "--at"},
        {{"--from", "0", "--out", "a.mp4"}, "--to"},
        {{"--to", "1000", "--out", "a.mp4"}, "--from"},
        {{"--from", "0", "--to", "1000"}, "--out"},
        {{"--from", "0", "--to", "1000", "--bench"}, "--bench"},
        {{"--from", "-1", "--to", "1000", "--out", "a.mp4"}, "--from"},
        {{"--from", "210000", "--to", "210000", "--out", "a.mp4"}, "--from"},
        {{"--from", "0", "--to", "210001", "--out", "a.mp4"}, "--to"},
        {{"--from", "1s", "--to", "2000", "--out", "a.mp4"}, "--from"},
        {{"--from", "0", "--to", "1000", "--fps", "0", "--out", "a.mp4"}, "--fps"},
        {{"--from", "0", "--to", "1000", "--fps", "ten", "--out", "a.mp4"}, "--fps"},
        {{"--from", "0", "--to", "1000", "--size", "0x90", "--out", "a.mp4"}, "--size"},
        {{"--from", "0", "--to", "1000", "--size", "16385x90", "--out", "a.mp4"}, "--size"},
        {{"--from", "0", "--to", "1000", "--out", "a.mp4", "--audio"}, "--audio"},
    };
    for (const auto& c : cases) {
        std::string error;
        parse(c.args, false, &error);
        EXPECT_NE(error.find(c.named), std::string::npos) << c.args[0] << " " << c.args[1] << ": " << error;
    }
}

TEST(CaptureOptions, VideoFilesByExtension) {
    for (const char* video : {"a.mp4", "out/show.MKV", "/tmp/x.y/clip.mov"}) EXPECT_TRUE(isVideoPath(video)) << video;
    for (const char* folder : {"frames", "out/", "a.mp4/frames", "clip.avi", ".mp4.d/x"})
        EXPECT_FALSE(isVideoPath(folder)) << folder;
    EXPECT_EQ(partialPath("out/show.mp4"), "out/.show.mp4.partial.mp4");
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

TEST(CaptureFrameClock, AStretchHoldsTheFramesWhoseTimesFallInIt) {
    const struct {
        int fromMs, toMs, fps, first, end;
    } cases[] = {
        {44500, 46500, 10, 445, 465},  // exact frame times: the start is in, the end is out
        {0, 210000, 30, 0, 6300},
        {1, 1000, 60, 1, 60},          // frame 1 is at 17 ms
        {18, 34, 60, 2, 3},            // 33 ms in, 50 ms out
        {34, 49, 60, 3, 3},            // no frame between
        {999, 1000, 1, 1, 1},
    };
    for (const auto& c : cases) {
        const FrameRange range = framesInRange(c.fromMs, c.toMs, c.fps);
        EXPECT_EQ(range.first, c.first) << c.fromMs << " " << c.toMs << " " << c.fps;
        EXPECT_EQ(range.end, c.end) << c.fromMs << " " << c.toMs << " " << c.fps;
    }
}

TEST(CaptureProgress, BarCountRateAndTimeLeft) {
    const struct {
        int done, total;
        double seconds;
        const char* line;
    } cases[] = {
        {0, 600, 0.0, "[--------------------]   0%  0/600 frames  -- fps  --:-- left"},
        {300, 600, 12.0, "[##########----------]  50%  300/600 frames  25.0 fps  0:12 left"},
        {6299, 6300, 629.9, "[###################-]  99%  6299/6300 frames  10.0 fps  0:00 left"},
        {100, 6300, 10.0, "[--------------------]   1%  100/6300 frames  10.0 fps  10:20 left"},
        {20, 20, 0.5, "[####################] 100%  20/20 frames  40.0 fps  0:00 left"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatProgress(c.done, c.total, c.seconds), c.line);

    // Plain lines: one per 5 % crossed, and the last frame.
    int lines = 0, lastShown = 0;
    for (int done = 1; done <= 1000; ++done) {
        if (plainProgressDue(done, 1000, lastShown)) {
            ++lines;
            lastShown = done;
        }
    }
    EXPECT_EQ(lines, 20);
    EXPECT_TRUE(plainProgressDue(3, 3, 3));

    EXPECT_EQ(formatByteSize(812), "812 B");
    EXPECT_EQ(formatByteSize(3400), "3.4 KB");
    EXPECT_EQ(formatByteSize(27'140'000), "27.1 MB");
    EXPECT_EQ(formatByteSize(1'200'000'000), "1.2 GB");
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

std::string fileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Without a display the frames come through EGL, no X server involved, and they are the same
// bytes as through the GLUT window (the test's display, or the tool's own Xvfb).
TEST(CaptureTool, WritesFramesWithoutADisplayAsTheWindowDoes) {
    const std::string dir = makeTempDir("capture_");
    const std::string args = " --at 5000,46000 --size 320x180 --fps 10 --out ";
    const CommandResult egl =
        runCommand(std::string("env -u DISPLAY timeout 600 ") + DEMO_CAPTURE_PATH + args + dir + "/egl");
    ASSERT_EQ(egl.exitCode, 0) << egl.output;
    EXPECT_NE(egl.output.find("EGL software device: llvmpipe"), std::string::npos) << egl.output;
    const CommandResult glut =
        runCommand(std::string("timeout 600 ") + DEMO_CAPTURE_PATH + " --window glut" + args + dir + "/glut");
    ASSERT_EQ(glut.exitCode, 0) << glut.output;
    EXPECT_EQ(glut.output.find("EGL"), std::string::npos) << glut.output;
    for (const char* name : {"/frame-5000.png", "/frame-46000.png"}) {
        int width = 0, height = 0;
        ASSERT_TRUE(pngSize(dir + "/egl" + name, width, height)) << name << "\n" << egl.output;
        EXPECT_EQ(width, 320);
        EXPECT_EQ(height, 180);
        EXPECT_TRUE(fileBytes(dir + "/egl" + name) == fileBytes(dir + "/glut" + name)) << name;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir + "/egl"), std::filesystem::directory_iterator()), 2);
}

// --samples 1 leaves the screen without multisample buffers in both layers: their frames are the
// same bytes, and the edges of the figures differ from the default multisampled frame.
TEST(CaptureTool, SingleSampledFramesFromBothLayers) {
    const std::string dir = makeTempDir("capture_");
    const std::string args = " --at 46000 --size 320x180 --fps 10 --out ";
    const std::string tool = std::string("timeout 600 ") + DEMO_CAPTURE_PATH;
    for (const std::string& run : {"env -u DISPLAY " + tool + " --samples 1" + args + dir + "/egl",
                                   tool + " --window glut --samples 1" + args + dir + "/glut",
                                   "env -u DISPLAY " + tool + args + dir + "/multisampled"}) {
        const CommandResult result = runCommand(run);
        ASSERT_EQ(result.exitCode, 0) << run << "\n" << result.output;
    }
    const std::string single = fileBytes(dir + "/egl/frame-46000.png");
    ASSERT_FALSE(single.empty());
    EXPECT_TRUE(single == fileBytes(dir + "/glut/frame-46000.png"));
    EXPECT_FALSE(single == fileBytes(dir + "/multisampled/frame-46000.png"));
}

std::string probe(const std::string& file, const char* stream, const char* entries) {
    return runCommand(std::string("ffprobe -v error -count_frames -select_streams ") + stream + " -show_entries stream=" +
                      entries + " -of default=nw=1 " + file)
        .output;
}

// With the built music, and over a data set whose music is missing: the video then gets a silent
// sound track of the same length.
TEST(CaptureTool, EncodesAStretchWithItsMusic) {
    const std::string noMusic = makeTempDir("capture_");
    std::filesystem::create_directory_symlink(std::filesystem::path(DEMO_SHOW_DIR) / "data", noMusic + "/data");
    for (const std::string& data : {std::string(DEMO_SHOW_DIR), noMusic}) {
        const std::string dir = makeTempDir("capture_");
        const std::string video = dir + "/around-slot-2.mp4";
        const CommandResult run = runCommand(std::string("timeout 600 ") + DEMO_CAPTURE_PATH + " --data " + data +
                                             " --from 44500 --to 46500 --fps 10 --size 160x90 --out " + video);
        ASSERT_EQ(run.exitCode, 0) << run.output;
        EXPECT_NE(run.output.find("20/20 frames"), std::string::npos) << run.output;
        EXPECT_NE(run.output.find(video + " ("), std::string::npos) << run.output;
        EXPECT_EQ(run.output.find("sound track is silent") == std::string::npos, data != noMusic) << run.output;
        EXPECT_EQ(probe(video, "v:0", "width,height,r_frame_rate,nb_read_frames"),
                  "width=160\nheight=90\nr_frame_rate=10/1\nnb_read_frames=20\n");
        const std::string audio = probe(video, "a:0", "duration");
        ASSERT_EQ(audio.rfind("duration=", 0), 0u) << audio;
        EXPECT_NEAR(std::stod(audio.substr(9)), 2.0, 0.05);
        // Only the video itself is left in the folder.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 1);
    }
}

TEST(CaptureTool, WritesAStretchAsNumberedFrames) {
    const std::string out = makeTempDir("capture_") + "/frames";
    const CommandResult run = runCommand(std::string("timeout 600 ") + DEMO_CAPTURE_PATH +
                                         " --from 1000 --to 1300 --fps 10 --size 160x90 --out " + out);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    for (const char* name : {"/frame-000000.png", "/frame-000001.png", "/frame-000002.png"}) {
        int width = 0, height = 0;
        EXPECT_TRUE(pngSize(out + name, width, height)) << name;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out), std::filesystem::directory_iterator()), 3);
}

// Each way a video capture can fail ends with a message and leaves neither the video nor its
// temporary file behind.
TEST(CaptureTool, FailuresLeaveNoVideoBehind) {
    // Starts a long capture, waits for its first progress line, then does what is asked to it.
    const auto midway = [](const std::string& action) {
        return ". \"" DEMO_SOURCE_DIR "/tests/support/waits.sh\"; "
               "$TOOL --from 0 --to 200000 --fps 10 --size 160x90 --out $OUT 2>$DIR/log & pid=$!; "
               "wait_log $DIR/log frames; " +
               action + "; wait $pid; status=$?; cat $DIR/log; exit $status";
    };
    const struct {
        const char* name;
        std::string script;
        int exitCode;
        const char* message;
    } cases[] = {
        {"no ffmpeg", "PATH=/nonexistent $TOOL --from 0 --to 1000 --out $OUT", 1, "ffmpeg is not on PATH"},
        {"unwritable", "touch $DIR/file; $TOOL --from 0 --to 1000 --out $DIR/file/show.mp4", 1, "cannot write"},
        {"ffmpeg dies", midway("kill -KILL $(pgrep -P $pid -x ffmpeg)"), 1, "ffmpeg"},
        {"SIGTERM", midway("kill -TERM $pid"), 128 + 15, "interrupted"},
        {"SIGINT", midway("kill -INT $pid"), 128 + 2, "interrupted"},
    };
    for (const auto& c : cases) {
        const std::string dir = makeTempDir("capture_");
        const CommandResult run = runCommand("{ DIR=" + dir + " OUT=" + dir + "/show.mp4 TOOL=" + DEMO_CAPTURE_PATH +
                                             "; " + c.script + "; }");
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name << "\n" << run.output;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << c.name << "\n" << run.output;
        EXPECT_FALSE(std::filesystem::exists(dir + "/show.mp4")) << c.name;
        EXPECT_FALSE(std::filesystem::exists(dir + "/.show.mp4.partial.mp4")) << c.name;
    }
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Frames stepped unseen before and between the written ones, and the passes whose pixels nobody
// reads, leave every written frame as the reference that draws everything: byte for byte.
TEST(CaptureTool, UnseenStepsLeaveTheReferenceFrames) {
    const std::vector<int> times = {
        0, 500, 20000,                                               // slot 1
        45500, 46000, 52500, 72000,                                  // slot 2, composited
        72500, 75000, 79000,                                         // act B, not composited
        79500, 86500,                                                // composited again
        87000, 89000, 90500, 91000, 91500, 94500, 96000, 98500, 101500,  // act C: flashes, bursts
        102000, 102500, 106000, 106500, 111000, 113000, 114000, 116500,  // slot 3: worm bursts
        121000, 122500,                                              // its white-out
        123000, 141000, 141500, 146000, 151000, 165000, 168500, 171500, 178000,  // slot 4
        178500, 179000, 183000, 207500, 209500,                      // slot 5, the end
    };
    std::string at;
    for (int t : times) {
        if (!at.empty()) at += ',';
        at += std::to_string(t);
    }
    const std::string dir = makeTempDir("capture_");
    const std::string tool = std::string("timeout 900 ") + DEMO_CAPTURE_PATH + " --size 160x90 --fps 2 --at " + at;
    // Both at once: the reference takes the longer.
    const CommandResult run = runCommand("{ " + tool + " --out " + dir + "/stepped >" + dir + "/stepped.log 2>&1 & " +
                                         tool + " --draw-unseen --out " + dir + "/reference; r=$?; wait $! || exit 1; " +
                                         "exit $r; }");
    ASSERT_EQ(run.exitCode, 0) << run.output << readBytes(dir + "/stepped.log");
    std::vector<int> differing;
    for (int t : times) {
        const std::string name = "/frame-" + std::to_string(t) + ".png";
        const std::string stepped = readBytes(dir + "/stepped" + name);
        ASSERT_FALSE(stepped.empty()) << name;
        if (stepped != readBytes(dir + "/reference" + name)) differing.push_back(t);
    }
    EXPECT_EQ(differing, std::vector<int>{}) << "frames (ms) that differ from the reference";
}

TEST(CaptureTool, ExitsNonZeroOnABadOptionOrDataDirectory) {
    CommandResult run = runCommand(std::string(DEMO_CAPTURE_PATH) + " --from 2000 --to 1000 --out a.mp4");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.output.find("--to must come after --from"), std::string::npos) << run.output;
    run = runCommand(std::string(DEMO_CAPTURE_PATH) + " --at 10 --out " + makeTempDir("capture_") + "/unused --data /no/such/dir");
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_NE(run.output.find("/no/such/dir"), std::string::npos) << run.output;
    // Neither a display nor an EGL driver: glvnd is pointed at no vendor library.
    run = runCommand(std::string("env -u DISPLAY __EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent ") + DEMO_CAPTURE_PATH +
                     " --at 10 --out " + makeTempDir("capture_"));
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_NE(run.output.find("EGL: no device and no surfaceless platform"), std::string::npos) << run.output;
}

// The GPU machine's script, at a size and rate this machine renders in seconds: the renderer,
// the bench table and the video's wall time, all through EGL.
TEST(GpuBench, PrintsRendererFrameTimesAndVideoWallTime) {
    const CommandResult run = runCommand(std::string("env -u DISPLAY timeout 900 ") + DEMO_SOURCE_DIR +
                                         "/scripts/gpu-bench.sh --build " + DEMO_BINARY_DIR +
                                         " --sizes 160x90 --fps 1 --video-size 160x90 --video-fps 10 --video-to 2000");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    for (const char* expected : {"renderer: EGL software device: llvmpipe", "CPU figures", "160x90, 1 fps frame clock",
                                 "\nslot 1 ", "\nslot 5 ", "\nshow ", "\nstart-up ", "video: 160x90, 10 fps, 0 to 2000 ms",
                                 "video wall time ", " s for 2.0 s of show"})
        EXPECT_NE(run.output.find(expected), std::string::npos) << expected << "\n" << run.output;
}

}  // namespace
