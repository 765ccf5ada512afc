// The capture and benchmark modes: the frame loop of the capture tool, cut into the browser's
// animation frames so the page stays alive, on the silent audio driver's clock.
#include "web/web_modes.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "app/frame_composition.h"
#include "app/timeline.h"
#include "app/window.h"
#include "base/frame_clock.h"
#include "base/startup_phases.h"
#include "base/window_size.h"
#include "effects/show_state.h"
#include "platform/audio.h"
#include "platform/page_web.h"
#include "tools/capture/frame_bench.h"

namespace {

// The longest stretch of stepping in one animation frame.
constexpr double sliceMs = 200.0;

struct Loop {
    int fps = 60;
    int frame = 0;
    int end = 0;
    std::vector<std::pair<int, int>> wanted;  // (frame, requested ms), in order
    std::size_t next = 0;
    bool bench = false;
    std::vector<std::vector<double>> benchMs;
    StartupFigures startup;
};

Loop loop;

void stepFrame(int frame, bool drawn) {
    setNullAudioPositionMs(static_cast<std::uint32_t>(frameTimeMs(frame, loop.fps)));
    runFrame(drawn ? SceneRun::Drawn : SceneRun::Unseen);
}

void handOver(int requestedMs, int timeMs, unsigned state) {
    const int width = windowSize.windowWidth, height = windowSize.windowHeight;
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    char name[48], line[128];
    std::snprintf(name, sizeof name, "frame-%d.png", requestedMs);
    std::snprintf(line, sizeof line, "(%d ms, state before it %08x)", timeMs, state);
    handFrameToPage(name, line, pixels.data(), width, height);
}

void finish() {
    stopAnimationFrames();
    if (loop.bench) {
        const std::string table = formatBenchTable(loop.benchMs, loop.startup);
        std::fputs(table.c_str(), stdout);
        std::fflush(stdout);
        handBenchToPage(table.c_str());
    } else {
        tellPage(PageEvent::CaptureDone);
    }
}

void slice() {
    const double sliceStart = pageNowMs();
    while (loop.frame < loop.end && pageNowMs() - sliceStart < sliceMs) {
        const int frame = loop.frame++;
        if (loop.bench) {
            const double start = pageNowMs();
            stepFrame(frame, true);
            // The browser's finish returns before the GPU process has drawn; reading a pixel waits.
            unsigned char pixel[4];
            glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
            const auto slot = static_cast<std::size_t>(timelineSlot(frameTimeMs(frame, loop.fps)));
            loop.benchMs[slot].push_back(pageNowMs() - start);
            continue;
        }
        const bool shown = loop.next < loop.wanted.size() && loop.wanted[loop.next].first == frame;
        const unsigned state = shown ? showStateDigest() : 0;
        stepFrame(frame, shown);
        for (; loop.next < loop.wanted.size() && loop.wanted[loop.next].first == frame; ++loop.next)
            handOver(loop.wanted[loop.next].second, frameTimeMs(frame, loop.fps), state);
        // One frame read back an animation frame: the page turns it into a picture meanwhile.
        if (shown) break;
    }
    if (loop.frame >= loop.end) finish();
}

}  // namespace

void runWebCapture(const std::vector<int>& atMs, int fps) {
    loop.fps = fps;
    for (int ms : atMs) {
        int frame = static_cast<int>(std::llround(static_cast<double>(ms) * fps / 1000.0));
        while (frame > 0 && frameTimeMs(frame, fps) >= showEndMs) --frame;
        loop.wanted.emplace_back(std::max(frame, 0), ms);
    }
    std::sort(loop.wanted.begin(), loop.wanted.end());
    loop.end = loop.wanted.empty() ? 0 : loop.wanted.back().first + 1;
    runOnAnimationFrames(slice);
}

void runWebBench(int fps, double startupMs) {
    loop.fps = fps;
    loop.bench = true;
    loop.benchMs.assign(endOfShow, {});
    loop.end = firstFrameAtOrAfter(showEndMs, fps);
    const auto& ms = startupPhaseTimes.ms;
    loop.startup = {startupMs, ms[static_cast<int>(StartupPhase::SceneFiles)],
                    ms[static_cast<int>(StartupPhase::Images)], ms[static_cast<int>(StartupPhase::Shaders)],
                    ms[static_cast<int>(StartupPhase::Audio)]};
    runOnAnimationFrames(slice);
}
