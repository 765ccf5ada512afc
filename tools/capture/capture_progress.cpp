// Formatting the capture tool's progress.
#include "tools/capture/capture_progress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

namespace {

constexpr int barWidth = 20;
constexpr int plainStepsPerRun = 20;

std::string minutesAndSeconds(double seconds) {
    const long long whole = std::llround(std::max(0.0, seconds));
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    return text;
}

}  // namespace

std::string formatProgress(int done, int total, double elapsedSeconds) {
    const double fraction = total > 0 ? std::clamp(static_cast<double>(done) / total, 0.0, 1.0) : 1.0;
    const int filled = static_cast<int>(fraction * barWidth);
    std::string line(barWidth + 2, '-');
    line.front() = '[';
    line.back() = ']';
    line.replace(1, static_cast<std::size_t>(filled), static_cast<std::size_t>(filled), '#');
    char text[96];
    std::snprintf(text, sizeof text, " %3d%%  %d/%d frames  ", static_cast<int>(fraction * 100), done, total);
    line += text;
    if (done <= 0 || elapsedSeconds <= 0.0) return line + "-- fps  --:-- left";
    const double rate = done / elapsedSeconds;
    std::snprintf(text, sizeof text, "%.1f fps  ", rate);
    return line + text + minutesAndSeconds((total - done) / rate) + " left";
}

bool plainProgressDue(int done, int total, int lastShown) {
    if (total <= 0 || done >= total) return true;
    const auto step = [total](int frames) { return static_cast<long long>(frames) * plainStepsPerRun / total; };
    return step(done) > step(lastShown);
}

std::string formatByteSize(std::uintmax_t bytes) {
    if (bytes < 1000) return std::to_string(bytes) + " B";
    const char* const units[] = {"KB", "MB", "GB", "TB"};
    double value = static_cast<double>(bytes) / 1000.0;
    std::size_t unit = 0;
    while (value >= 1000.0 && unit + 1 < std::size(units)) {
        value /= 1000.0;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", value, units[unit]);
    return text;
}
