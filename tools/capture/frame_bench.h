// Frame-time statistics of the capture tool's --bench: frame times collected per timeline slot,
// summarised as count, median and 95th percentile.
#pragma once

#include <string>
#include <vector>

struct FrameTimeSummary {
    int frames = 0;
    double medianMs = 0.0;
    double p95Ms = 0.0;
};

// Nearest-rank median and 95th percentile; all zero for no frames.
FrameTimeSummary summariseFrameTimes(std::vector<double> frameMs);

// The start-up figures: the total, and its parts by loader (the rest is window, GL and targets).
struct StartupFigures {
    double totalMs = 0.0;
    double sceneFilesMs = 0.0;
    double imagesMs = 0.0;
    double shadersMs = 0.0;
    double audioMs = 0.0;
};

// The table --bench prints: one row per slot that had frames (index = slot number, 1 to 5), a row
// for the whole show, then the start-up time and its parts.
std::string formatBenchTable(const std::vector<std::vector<double>>& frameMsBySlot, const StartupFigures& startup);
