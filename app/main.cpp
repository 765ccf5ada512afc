// The show: demo [width height] [--start SECONDS] [--dev [--paused]] | demo --check | demo --help
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/data_check.h"
#include "app/dev_mode.h"
#include "app/run_folder.h"
#include "app/show_jump.h"
#include "app/startup.h"
#include "app/timeline.h"
#include "app/window.h"
#include "base/print_line.h"
#include "platform/console.h"

namespace {

constexpr const char* usage =
    "usage: demo [width height] [--start SECONDS] [--dev [--paused]]\n"
    "       demo --check\n"
    "       demo --help\n"
    "  width height     window size in pixels (default 1280 800)\n"
    "  --start SECONDS  start the show there: decimal seconds from 0 to below 210\n"
    "  --dev            the authoring mode in a plain window: pause, seek, reload on save\n"
    "  --paused         start the authoring mode held\n"
    "  --watch FOLDER   with --dev: the run folder to watch from inside a copy (a reload's restart)\n"
    "  --window-at X,Y  where the plain window opens (a reload's restart keeps it in place)\n"
    "  --check          check the data set of the current directory as demo-check does\n";

int refuseOption(const char* option) {
    std::fprintf(stderr, "demo: unknown option %s\n%s", option, usage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    prepareConsole();
    // The options are taken out; what is left is the window size as it always was.
    std::vector<char*> args(argv, argv + (argc > 0 ? 1 : 0));
    std::int32_t startMs = 0;
    bool dev = false, paused = false, check = false, help = false;
    const char* watchFolder = nullptr;
    std::vector<std::string> passedOn;  // what a reload's restart repeats: all but what it sets itself
    for (int i = 1; i < argc; ++i) {
        const int first = i;
        bool restartSetsIt = false;
        const char* option = argv[i];
        if (std::strcmp(option, "--check") == 0) {
            check = true;
        } else if (std::strcmp(option, "--help") == 0) {
            help = true;
        } else if (std::strcmp(option, "--dev") == 0) {
            dev = true;
        } else if (std::strcmp(option, "--paused") == 0) {
            paused = true;
            restartSetsIt = true;
        } else if (std::strcmp(option, "--watch") == 0 && i + 1 < argc) {
            watchFolder = argv[++i];  // a reload's restart: the run folder it came from
            restartSetsIt = true;
        } else if (std::strcmp(option, "--window-at") == 0 && i + 1 < argc) {
            int x = 0, y = 0;
            if (std::sscanf(argv[++i], "%d,%d", &x, &y) == 2) placeWindowAt(x, y);  // where a reload found it
            restartSetsIt = true;
        } else if (std::strcmp(option, "--start") == 0) {
            if (i + 1 >= argc || !parseStartSeconds(argv[i + 1], startMs)) {
                std::fprintf(stderr,
                             "demo: --start wants plain decimal seconds from 0 to below %d (no sign, exponent or "
                             "spaces), not %s\n",
                             showEndMs / 1000,
                             i + 1 < argc ? argv[i + 1] : "nothing");
                return 2;
            }
            ++i;
            restartSetsIt = true;
        } else if (std::strncmp(option, "--", 2) == 0) {
            return refuseOption(option);
        } else {
            args.push_back(argv[i]);
            restartSetsIt = true;  // the window size, which the restart takes from the window
        }
        if (!restartSetsIt) passedOn.insert(passedOn.end(), argv + first, argv + i + 1);
    }
    if (help) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (paused && !dev) {
        std::fprintf(stderr, "demo: --paused starts the authoring mode held; use it with --dev\n");
        return 2;
    }
    // A reload's restart goes on the first start's log, inside the copy it checked. The check
    // (the authoring mode's child among others) keeps the show's log as it is.
    if (!check) keepConsoleLog(watchFolder != nullptr);
    if (watchFolder == nullptr && !enterRunFolder()) return 1;
    if (check) {
        const std::string here = std::filesystem::current_path().string();
        runDataCheck("demo", here.c_str());
    }
    const int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    if (dev) {
        setConsoleDetailed(true);
        prepareDevMode(watchFolder);
    }
    if (!startShow(count, args.data(), chooseWindowSize(count, args.data()), !dev)) return 1;
    if (dev) beginDevMode(argv[0], paused, passedOn);
    if (startMs > 0) jumpShowTo(startMs);
    if (dev) noteShowJump(startMs);
    runMainLoop();
}
