// demo-capture: renders the show offline, frame by frame, on a frame clock instead of the music.
#include <GL/glew.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/audio.h"
#include "app/demo_state.h"
#include "app/music.h"
#include "app/startup.h"
#include "app/timeline.h"
#include "app/window.h"
#include "base/startup_phases.h"
#include "base/window_size.h"
#include "tools/capture/capture_options.h"
#include "tools/capture/frame_bench.h"
#include "tools/common/png_writer.h"

namespace fs = std::filesystem;

namespace {

fs::path toolPath() {
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : self;
}

// Without a display, run again inside a private X server big enough for the window.
[[noreturn]] void reexecUnderXvfb(int argc, char** argv, const CaptureOptions& options) {
    const std::string screen = "-screen 0 " + std::to_string(std::max(options.width + 128, 1280)) + "x" +
                               std::to_string(std::max(options.height + 128, 1024)) + "x24";
    const std::string self = toolPath().string();
    std::vector<char*> args = {const_cast<char*>("xvfb-run"), const_cast<char*>("-a"),
                               const_cast<char*>("-s"), const_cast<char*>(screen.c_str()),
                               const_cast<char*>(self.c_str())};
    for (int i = 1; i < argc; ++i) args.push_back(argv[i]);
    args.push_back(nullptr);
    execvp("xvfb-run", args.data());
    std::fprintf(stderr, "demo-capture: no display and no xvfb-run to make one\n");
    std::exit(1);
}

bool writeFrame(const fs::path& file) {
    const int width = windowSize.windowWidth;
    const int height = windowSize.windowHeight;
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 3);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return writePngFile(file.c_str(), pixels.data(), width, height, 3, true);
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Steps the whole show on the frame clock, timing each frame up to the end of its GL work.
[[noreturn]] void runBench(const CaptureOptions& options, std::chrono::steady_clock::time_point toolStart) {
    std::vector<std::vector<double>> frameMsBySlot(endOfShow);
    StartupFigures startup;
    for (int frame = 0; frameTimeMs(frame, options.fps) < showEndMs; ++frame) {
        const int t = frameTimeMs(frame, options.fps);
        setNullAudioPositionMs(static_cast<std::uint32_t>(t));
        const auto start = std::chrono::steady_clock::now();
        demoState.frameFunction();
        glFinish();
        frameMsBySlot[static_cast<std::size_t>(timelineSlot(t))].push_back(millisecondsSince(start));
        if (frame == 0) {
            const auto& ms = startupPhaseTimes.ms;
            startup = {millisecondsSince(toolStart), ms[static_cast<int>(StartupPhase::SceneFiles)],
                       ms[static_cast<int>(StartupPhase::Images)], ms[static_cast<int>(StartupPhase::Shaders)],
                       ms[static_cast<int>(StartupPhase::Audio)]};
        }
        swapWindowBuffers();
        pumpWindowEvents();
    }
    std::printf("%dx%d, %d fps frame clock\n%s", options.width, options.height, options.fps,
                formatBenchTable(frameMsBySlot, startup).c_str());
    exitShow(0);
}

}  // namespace

int main(int argc, char** argv) {
    const auto toolStart = std::chrono::steady_clock::now();
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
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') reexecUnderXvfb(argc, argv, options);

    std::error_code fsError;
    const fs::path outDir = options.bench ? fs::path() : fs::absolute(options.out);
    if (!options.bench) fs::create_directories(outDir, fsError);
    if (fsError) {
        std::fprintf(stderr, "demo-capture: cannot create %s: %s\n", outDir.c_str(), fsError.message().c_str());
        return 1;
    }
    const fs::path dataDir = options.dataDir.empty() ? toolPath().parent_path() / "show" : fs::path(options.dataDir);
    fs::current_path(dataDir, fsError);
    if (fsError) {
        std::fprintf(stderr, "demo-capture: cannot enter data directory %s: %s\n", dataDir.c_str(),
                     fsError.message().c_str());
        return 1;
    }

    // Each requested time lands on the nearest frame that is still inside the show.
    std::vector<std::pair<int, int>> wanted;  // (frame, requested ms)
    for (int ms : options.atMs) {
        int frame = frameAtMs(ms, options.fps);
        while (frame > 0 && frameTimeMs(frame, options.fps) >= showEndMs) --frame;
        wanted.emplace_back(frame, ms);
    }
    std::sort(wanted.begin(), wanted.end());

    setAudioDriver(&nullAudioDriver);
    char* windowArgs[] = {argv[0], nullptr};
    if (!startShow(1, windowArgs, {options.width, options.height}, false)) return 1;
    pumpWindowEvents();
    if (options.bench) runBench(options, toolStart);

    // Every frame from 0 is stepped in order, so whatever advances with time advances as in a run.
    std::size_t next = 0;
    for (int frame = 0; next < wanted.size(); ++frame) {
        setNullAudioPositionMs(static_cast<std::uint32_t>(frameTimeMs(frame, options.fps)));
        demoState.frameFunction();
        for (; next < wanted.size() && wanted[next].first == frame; ++next) {
            const fs::path file = outDir / ("frame-" + std::to_string(wanted[next].second) + ".png");
            if (!writeFrame(file)) exitShow(1);
            std::printf("%s (%d ms)\n", file.c_str(), frameTimeMs(frame, options.fps));
        }
        swapWindowBuffers();
        pumpWindowEvents();
    }
    exitShow(0);
}
