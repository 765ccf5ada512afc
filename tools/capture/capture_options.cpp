// Parsing and checking the capture tool's options.
#include "tools/capture/capture_options.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/timeline.h"

const char* const captureUsage =
    "usage: demo-capture [--data DIR] [--size WxH] [--fps N] --at T1,T2,... --out DIR\n"
    "       demo-capture [--data DIR] [--size WxH] [--fps N] --from A --to B --out FILE.mp4|DIR\n"
    "       demo-capture [--data DIR] [--size WxH] [--fps N] --bench\n"
    "       demo-capture --list-slots\n"
    "  --data DIR   run directory holding data/ and biisi.mp3 (default: show/ beside the tool)\n"
    "  --size WxH   window size (default 1280x720)\n"
    "  --fps N      frame rate of the frame clock (default 60)\n"
    "  --at T,...   music times in ms whose frames are written as DIR/frame-T.png\n"
    "  --from A     with --to B: the frames of music times [A, B) ms, with the music when --out\n"
    "  --to B       ends in .mp4, .mkv or .mov (H.264 by ffmpeg), else as DIR/frame-NNNNNN.png\n"
    "  --out DIR    where the frames go\n"
    "  --bench      step the whole show and print the frame times of each slot and the start-up time\n"
    "  --list-slots print the slots, a line each: number, first and end music time in ms, room\n"
    "  --window egl|glut  any mode: draw off-screen through EGL, or in a GLUT window (default: EGL on\n"
    "               a GPU, else a window on the display, else EGL without any X server)\n"
    "  --draw-unseen  draw every frame and every pass, seen or not, as the reference for the\n"
    "               state-only stepping of frames and passes whose pixels nobody reads\n"
    "  --samples 1|4  samples per pixel: 4, multisampled where the system can (default), or 1, no\n"
    "               multisample buffers, as a single-sampled browser build draws\n";

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
        if (option == "--list-slots") {
            options.listSlots = true;
            return true;
        }
        if (option == "--bench") {
            options.bench = true;
            continue;
        }
        if (option == "--draw-unseen") {
            options.drawUnseen = true;
            continue;
        }
        if (option != "--data" && option != "--size" && option != "--fps" && option != "--at" &&
            option != "--from" && option != "--to" && option != "--out" && option != "--window" &&
            option != "--samples") {
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
        } else if (option == "--from" || option == "--to") {
            // --from stops short of the end, --to may be the end itself
            const int last = option == "--from" ? showEndMs - 1 : showEndMs;
            if (!parseInt(value.c_str(), 0, last, option == "--from" ? options.fromMs : options.toMs)) {
                error = option + " wants a music time from 0 to " + std::to_string(last) + " ms, not " + value;
                return false;
            }
        } else if (option == "--window") {
            if (value != "egl" && value != "glut") {
                error = "--window wants egl or glut, not " + value;
                return false;
            }
            options.window = value == "egl" ? CaptureWindow::Egl : CaptureWindow::Glut;
        } else if (option == "--samples") {
            if (value != "1" && value != "4") {
                error = "--samples wants 1 or 4, not " + value;
                return false;
            }
            options.samples = value == "1" ? 1 : 4;
        } else {
            options.out = value;
        }
    }
    const bool range = options.fromMs >= 0 || options.toMs >= 0;
    if (options.bench) {
        if (options.atMs.empty() && options.out.empty() && !range) return true;
        error = "--bench writes no frames: leave out --at, --from, --to and --out";
        return false;
    }
    if (range) {
        if (!options.atMs.empty()) {
            error = "--at and --from/--to do not go together: single frames or a stretch, not both";
            return false;
        }
        if (options.fromMs < 0 || options.toMs < 0) {
            error = "--from and --to go together";
            return false;
        }
        if (options.toMs <= options.fromMs) {
            error = "--to must come after --from: " + std::to_string(options.toMs) + " ms is not after " +
                    std::to_string(options.fromMs) + " ms";
            return false;
        }
        if (options.out.empty()) {
            error = "--from needs --out FILE.mp4 or --out DIR";
            return false;
        }
        return true;
    }
    if (options.atMs.empty()) {
        error = "nothing to capture: give --at, --from and --to, or --bench";
        return false;
    }
    if (options.out.empty()) {
        error = "--at needs --out DIR";
        return false;
    }
    return true;
}

int frameAtMs(int ms, int fps) {
    return static_cast<int>(std::llround(static_cast<double>(ms) * fps / 1000.0));
}

FrameRange framesInRange(int fromMs, int toMs, int fps) {
    FrameRange range;
    range.first = firstFrameAtOrAfter(fromMs, fps);
    range.end = std::max(range.first, firstFrameAtOrAfter(toMs, fps));
    return range;
}

bool isVideoPath(const std::string& out) {
    const std::size_t dot = out.rfind('.');
    if (dot == std::string::npos || out.find('/', dot) != std::string::npos) return false;
    std::string extension = out.substr(dot);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".mp4" || extension == ".mkv" || extension == ".mov";
}
