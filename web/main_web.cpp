// The show in a browser. The page passes its query string as the command line:
//   demo [width height] [--start SECONDS]          the show, on the music the page decoded
//   demo width height --capture T1,T2,... [--fps N] frames at music times, single-sampled
//   demo width height --bench [--fps N]            every frame timed, the capture tool's table
// --samples 1 or 4 picks a canvas without or with antialiasing (capture: 1, else 4).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/music.h"
#include "app/show_jump.h"
#include "app/startup.h"
#include "app/timeline.h"
#include "app/window.h"
#include "base/print_line.h"
#include "platform/audio.h"
#include "platform/page_web.h"
#include "platform/window_driver.h"
#include "web/web_modes.h"

namespace {

int refuse(const char* message, const char* value) {
    std::fprintf(stderr, "demo: %s%s\n", message, value != nullptr ? value : "");
    tellPage(PageEvent::BadOptions);
    return 2;
}

// "9000,24000": music times in ms, each from 0 to below the end.
bool parseTimes(const char* text, std::vector<int>& times) {
    const char* c = text;
    while (*c != '\0') {
        char* end = nullptr;
        const long ms = std::strtol(c, &end, 10);
        if (end == c || ms < 0 || ms >= showEndMs || (*end != ',' && *end != '\0')) return false;
        times.push_back(static_cast<int>(ms));
        c = *end == ',' ? end + 1 : end;
    }
    return !times.empty();
}

}  // namespace

int main(int argc, char** argv) {
    const double mainStart = pageNowMs();
    std::vector<char*> args(argv, argv + (argc > 0 ? 1 : 0));
    std::int32_t startMs = 0;
    std::vector<int> captureMs;
    bool bench = false;
    int fps = 60;
    for (int i = 1; i < argc; ++i) {
        const char* option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (std::strcmp(option, "--start") == 0) {
            if (value == nullptr || !parseStartSeconds(value, startMs))
                return refuse("start wants decimal seconds from 0 to below 210, not ", value ? value : "nothing");
            ++i;
        } else if (std::strcmp(option, "--capture") == 0) {
            if (value == nullptr || !parseTimes(value, captureMs))
                return refuse("capture wants music times in ms, from 0 to below 210000, as 9000,24000; not ", value);
            ++i;
        } else if (std::strcmp(option, "--fps") == 0) {
            fps = value != nullptr ? std::atoi(value) : 0;
            if (fps < 1 || fps > 240) return refuse("fps wants a whole number from 1 to 240, not ", value);
            ++i;
        } else if (std::strcmp(option, "--samples") == 0) {
            if (value == nullptr || (std::strcmp(value, "1") != 0 && std::strcmp(value, "4") != 0))
                return refuse("samples wants 1 or 4, not ", value);
            windowSamples = std::atoi(value);
            ++i;
        } else if (std::strcmp(option, "--bench") == 0) {
            bench = true;
        } else if (std::strncmp(option, "--", 2) == 0) {
            return refuse("unknown option ", option);
        } else {
            args.push_back(argv[i]);
        }
    }
    const bool offline = bench || !captureMs.empty();
    // Frames to compare with the desktop's are single-sampled; the show itself keeps its edges smooth.
    if (!captureMs.empty()) windowSamples = 1;
    if (offline) setAudioDriver(&nullAudioDriver);
    const int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    if (!startShow(count, args.data(), chooseWindowSize(count, args.data()), false)) return 1;
    if (bench) runWebBench(fps, pageNowMs() - mainStart);
    if (!captureMs.empty()) runWebCapture(captureMs, fps);
    if (startMs > 0) jumpShowTo(startMs);
    tellPage(PageEvent::ShowStarted);
    runMainLoop();
}
