// Driver logs on scene-file lines.
#include "xsi/xsi_glsl_log.h"

#include <algorithm>
#include <regex>

namespace {

std::string trimmed(const std::string& text) {
    std::size_t from = 0, to = text.size();
    // Mesa ends some link messages with "\n." so that the next one starts with a stray dot.
    while (from < to && (text[from] == '.' || text[from] == ' ' || text[from] == '\t')) ++from;
    while (to > from && (text[to - 1] == ' ' || text[to - 1] == '\t' || text[to - 1] == '\r')) --to;
    return text.substr(from, to - from);
}

}  // namespace

std::vector<std::string> placeGlslLog(const std::string& log, const char* stage, const std::string& file,
                                      int headerLine) {
    // source string, then the line: "0:12(3): ", "0(12) : ", "ERROR: 0:12: "
    static const std::regex located(R"(^((?:ERROR|WARNING): )?\d+(?::(\d+)(?:\(\d+\))?|\((\d+)\))\s*:\s*(.*)$)");
    std::vector<std::string> placed;
    std::size_t from = 0;
    while (from <= log.size()) {
        std::size_t end = log.find('\n', from);
        if (end == std::string::npos) end = log.size();
        const std::string line = trimmed(log.substr(from, end - from));
        from = end + 1;
        if (line.empty()) continue;
        std::smatch match;
        std::string text;
        if (std::regex_match(line, match, located)) {
            const std::string number = match[2].matched ? match[2].str() : match[3].str();
            const long programLine = std::min(std::stol(number.substr(0, 9)), 100000000L);
            text = file + ":" + std::to_string(headerLine + programLine) + ": " + stage + ": " + match[1].str() +
                   match[4].str();
        } else {
            text = file + ": " + stage + ": " + line;
        }
        if (std::find(placed.begin(), placed.end(), text) == placed.end()) placed.push_back(text);
    }
    return placed;
}
