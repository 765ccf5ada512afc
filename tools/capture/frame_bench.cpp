// Frame-time statistics.
#include "tools/capture/frame_bench.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

double nearestRank(const std::vector<double>& sorted, double share) {
    const auto rank = static_cast<std::size_t>(std::ceil(share * static_cast<double>(sorted.size())));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

std::string row(const char* name, const FrameTimeSummary& s) {
    char line[128];
    std::snprintf(line, sizeof line, "%-10s %8d %10.1f %10.1f\n", name, s.frames, s.medianMs, s.p95Ms);
    return line;
}

}  // namespace

FrameTimeSummary summariseFrameTimes(std::vector<double> frameMs) {
    FrameTimeSummary summary;
    if (frameMs.empty()) return summary;
    std::sort(frameMs.begin(), frameMs.end());
    summary.frames = static_cast<int>(frameMs.size());
    summary.medianMs = nearestRank(frameMs, 0.5);
    summary.p95Ms = nearestRank(frameMs, 0.95);
    return summary;
}

std::string formatBenchTable(const std::vector<std::vector<double>>& frameMsBySlot, const StartupFigures& startup) {
    std::string table = "slot         frames  median ms     p95 ms\n";
    std::vector<double> all;
    for (std::size_t slot = 0; slot < frameMsBySlot.size(); ++slot) {
        const std::vector<double>& times = frameMsBySlot[slot];
        if (times.empty()) continue;
        all.insert(all.end(), times.begin(), times.end());
        const std::string name = "slot " + std::to_string(slot);
        table += row(name.c_str(), summariseFrameTimes(times));
    }
    table += row("show", summariseFrameTimes(all));
    char line[256];
    std::snprintf(line, sizeof line,
                  "start-up   %.0f ms from the tool's start to the first frame: scene files %.0f, images %.0f, "
                  "shaders %.0f, audio %.0f, the rest (window, GL, targets, first frame) %.0f\n",
                  startup.totalMs, startup.sceneFilesMs, startup.imagesMs, startup.shadersMs, startup.audioMs,
                  startup.totalMs - startup.sceneFilesMs - startup.imagesMs - startup.shadersMs - startup.audioMs);
    return table + line;
}
