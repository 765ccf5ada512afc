// Command line of the capture tool and its frame clock.
#pragma once

#include <string>
#include <vector>

struct CaptureOptions {
    std::string dataDir;           // run directory with data/ and biisi.mp3; empty: show/ beside the tool
    int width = 1280;
    int height = 720;
    int fps = 60;
    std::vector<int> atMs;         // music times whose frames are written
    std::string out;               // output directory
    bool bench = false;            // step the whole show and print frame times instead
    bool help = false;
};

// Fills options from argv; false with a message in error on a bad option or value.
bool parseCaptureOptions(int argc, char** argv, CaptureOptions& options, std::string& error);

// The music time of frame i: round(i * 1000 / fps) ms.
int frameTimeMs(int frame, int fps);

// The frame whose time is nearest to ms on the frame clock.
int frameAtMs(int ms, int fps);

extern const char* const captureUsage;
