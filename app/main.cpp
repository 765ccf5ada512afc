// The show: demo [width height] [--start SECONDS] [--dev [--paused]] | demo --check
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/data_check.h"
#include "app/dev_mode.h"
#include "app/show_jump.h"
#include "app/startup.h"
#include "app/timeline.h"
#include "app/window.h"

namespace {

// Seconds from 0 up to the end of the show, nothing else.
bool parseStartSeconds(const char* text, std::int32_t& ms) {
    char* end = nullptr;
    const double seconds = std::strtod(text, &end);
    if (end == text || *end != '\0' || !(seconds >= 0.0) || seconds * 1000.0 >= showEndMs) return false;
    ms = static_cast<std::int32_t>(std::lround(seconds * 1000.0));
    return ms < showEndMs;
}

}  // namespace

int main(int argc, char** argv) {
    // The options are taken out; what is left is the window size as it always was.
    std::vector<char*> args(argv, argv + (argc > 0 ? 1 : 0));
    std::int32_t startMs = 0;
    bool dev = false, paused = false;
    const char* watchFolder = nullptr;
    for (int i = 1; i < argc; ++i) {
        const char* option = argv[i];
        if (std::strcmp(option, "--check") == 0) {
            const std::string here = std::filesystem::current_path().string();
            runDataCheck("demo", here.c_str());
        } else if (std::strcmp(option, "--dev") == 0) {
            dev = true;
        } else if (std::strcmp(option, "--paused") == 0) {
            paused = true;
        } else if (std::strcmp(option, "--watch") == 0 && i + 1 < argc) {
            watchFolder = argv[++i];  // a reload's restart: the run folder it came from
        } else if (std::strcmp(option, "--start") == 0) {
            if (i + 1 >= argc || !parseStartSeconds(argv[i + 1], startMs)) {
                std::fprintf(stderr, "demo: --start wants seconds from 0 to below %d, not %s\n", showEndMs / 1000,
                             i + 1 < argc ? argv[i + 1] : "nothing");
                return 2;
            }
            ++i;
        } else {
            args.push_back(argv[i]);
        }
    }
    if (paused && !dev) {
        std::fprintf(stderr, "demo: --paused starts the authoring mode held; use it with --dev\n");
        return 2;
    }
    const int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    if (dev) prepareDevMode(watchFolder);
    if (!startShow(count, args.data(), chooseWindowSize(count, args.data()), !dev)) return 1;
    if (dev) beginDevMode(argv[0], paused);
    if (startMs > 0) jumpShowTo(startMs);
    if (dev) noteShowJump(startMs);
    runMainLoop();
}
