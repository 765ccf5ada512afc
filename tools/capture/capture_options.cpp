// Parsing and checking the capture tool's options.
#include "tools/capture/capture_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "app/timeline.h"

const char* const captureUsage =
    "usage: demo-capture [--data DIR] [--size WxH] [--fps N] --at T1,T2,... --out DIR\n"
    "       demo-capture [--data DIR] [--size WxH] [--fps N] --bench\n"
    "  --data DIR   run directory holding data/ and biisi.mp3 (default: show/ beside the tool)\n"
    "  --size WxH   window size (default 1280x720)\n"
    "  --fps N      frame rate of the frame clock (default 60)\n"
    "  --at T,...   music times in ms whose frames are written as DIR/frame-T.png\n"
    "  --out DIR    where the frames go\n"
    "  --bench      step the whole show and print the frame times of each slot and the start-up time\n";

namespace {

constexpr int largestSide = 16384;

// A whole decimal number in [low, high], nothing else.
bool parseInt(const char* text, int low, int high, int& value) {
    if (text == nullptr || *text == '\0') return false;
    errno = 0;
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || parsed < low || parsed > high) return false;
    value = static_cast<int>(parsed);
    return true;
}

bool parseSize(const std::string& text, int& width, int& height) {
    const std::size_t x = text.find('x');
    if (x == std::string::npos) return false;
    return parseInt(text.substr(0, x).c_str(), 1, largestSide, width) &&
           parseInt(text.substr(x + 1).c_str(), 1, largestSide, height);
}

bool parseTimes(const std::string& text, std::vector<int>& times) {
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string::npos) comma = text.size();
        int ms = 0;
        if (!parseInt(text.substr(start, comma - start).c_str(), 0, showEndMs - 1, ms)) return false;
        times.push_back(ms);
        start = comma + 1;
    }
    return !times.empty();
}

}  // namespace

bool parseCaptureOptions(int argc, char** argv, CaptureOptions& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            options.help = true;
            return true;
        }
        if (option == "--bench") {
            options.bench = true;
            continue;
        }
        if (option == "--from" || option == "--to") {
            error = option + " is not available yet; this version writes single frames with --at";
            return false;
        }
        if (option != "--data" && option != "--size" && option != "--fps" && option != "--at" &&
            option != "--out") {
            error = "unknown option " + option;
            return false;
        }
        if (i + 1 >= argc) {
            error = option + " needs a value";
            return false;
        }
        const std::string value = argv[++i];
        if (option == "--data") {
            options.dataDir = value;
        } else if (option == "--size") {
            if (!parseSize(value, options.width, options.height)) {
                error = "--size wants WxH with sides from 1 to 16384, not " + value;
                return false;
            }
        } else if (option == "--fps") {
            if (!parseInt(value.c_str(), 1, 1000, options.fps)) {
                error = "--fps wants a whole number from 1 to 1000, not " + value;
                return false;
            }
        } else if (option == "--at") {
            if (!parseTimes(value, options.atMs)) {
                error = "--at wants comma-separated music times from 0 to 209999 ms, not " + value;
                return false;
            }
        } else {
            options.out = value;
        }
    }
    if (options.bench) {
        if (options.atMs.empty() && options.out.empty()) return true;
        error = "--bench writes no frames: leave out --at and --out";
        return false;
    }
    if (options.atMs.empty()) {
        error = "nothing to capture: give --at or --bench";
        return false;
    }
    if (options.out.empty()) {
        error = "--at needs --out DIR";
        return false;
    }
    return true;
}

int frameTimeMs(int frame, int fps) {
    return static_cast<int>(std::llround(static_cast<double>(frame) * 1000.0 / fps));
}

int frameAtMs(int ms, int fps) {
    return static_cast<int>(std::llround(static_cast<double>(ms) * fps / 1000.0));
}
