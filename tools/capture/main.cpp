// demo-capture: renders the show offline, frame by frame, on a frame clock instead of the music.
#include <GL/glew.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

#include "app/frame_composition.h"
#include "app/music.h"
#include "app/startup.h"
#include "app/timeline.h"
#include "app/window.h"
#include "base/startup_phases.h"
#include "base/utf8_path.h"
#include "base/window_size.h"
#include "effects/show_state.h"
#include "platform/audio.h"
#include "platform/console.h"
#include "platform/executable_path.h"
#include "platform/process_replace.h"
#include "platform/stop_signals.h"
#include "platform/terminal.h"
#include "tools/capture/capture_options.h"
#include "tools/capture/capture_progress.h"
#include "tools/capture/capture_window.h"
#include "tools/capture/frame_bench.h"
#include "tools/capture/video_encoder.h"
#include "tools/common/png_writer.h"

namespace fs = std::filesystem;

namespace {

// Without a display, run again inside a private X server big enough for the window.
[[noreturn]] void reexecUnderXvfb(int argc, char** argv, const CaptureOptions& options) {
    const std::string screen = "-screen 0 " + std::to_string(std::max(options.width + 128, 1280)) + "x" +
                               std::to_string(std::max(options.height + 128, 1024)) + "x24";
    const std::string self = executablePath();
    std::vector<char*> args = {const_cast<char*>("xvfb-run"), const_cast<char*>("-a"),
                               const_cast<char*>("-s"), const_cast<char*>(screen.c_str()),
                               const_cast<char*>(self.c_str())};
    for (int i = 1; i < argc; ++i) args.push_back(argv[i]);
    args.push_back(nullptr);
    replaceWithProgram(args.data());
    std::fprintf(stderr, "demo-capture: no display and no xvfb-run to make one\n");
    std::exit(1);
}

// The frame just drawn, bottom row first.
void readFrame(std::vector<unsigned char>& pixels) {
    const int width = windowSize.windowWidth;
    const int height = windowSize.windowHeight;
    pixels.resize(static_cast<std::size_t>(width) * height * 3);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
}

bool writeFrame(const fs::path& file) {
    std::vector<unsigned char> pixels;
    readFrame(pixels);
    return writePngFile(file.string().c_str(), pixels.data(), windowSize.windowWidth, windowSize.windowHeight, 3, true);
}

// Steps frame i of the frame clock. Every frame from 0 is stepped in order, so whatever advances
// with time advances as in a run; one whose pixels are not read back is stepped unseen, unless
// the reference asks for everything to be drawn.
void stepFrame(int frame, const CaptureOptions& options, bool readBack) {
    setNullAudioPositionMs(static_cast<std::uint32_t>(frameTimeMs(frame, options.fps)));
    runFrame(readBack || options.drawUnseen ? SceneRun::Drawn : SceneRun::Unseen);
}

// Frames are read from the back buffer before this, so only the reference swaps, as the window
// of a run would.
void endFrame(const CaptureOptions& options) {
    if (options.drawUnseen) swapWindowBuffers();
    pumpWindowEvents();
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// A frame of the loop whose pixels are wanted: drawn, and handed to the mode that asked for it.
struct ShownFrame {
    int frame = 0;
    int timeMs = 0;                                   // its music time on the frame clock
    std::uint32_t stateBefore = 0;                    // the state it started from, when asked for
    std::chrono::steady_clock::time_point stepStart;  // when its step began
};

// What one mode of the tool asks of the frame loop.
struct FramePlan {
    int end = 0;                                 // frames 0 to end - 1 are stepped, in order
    std::function<bool(int frame)> shown;        // drawn and taken; the others are stepped unseen
    bool stateBefore = false;                    // fingerprint the state before each shown frame
    bool finishEachFrame = false;                // a shown frame's GL work is done before it is taken
    std::function<void(const ShownFrame&)> take;
    std::function<void()> interrupted;           // a stop signal arrived (caught for ranges only)
};

// The one frame loop of every mode: every frame from 0 is stepped in order, so whatever advances
// with time advances as in a run.
void runFrames(const CaptureOptions& options, const FramePlan& plan) {
    for (int frame = 0; frame < plan.end; ++frame) {
        if (plan.interrupted && stopSignalReceived() != 0) plan.interrupted();
        const bool shown = plan.shown(frame);
        ShownFrame taken;
        taken.frame = frame;
        taken.timeMs = frameTimeMs(frame, options.fps);
        taken.stateBefore = shown && plan.stateBefore ? showStateDigest() : 0;
        taken.stepStart = std::chrono::steady_clock::now();
        stepFrame(frame, options, shown);
        if (shown && plan.finishEachFrame) glFinish();
        if (shown) plan.take(taken);
        endFrame(options);
    }
}

// The one place where a frame written to a file is reported, with the state it started from, to
// compare with a run that jumped there.
void reportWrittenFrame(const fs::path& file, const ShownFrame& frame) {
    std::printf("%s (%d ms, state before it %08x)\n", file.string().c_str(), frame.timeMs, frame.stateBefore);
}

// Draws the whole show on the frame clock, timing each frame up to the end of its GL work.
[[noreturn]] void runBench(const CaptureOptions& options, std::chrono::steady_clock::time_point toolStart) {
    std::vector<std::vector<double>> frameMsBySlot(endOfShow);
    StartupFigures startup;
    FramePlan plan;
    plan.end = firstFrameAtOrAfter(showEndMs, options.fps);
    plan.shown = [](int) { return true; };
    plan.finishEachFrame = true;
    plan.take = [&](const ShownFrame& frame) {
        const auto slot = static_cast<std::size_t>(timelineSlot(frame.timeMs));
        frameMsBySlot[slot].push_back(millisecondsSince(frame.stepStart));
        if (frame.frame == 0) {
            const auto& ms = startupPhaseTimes.ms;
            startup = {millisecondsSince(toolStart), ms[static_cast<int>(StartupPhase::SceneFiles)],
                       ms[static_cast<int>(StartupPhase::Images)], ms[static_cast<int>(StartupPhase::Shaders)],
                       ms[static_cast<int>(StartupPhase::Audio)]};
        }
    };
    runFrames(options, plan);
    std::printf("%dx%d, %d fps frame clock%s\n%s", options.width, options.height, options.fps,
                options.drawUnseen ? ", every pass drawn" : "",
                formatBenchTable(frameMsBySlot, startup).c_str());
    exitShow(0);
}

// Where a stretch of frames goes: an ffmpeg child writing a temporary file, or numbered PNGs.
struct RangeOutput {
    bool video = false;
    fs::path finalPath;        // the video, or the folder of PNGs
    fs::path partial;          // the video until it is complete
    VideoEncoder encoder;
};

[[noreturn]] void failRange(RangeOutput& output, const std::string& message) {
    if (output.video) {
        abortVideoEncoder(output.encoder);
        std::error_code ignored;
        fs::remove(output.partial, ignored);
    }
    std::fprintf(stderr, "\ndemo-capture: %s\n", message.c_str());
    endByStopSignal();
    exitShow(1);
}

// Draws the progress bar: redrawn in place on a terminal, a line every few per cent otherwise.
struct Progress {
    bool terminal = standardErrorIsTerminal();
    int total = 0;
    int lastShown = 0;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point lastDrawn = start;
};

void showProgress(Progress& progress, int done) {
    const auto now = std::chrono::steady_clock::now();
    const double elapsed = std::chrono::duration<double>(now - progress.start).count();
    if (progress.terminal) {
        if (done < progress.total && now - progress.lastDrawn < std::chrono::milliseconds(100)) return;
        std::fprintf(stderr, "\r%s", formatProgress(done, progress.total, elapsed).c_str());
        progress.lastDrawn = now;
    } else if (plainProgressDue(done, progress.total, progress.lastShown)) {
        std::fprintf(stderr, "%s\n", formatProgress(done, progress.total, elapsed).c_str());
        progress.lastShown = done;
    }
}

bool musicChecked = false;

// The capture's audio: silent and on the frame clock, but the music is checked as the show opens
// it, so that damage to it is reported as in a run.
void checkStream(const char* fileName) {
    if (!musicChecked) checkMusicFile(fileName);
    musicChecked = true;
}

const AudioDriver captureAudioDriver = [] {
    AudioDriver driver = nullAudioDriver;
    driver.name = "capture";
    driver.startStream = checkStream;
    return driver;
}();

// Checks that the video can be made before the show starts, and names the temporary file.
void prepareVideo(RangeOutput& output, VideoJob& job, const fs::path& dataDir) {
    job.ffmpeg = findOnPath("ffmpeg");
    if (job.ffmpeg.empty()) {
        std::fprintf(stderr, "demo-capture: ffmpeg is not on PATH; it encodes the video (apt-get install ffmpeg, or on "
                     "Windows an ffmpeg.exe in a folder of PATH); frames as PNGs need none (--out DIR)\n");
        std::exit(1);
    }
    // Without usable music the video still gets a sound track, a silent one.
    job.audioFile = fs::absolute(dataDir / "biisi.mp3").string();
    if (!checkMusicFile("biisi.mp3")) {
        std::fprintf(stderr, "demo-capture: the video's sound track is silent\n");
        job.audioFile.clear();
    }
    musicChecked = true;
    std::error_code fsError;
    fs::create_directories(output.finalPath.parent_path(), fsError);
    output.partial = partialPath(output.finalPath.string());
    // Trying the temporary file now saves starting the show for an output that cannot be written.
    std::FILE* probe = std::fopen(output.partial.string().c_str(), "wb");
    if (probe == nullptr || std::fclose(probe) != 0) {
        std::fprintf(stderr, "demo-capture: cannot write %s: %s\n", output.finalPath.string().c_str(),
                     std::strerror(errno));
        std::exit(1);
    }
    job.outPath = output.partial.string();
}

// Steps every frame from 0 up to the stretch's end and hands the frames of the stretch on.
[[noreturn]] void runRange(const CaptureOptions& options, RangeOutput& output, VideoJob& job) {
    const FrameRange range = framesInRange(options.fromMs, options.toMs, options.fps);
    const int total = range.end - range.first;
    if (total <= 0) failRange(output, "no frame of the frame clock lies in that stretch");
    if (output.video) {
        job.width = windowSize.windowWidth;
        job.height = windowSize.windowHeight;
        job.fps = options.fps;
        job.firstFrame = range.first;
        job.frames = total;
        std::string error;
        if (!startVideoEncoder(job, output.encoder, error)) failRange(output, error);
    }
    if (range.first > 0)
        std::fprintf(stderr, "stepping the %d frames before %d ms\n", range.first, options.fromMs);
    Progress progress;
    progress.total = total;
    std::vector<unsigned char> pixels;
    FramePlan plan;
    plan.end = range.end;
    plan.shown = [&range](int frame) { return frame >= range.first; };
    plan.interrupted = [&output] { failRange(output, "interrupted; nothing written"); };
    plan.take = [&](const ShownFrame& frame) {
        const int index = frame.frame - range.first;
        if (index == 0) progress.start = frame.stepStart;
        if (output.video) {
            readFrame(pixels);
            std::string error;
            if (!writeVideoFrame(output.encoder, pixels.data(), pixels.size(), error)) {
                // A signal can reach ffmpeg first (Ctrl-C goes to the whole process group).
                failRange(output, stopSignalReceived() != 0 ? "interrupted; nothing written" : error);
            }
        } else {
            char name[32];
            std::snprintf(name, sizeof name, "frame-%06d.png", index);
            if (!writeFrame(output.finalPath / name)) failRange(output, "cannot write the frames");
        }
        showProgress(progress, index + 1);
    };
    runFrames(options, plan);
    if (progress.terminal) std::fputc('\n', stderr);
    if (output.video) {
        std::string error;
        if (!finishVideoEncoder(output.encoder, error)) {
            failRange(output, stopSignalReceived() != 0 ? "interrupted; nothing written" : error);
        }
        std::error_code fsError;
        fs::rename(output.partial, output.finalPath, fsError);
        if (fsError) failRange(output, "cannot rename " + output.partial.string() + ": " + fsError.message());
        std::fprintf(stderr, "%s (%s)\n", output.finalPath.string().c_str(),
                     formatByteSize(fs::file_size(output.finalPath, fsError)).c_str());
    } else {
        std::fprintf(stderr, "%s (%d frames)\n", output.finalPath.string().c_str(), total);
    }
    exitShow(0);
}

}  // namespace

int main(int argc, char** argv) {
    const auto toolStart = std::chrono::steady_clock::now();
    prepareConsole();
    CaptureOptions options;
    std::string error;
    if (!parseCaptureOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "demo-capture: %s\n%s", error.c_str(), captureUsage);
        return 2;
    }
    if (options.help) {
        std::fputs(captureUsage, stdout);
        return 0;
    }
    if (options.listSlots) {
        // What the scripts read instead of copies of the times.
        for (const SlotInterval& slot : timelineSlots)
            std::printf("%d %d %d %s\n", slot.slot, slot.fromMs, slot.toMs, slot.room);
        return 0;
    }
    const WindowChoice window = captureWindowHere(options.window);
    if (window.startXvfb) reexecUnderXvfb(argc, argv, options);
    setWindowDriver(window.egl ? &eglWindowDriver : &glutWindowDriver);
    windowSamples = options.samples;

    const bool range = options.fromMs >= 0;
    RangeOutput rangeOutput;
    rangeOutput.video = range && isVideoPath(options.out);
    if (range) catchStopSignals();

    std::error_code fsError;
    const fs::path outDir = options.bench ? fs::path() : fs::absolute(utf8Path(options.out));
    if (!options.bench && !rangeOutput.video) fs::create_directories(outDir, fsError);
    if (fsError) {
        std::fprintf(stderr, "demo-capture: cannot create %s: %s\n", outDir.string().c_str(),
                     fsError.message().c_str());
        return 1;
    }
    const fs::path dataDir = options.dataDir.empty() ? utf8Path(executablePath()).parent_path() / "show" : utf8Path(options.dataDir);
    fs::current_path(dataDir, fsError);
    if (fsError) {
        std::fprintf(stderr, "demo-capture: cannot enter data directory %s: %s\n", dataDir.string().c_str(),
                     fsError.message().c_str());
        return 1;
    }
    VideoJob job;
    rangeOutput.finalPath = outDir;
    if (rangeOutput.video) prepareVideo(rangeOutput, job, fs::current_path());

    // Each requested time lands on the nearest frame that is still inside the show.
    std::vector<std::pair<int, int>> wanted;  // (frame, requested ms)
    for (int ms : options.atMs) {
        int frame = frameAtMs(ms, options.fps);
        while (frame > 0 && frameTimeMs(frame, options.fps) >= showEndMs) --frame;
        wanted.emplace_back(frame, ms);
    }
    std::sort(wanted.begin(), wanted.end());

    drawUnseenRuns = options.drawUnseen;
    setAudioDriver(&captureAudioDriver);
    char* windowArgs[] = {argv[0], nullptr};
    if (!startShow(1, windowArgs, {options.width, options.height}, false)) return 1;
    // Frames meant to match a single-sampled build are worthless from a multisampled screen.
    if (options.samples == 1) {
        GLint sampleBuffers = 0;
        glGetIntegerv(GL_SAMPLE_BUFFERS, &sampleBuffers);
        if (sampleBuffers != 0) {
            std::fprintf(stderr, "demo-capture: --samples 1 got a multisampled screen from the %s layer\n",
                         currentWindowDriver().name);
            exitShow(1);
        }
    }
    pumpWindowEvents();
    if (options.bench) runBench(options, toolStart);
    if (range) runRange(options, rangeOutput, job);

    FramePlan plan;
    plan.end = wanted.empty() ? 0 : wanted.back().first + 1;
    std::size_t next = 0;
    plan.shown = [&](int frame) { return next < wanted.size() && wanted[next].first == frame; };
    plan.stateBefore = true;
    plan.take = [&](const ShownFrame& frame) {
        for (; next < wanted.size() && wanted[next].first == frame.frame; ++next) {
            const fs::path file = outDir / ("frame-" + std::to_string(wanted[next].second) + ".png");
            if (!writeFrame(file)) exitShow(1);
            reportWrittenFrame(file, frame);
        }
    };
    runFrames(options, plan);
    exitShow(0);
}
