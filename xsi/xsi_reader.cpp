// The dotXSI line reader and the order of the passes over one file.
#include "xsi/xsi_reader.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/data_file.h"
#include "app/print_line.h"
#include "xsi/xsi_materials.h"
#include "xsi/xsi_models.h"

XsiLine xsiLine;
int lightCounter = 0;

namespace {

struct OpenXsiFile {
    std::FILE* file = nullptr;
    std::string name;
    std::size_t size = 0;
    std::size_t position = 0;  // bytes consumed since the last rewind
    bool endOfFile = true;
    bool longLineReported = false;  // once per file, not once per pass
};

OpenXsiFile openFile;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

bool openXsiFile(const char* path) {
    closeXsiFile();
    std::FILE* file = openDataFile(path, "r");
    if (file == nullptr) {
        printLine("File %s not found!", path != nullptr ? path : "(null)");
        return false;
    }
    openFile.file = file;
    openFile.name = path;
    openFile.size = 0;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size > 0) openFile.size = static_cast<std::size_t>(size);
    }
    openFile.longLineReported = false;
    rewindXsiFile();
    return true;
}

void closeXsiFile() {
    if (openFile.file != nullptr) std::fclose(openFile.file);
    openFile = OpenXsiFile{};
}

void rewindXsiFile() {
    if (openFile.file == nullptr) return;
    std::rewind(openFile.file);
    openFile.position = 0;
    openFile.endOfFile = false;
}

bool xsiEndOfFile() { return openFile.endOfFile; }

const char* xsiFileName() { return openFile.name.c_str(); }

std::size_t xsiBytesLeft() { return openFile.position < openFile.size ? openFile.size - openFile.position : 0; }

bool checkXsiCount(long count, const char* what) {
    if (count >= 0 && static_cast<unsigned long>(count) <= xsiBytesLeft()) return true;
    printLine("Scene file %s: %s count %ld does not fit the file, skipped.", xsiFileName(), what, count);
    return false;
}

void readXsiLine() {
    std::FILE* file = openFile.file;
    int length = 0;
    bool cut = false;
    if (file == nullptr) openFile.endOfFile = true;
    while (file != nullptr) {
        int c = std::getc(file);
        if (c == EOF) {
            openFile.endOfFile = true;
            break;
        }
        ++openFile.position;
        if (c == '\n') break;
        if (c == '\r') {
            // Text mode on the files' home platform never lets the carriage return of a line end through.
            const int next = std::getc(file);
            if (next == '\n') {
                ++openFile.position;
                break;
            }
            if (next != EOF) std::ungetc(next, file);
        }
        if (length < xsiLineSize - 1)
            xsiLine.raw[length++] = static_cast<char>(c);
        else
            cut = true;
    }
    xsiLine.raw[length] = '\0';
    if (cut && !openFile.longLineReported) {
        printLine("Scene file %s: lines longer than %d characters are cut.", xsiFileName(), xsiLineSize - 1);
        openFile.longLineReported = true;
    }
    splitXsiLine();
}

void splitXsiLine() {
    XsiLine& line = xsiLine;
    line.raw[xsiLineSize - 1] = '\0';

    line.indent = 0;
    while (line.raw[line.indent] == '\t') ++line.indent;

    std::memset(line.tokens, 0, sizeof line.tokens);
    const char* p = line.raw;
    for (int t = 0; t < xsiTokenCount; ++t) {
        while (isSpace(*p)) ++p;
        if (*p == '\0') break;
        int at = 0;
        while (*p != '\0' && !isSpace(*p)) line.tokens[t][at++] = *p++;
    }

    std::memset(line.fields, 0, sizeof line.fields);
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

void copyXsiName(char* destination, std::size_t size, const char* source) {
    if (destination == nullptr || size == 0) return;
    if (source == nullptr) source = "";
    const std::size_t length = std::strlen(source);
    if (length >= size)
        printLine("Scene file %s: name longer than %zu characters cut: %s", xsiFileName(), size - 1, source);
    formatText(destination, size, "%s", source);
}

int xsiInt(const char* text) {
    if (text == nullptr) return 0;
    const long value = std::strtol(text, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

float xsiFloat(const char* text) { return text != nullptr ? static_cast<float>(std::strtod(text, nullptr)) : 0.0f; }

void loadXsiScene(const char* path, SceneNode*& root) {
    root = nullptr;
    lightCounter = 0;
    if (!openXsiFile(path)) return;
    // Materials first: meshes take theirs from the material list as they are read.
    readMaterialLibrary();
    readImageLibrary();
    bindImages();
    readModels(root);
    closeXsiFile();
}
