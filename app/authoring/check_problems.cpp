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

std::vector<std::string> newProblemLines(const std::vector<std::string>& known, const std::vector<std::string>& found) {
    std::vector<std::string> added;
    for (const std::string& line : found)
        if (std::find(known.begin(), known.end(), line) == known.end()) added.push_back(line);
    return added;
}
