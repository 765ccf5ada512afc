// Reading a check's output.
#include "app/authoring/check_problems.h"

#include <algorithm>

std::vector<std::string> checkProblemLines(const std::string& output) {
    std::vector<std::string> problems;
    std::size_t from = 0;
    while (from < output.size()) {
        std::size_t end = output.find('\n', from);
        if (end == std::string::npos) end = output.size();
        if (end > from) problems.push_back(output.substr(from, end - from));
        from = end + 1;
    }
    if (!problems.empty()) problems.pop_back();  // the summary
    return problems;
}

namespace {

// A line as compared: a compiler's message placed on a line of its file ("data/bg.xsi:22: ...")
// is the same message when an edit above it moves it.
std::string comparedLine(const std::string& line) {
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos || line.find(' ') < colon) return line;
    std::size_t end = colon + 1;
    while (end < line.size() && line[end] >= '0' && line[end] <= '9') ++end;
    if (end == colon + 1 || end >= line.size() || line[end] != ':') return line;
    return line.substr(0, colon + 1) + line.substr(end);
}

}  // namespace

std::vector<std::string> newProblemLines(const std::vector<std::string>& known, const std::vector<std::string>& found) {
    std::vector<std::string> knownCompared;
    for (const std::string& line : known) knownCompared.push_back(comparedLine(line));
    std::vector<std::string> added;
    for (const std::string& line : found)
        if (std::find(knownCompared.begin(), knownCompared.end(), comparedLine(line)) == knownCompared.end())
            added.push_back(line);
    return added;
}
