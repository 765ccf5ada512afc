// Command line of the capture tool and its frame clock.
#pragma once

#include <string>
#include <vector>

#include "app/timeline.h"  // frameTimeMs, the frame clock

// The window layer a capture runs on: chosen by the machine, or named with --window.
enum class CaptureWindow { Automatic, Egl, Glut };

struct CaptureOptions {
    std::string dataDir;           // run directory with data/ and biisi.mp3; empty: show/ beside the tool
    int width = 1280;
    int height = 720;
    int fps = 60;
    std::vector<int> atMs;         // music times whose frames are written
    int fromMs = -1;               // with toMs: the stretch [fromMs, toMs) to capture; -1 when not given
    int toMs = -1;
    std::string out;               // output directory, or with --from a video file
    bool bench = false;            // step the whole show and print frame times instead
    CaptureWindow window = CaptureWindow::Automatic;
    bool drawUnseen = false;       // draw (and swap) every frame and every pass, seen or not
    int samples = 4;               // per pixel of the screen: 4 (multisampled) or 1
    bool help = false;
    bool listSlots = false;  // print the slot table instead
};

// Fills options from argv; false with a message in error on a bad option or value.
bool parseCaptureOptions(int argc, char** argv, CaptureOptions& options, std::string& error);

// The frame whose time is nearest to ms on the frame clock.
int frameAtMs(int ms, int fps);

// The frames whose times lie in [fromMs, toMs): first, and one past the last.
struct FrameRange {
    int first = 0;
    int end = 0;
};
FrameRange framesInRange(int fromMs, int toMs, int fps);

// True when out names a video file (.mp4, .mkv or .mov) rather than a folder for numbered PNGs.
bool isVideoPath(const std::string& out);

extern const char* const captureUsage;
