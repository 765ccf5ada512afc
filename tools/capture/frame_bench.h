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

// The table --bench prints: one row per slot that had frames (index = slot number, 1 to 5), a row
// for the whole show, then the start-up time.
std::string formatBenchTable(const std::vector<std::vector<double>>& frameMsBySlot, double startupMs);
