// Bounded console formatting.
#include "base/print_line.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

namespace {

int formatInto(char* buffer, std::size_t bufferSize, const char* format, std::va_list args) {
    if (bufferSize == 0) return 0;
    std::memset(buffer, 0, bufferSize);
    if (format == nullptr) return 0;
    int wanted = std::vsnprintf(buffer, bufferSize, format, args);
    if (wanted < 0) {
        buffer[0] = '\0';
        return 0;
    }
    return static_cast<std::size_t>(wanted) < bufferSize ? wanted : static_cast<int>(bufferSize - 1);
}

bool consoleQuiet = false;
bool consoleDetail = false;
int problemCount = 0;
std::set<std::string> problemsPrinted;  // on a detailed console
bool lastProblemRepeated = false;
std::vector<std::string>* heldLines = nullptr;
std::FILE* lineCopy = nullptr;

void writeText(const char* buffer, int length) {
    if (heldLines != nullptr) {
        // Line by line, as they would show: a message may hold line feeds of its own.
        const char* line = buffer;
        for (const char* end; (end = std::strchr(line, '\n')) != nullptr; line = end + 1)
            heldLines->emplace_back(line, static_cast<std::size_t>(end - line));
        heldLines->emplace_back(line);
        return;
    }
    for (std::FILE* out : {stdout, lineCopy}) {
        if (out == nullptr) continue;
        std::fwrite(buffer, 1, static_cast<std::size_t>(length), out);
        std::fputc('\n', out);
        // Flushed per line so progress shows even when stdout is a pipe and the show is cut short.
        std::fflush(out);
    }
}

void writeLine(const char* format, std::va_list args) {
    char buffer[printLineBufferSize];
    writeText(buffer, formatInto(buffer, sizeof buffer, format, args));
}

// A problem, said and counted once on a detailed console.
void writeProblem(const char* format, std::va_list args) {
    char buffer[printLineBufferSize];
    const int length = formatInto(buffer, sizeof buffer, format, args);
    lastProblemRepeated = consoleDetail && !problemsPrinted.insert(buffer).second;
    if (lastProblemRepeated) return;
    ++problemCount;
    writeText(buffer, length);
}

}  // namespace

int formatText(char* buffer, std::size_t bufferSize, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    int written = formatInto(buffer, bufferSize, format, args);
    va_end(args);
    return written;
}

void printLine(const char* format, ...) {
    if (format == nullptr || consoleQuiet) return;
    std::va_list args;
    va_start(args, format);
    writeLine(format, args);
    va_end(args);
}

void reportDataProblem(const char* format, ...) {
    if (format == nullptr) return;
    std::va_list args;
    va_start(args, format);
    writeProblem(format, args);
    va_end(args);
}

void reportDataProblemDetail(const char* format, ...) {
    if (format == nullptr || lastProblemRepeated) return;
    std::va_list args;
    va_start(args, format);
    writeLine(format, args);
    va_end(args);
}

void reportCheckProblem(const char* format, ...) {
    if (format == nullptr || !consoleQuiet) return;
    std::va_list args;
    va_start(args, format);
    writeProblem(format, args);
    va_end(args);
}

void reportCheckNote(const char* format, ...) {
    if (format == nullptr || !consoleQuiet) return;
    std::va_list args;
    va_start(args, format);
    writeLine(format, args);
    va_end(args);
}

int dataProblemCount() { return problemCount; }

void setConsoleQuiet(bool quiet) { consoleQuiet = quiet; }

bool consoleIsQuiet() { return consoleQuiet; }

void holdConsoleLines(std::vector<std::string>* lines) { heldLines = lines; }

void copyConsoleLinesTo(std::FILE* file) { lineCopy = file; }

void setConsoleDetailed(bool detailed) { consoleDetail = detailed; }

bool consoleDetailed() { return consoleDetail; }
