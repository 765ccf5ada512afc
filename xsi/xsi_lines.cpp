// The dotXSI line reader.
#include "xsi/xsi_lines.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <algorithm>
#include <string>

#include "base/data_file.h"
#include "base/print_line.h"
#include "base/problem_detail.h"

namespace {

constexpr std::size_t readBufferSize = 1 << 16;

// A file with many bad numbers names the first few, then how many more at its end.
constexpr int numberProblemsSaid = 5;

bool refillBuffer(XsiFileState& openFile) {
    if (openFile.buffer == nullptr) openFile.buffer = std::make_unique<char[]>(readBufferSize);
    const std::size_t got = std::fread(openFile.buffer.get(), 1, readBufferSize, openFile.file);
    openFile.next = openFile.buffer.get();
    openFile.end = openFile.next + got;
    return got > 0;
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

XsiFile::~XsiFile() { closeXsiFile(*this); }

bool openXsiFile(XsiFile& xsi, const char* path) {
    closeXsiFile(xsi);
    std::FILE* file = openDataFile(path, "r");
    if (file == nullptr) {
        reportMissingFile(path);
        return false;
    }
    XsiFileState& openFile = xsi.state;
    openFile.file = file;
    openFile.name = problemPath(path);
    openFile.size = 0;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size > 0) openFile.size = static_cast<std::size_t>(size);
    }
    openFile.longLineReported = false;
    rewindXsiFile(xsi);
    return true;
}

void closeXsiFile(XsiFile& xsi) {
    if (xsi.state.file != nullptr) std::fclose(xsi.state.file);
    xsi.state = XsiFileState{};
}

void rewindXsiFile(XsiFile& xsi) {
    XsiFileState& openFile = xsi.state;
    if (openFile.file == nullptr) return;
    std::rewind(openFile.file);
    openFile.next = openFile.end = nullptr;
    openFile.position = 0;
    openFile.lineNumber = 0;
    openFile.endOfFile = false;
}

bool xsiEndOfFile(const XsiFile& xsi) { return xsi.state.endOfFile; }

const char* xsiFileName(const XsiFile& xsi) { return xsi.state.name.c_str(); }

int xsiLineNumber(const XsiFile& xsi) { return xsi.state.lineNumber; }

std::size_t xsiBytesLeft(const XsiFile& xsi) {
    const XsiFileState& openFile = xsi.state;
    return openFile.position < openFile.size ? openFile.size - openFile.position : 0;
}

bool checkXsiCount(const XsiFile& xsi, long count, const char* what) {
    if (count >= 0 && static_cast<unsigned long>(count) <= xsiBytesLeft(xsi)) return true;
    reportDataProblem("Scene file %s: %s count %ld does not fit the file, skipped.", xsiFileName(xsi), what, count);
    return false;
}

namespace {

// Blocks open on a line ending in "{" and close on one starting with "}"; GLSL's braces inside
// the quoted programs balance the same way.
void noteLineShape(XsiFileState& openFile, const XsiLine& line, std::size_t lineStart, bool byteOrderMark) {
    if (lineStart < openFile.shapeReadUpTo) return;
    openFile.shapeReadUpTo = openFile.position;
    if (lineStart == 0) {
        openFile.byteOrderMark = byteOrderMark;
        openFile.header = std::strncmp(line.raw, "xsi ", 4) == 0;
    }
    if (line.tokens[0][0] == '}' && --openFile.openBlocks < 0 && openFile.firstUnmatchedClose == 0)
        openFile.firstUnmatchedClose = openFile.lineNumber;
    std::size_t length = std::strlen(line.raw);
    while (length > 0 && isSpace(line.raw[length - 1])) --length;
    if (length > 0 && line.raw[length - 1] == '{') ++openFile.openBlocks;
}

}  // namespace

void reportXsiFileShape(const XsiFile& xsi) {
    const XsiFileState& openFile = xsi.state;
    if (openFile.file == nullptr) return;
    const char* name = xsiFileName(xsi);
    if (openFile.size == 0)
        reportDataProblem("Scene file %s is empty.", name);
    else if (!openFile.header)
        reportDataProblem("Scene file %s does not start with an \"xsi\" line: it is not a dotXSI text file.", name);
    else if (openFile.shapeReadUpTo >= openFile.size && openFile.openBlocks > 0)
        reportDataProblem("Scene file %s ends inside %ld open blocks: it was cut short.", name, openFile.openBlocks);
    if (openFile.numberProblems > numberProblemsSaid)
        reportCheckProblem("Scene file %s: %d more lines with numbers like those above.", name,
                           openFile.numberProblems - numberProblemsSaid);
    if (openFile.byteOrderMark)
        reportCheckProblem("Scene file %s starts with a UTF-8 byte order mark; the show reads past it, other dotXSI "
                           "readers may not.",
                           name);
    // The reader ends a block at its "}": one too many ends the block around it early, and
    // whatever that block still holds is read as if it stood outside.
    if (openFile.firstUnmatchedClose > 0)
        reportCheckProblem("Scene file %s, line %d: this \"}\" closes more blocks than were opened, so a block "
                           "before it ended early at a stray \"}\" and the rest of it was read outside it.",
                           name, openFile.firstUnmatchedClose);
}

void readXsiLine(XsiFile& xsi) {
    XsiFileState& openFile = xsi.state;
    XsiLine& line = xsi.line;
    const std::size_t lineStart = openFile.position;
    std::size_t total = 0;  // characters of the line, however many fit
    char last = '\0';       // the line's last character, wherever it was stored
    bool endedByLineFeed = false;
    if (openFile.file == nullptr) openFile.endOfFile = true;
    else ++openFile.lineNumber;
    while (openFile.file != nullptr) {
        if (openFile.next == openFile.end && !refillBuffer(openFile)) {
            openFile.endOfFile = true;
            break;
        }
        const char* start = openFile.next;
        const std::size_t available = static_cast<std::size_t>(openFile.end - start);
        const auto* lineFeed = static_cast<const char*>(std::memchr(start, '\n', available));
        const std::size_t chunk = lineFeed != nullptr ? static_cast<std::size_t>(lineFeed - start) : available;
        if (total < xsiLineSize - 1)
            std::memcpy(line.raw + total, start, std::min(chunk, xsiLineSize - 1 - total));
        total += chunk;
        if (chunk > 0) last = start[chunk - 1];
        openFile.next += chunk;
        openFile.position += chunk;
        if (lineFeed != nullptr) {
            ++openFile.next;
            ++openFile.position;
            endedByLineFeed = true;
            break;
        }
    }
    // Text mode on the files' home platform never lets the carriage return of a line end through.
    if (endedByLineFeed && last == '\r') --total;
    const bool cut = total > xsiLineSize - 1;
    line.raw[cut ? xsiLineSize - 1 : total] = '\0';
    if (cut && !openFile.longLineReported) {
        reportDataProblem("Scene file %s: lines longer than %d characters are cut.", xsiFileName(xsi), xsiLineSize - 1);
        openFile.longLineReported = true;
    }
    // A UTF-8 byte order mark before the header is passed over, as the passes always did.
    const bool mark = lineStart == 0 && std::strncmp(line.raw, "\xEF\xBB\xBF", 3) == 0;
    if (mark) std::memmove(line.raw, line.raw + 3, std::strlen(line.raw + 3) + 1);
    splitXsiLine(line);
    if (openFile.file != nullptr) noteLineShape(openFile, line, lineStart, mark);
}

void splitXsiLine(XsiLine& line) {
    line.raw[xsiLineSize - 1] = '\0';

    line.indent = 0;
    while (line.raw[line.indent] == '\t') ++line.indent;

    // Only the terminators are cleared: every line is split once per pass, and the tokens and
    // fields are only ever read as strings.
    for (auto& token : line.tokens) token[0] = '\0';
    const char* p = line.raw;
    for (int t = 0; t < xsiTokenCount; ++t) {
        while (isSpace(*p)) ++p;
        if (*p == '\0') break;
        int at = 0;
        while (*p != '\0' && !isSpace(*p)) line.tokens[t][at++] = *p++;
        line.tokens[t][at] = '\0';
    }

    for (auto& field : line.fields) field[0] = '\0';
    // Nothing is stored before the first quote, so a line without one has four empty fields.
    if (std::strchr(line.raw, '"') == nullptr) return;
    int field = 0, at = 0;
    bool copying = false;
    for (const char* c = line.raw; *c != '\0' && *c != '\n'; ++c) {
        if (*c == '"') {
            copying = true;
        } else if (*c == ',') {
            line.fields[field][at] = '\0';
            // Past the fourth field every comma starts field 3 again: it keeps the line's last field.
            if (field < xsiFieldCount - 1) ++field;
            at = 0;
        } else if (copying && at < xsiLineSize - 1) {
            line.fields[field][at++] = *c;
        }
    }
    line.fields[field][at] = '\0';
}

void copyXsiName(const XsiFile& xsi, char* destination, std::size_t size, const char* source) {
    if (destination == nullptr || size == 0) return;
    if (source == nullptr) source = "";
    const std::size_t length = std::strlen(source);
    if (length >= size)
        reportDataProblem("Scene file %s: name longer than %zu characters cut: %s", xsiFileName(xsi), size - 1, source);
    formatText(destination, size, "%s", source);
}

int xsiInt(const char* text) {
    if (text == nullptr) return 0;
    const long value = std::strtol(text, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

namespace {

// What may follow a number in a field or on a value line: spaces and the list's comma.
bool onlyListEnd(const char* p) {
    while (isSpace(*p)) ++p;
    if (*p == ',') ++p;
    while (isSpace(*p)) ++p;
    return *p == '\0';
}

bool finiteFloat(double value) { return std::isfinite(value) && std::isfinite(static_cast<float>(value)); }

bool sayNumberProblem(XsiFile& xsi) { return ++xsi.state.numberProblems <= numberProblemsSaid; }

// The line without its indent, for a message.
std::string shownLine(const XsiLine& line) {
    const char* p = line.raw;
    while (isSpace(*p)) ++p;
    std::string text(p);
    if (text.size() > 60) text = text.substr(0, 57) + "...";
    return text;
}

}  // namespace

float xsiFloat(XsiFile& xsi, const char* text) {
    if (text == nullptr) return 0.0f;
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (!consoleIsQuiet()) return static_cast<float>(value);
    const char* file = xsiFileName(xsi);
    const int line = xsiLineNumber(xsi);
    if (end == text && text[0] != '\0') {
        if (sayNumberProblem(xsi))
            reportCheckProblem("Scene file %s, line %d: \"%s\" is not a number; the show reads it as 0.", file, line, text);
    } else if (end == text) {
        if (sayNumberProblem(xsi))
            reportCheckProblem("Scene file %s, line %d: a number is missing; the show reads it as 0.", file, line);
    } else if (!finiteFloat(value)) {
        if (sayNumberProblem(xsi))
            reportCheckProblem("Scene file %s, line %d: \"%s\" is not a finite number, so what it belongs to is not "
                               "drawn as it should be.",
                               file, line, text);
    } else if (!onlyListEnd(end)) {
        if (sayNumberProblem(xsi))
            reportCheckProblem("Scene file %s, line %d: \"%s\" has \"%s\" after its number; the show reads %g.", file,
                               line, text, end, value);
    }
    return static_cast<float>(value);
}

void checkXsiValueLine(XsiFile& xsi, int wanted, bool integers, const char* what, long index, long count) {
    if (!consoleIsQuiet()) return;
    const char* p = xsi.line.raw;
    int numbers = 0;
    bool finite = true;
    for (; numbers < wanted; ++numbers) {
        if (numbers > 0) {
            if (*p != ',') break;
            ++p;
        }
        char* end = nullptr;
        const double value = integers ? static_cast<double>(std::strtol(p, &end, 10)) : std::strtod(p, &end);
        if (end == p) break;
        finite = finite && finiteFloat(value);
        p = end;
    }
    if (numbers == wanted && finite && onlyListEnd(p)) return;
    if (!sayNumberProblem(xsi)) return;
    const char* file = xsiFileName(xsi);
    const int line = xsiLineNumber(xsi);
    const std::string shown = shownLine(xsi.line);
    if (numbers < wanted)
        reportCheckProblem("Scene file %s, line %d: %s %ld of %ld holds %d number%s where %d belong (\"%s\"): is the "
                           "count %ld right?",
                           file, line, what, index + 1, count, numbers, numbers == 1 ? "" : "s", wanted, shown.c_str(),
                           count);
    else if (!finite)
        reportCheckProblem("Scene file %s, line %d: %s %ld of %ld is not finite (\"%s\"), so what it belongs to is not "
                           "drawn as it should be.",
                           file, line, what, index + 1, count, shown.c_str());
    else
        reportCheckProblem("Scene file %s, line %d: %s %ld of %ld has characters after its numbers (\"%s\"); the show "
                           "reads the numbers before them.",
                           file, line, what, index + 1, count, shown.c_str());
}

namespace {

// Value lines are most of a scene file: a scanner of our own instead of sscanf's format parsing.
template <typename Value, typename Parse>
int scanNumbers(const char* text, Value* values, int count, Parse parse) {
    if (text == nullptr) return 0;
    const char* p = text;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            if (*p != ',') return i;
            ++p;
        }
        char* end = nullptr;
        const Value value = parse(p, &end);
        if (end == p) return i;
        values[i] = value;
        p = end;
    }
    return count;
}

}  // namespace

int scanXsiFloats(const char* text, float* values, int count) {
    return scanNumbers(text, values, count, [](const char* p, char** end) { return std::strtof(p, end); });
}

int scanXsiInts(const char* text, int* values, int count) {
    return scanNumbers(text, values, count, [](const char* p, char** end) {
        const long value = std::strtol(p, end, 10);
        return static_cast<int>(value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : value);
    });
}
