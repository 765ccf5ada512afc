// The dotXSI line reader: one scene file open for reading (XsiFile), its current line split into
// indent, tokens and fields, and what is counted over the file. A load holds the record and hands
// it to each pass that reads (xsi_materials, xsi_models); the reader keeps nothing global.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

constexpr int xsiLineSize = 256;  // bytes of the raw line, each token and each field, terminator included
constexpr int xsiTokenCount = 5;
constexpr int xsiFieldCount = 4;

struct XsiLine {
    char raw[xsiLineSize];  // without its line feed; leading tabs kept
    int indent;             // tabs before the first other character
    char tokens[xsiTokenCount][xsiLineSize];  // the first five words
    // Comma-separated, quotes removed; nothing is kept before the first quote of the line.
    char fields[xsiFieldCount][xsiLineSize];
};

// The open file as the reader keeps it, and what it counts over it; read through the functions
// below. All of it starts afresh when a file opens or closes.
struct XsiFileState {
    std::FILE* file = nullptr;
    std::string name;
    std::size_t size = 0;
    std::size_t position = 0;  // bytes consumed since the last rewind
    int lineNumber = 0;        // of the line read last, from 1
    bool endOfFile = true;
    bool longLineReported = false;  // once per file, not once per pass
    // The file's shape, taken from each line the first time a pass reads it.
    std::size_t shapeReadUpTo = 0;
    bool header = false;
    bool byteOrderMark = false;
    long openBlocks = 0;
    int firstUnmatchedClose = 0;  // the line where more blocks had closed than opened, from 1
    int numberProblems = 0;       // said so far for this file
    // The model pass's counts over the file.
    int lightCounter = 0;            // GL light index of the next light
    bool deepModelReported = false;  // models nested too deep, said once per file
    // Lines are cut out of large reads: a file is read three times, so this is the reader's floor.
    std::unique_ptr<char[]> buffer;
    const char* next = nullptr;
    const char* end = nullptr;
};

// One scene file being read: made with no file open; whatever is open closes with it.
struct XsiFile {
    XsiLine line{};  // the current line, overwritten by every read
    XsiFileState state;

    XsiFile() = default;
    XsiFile(const XsiFile&) = delete;
    XsiFile& operator=(const XsiFile&) = delete;
    ~XsiFile();
};

// Opens a scene file for the passes (text mode); false after a message naming it when it cannot
// be opened. Any file still open is closed first.
bool openXsiFile(XsiFile& file, const char* path);
void closeXsiFile(XsiFile& file);

// Reads the next line of the open file into file.line. At the end of the file (or with no file
// open) the line is empty. Longer lines than xsiLineSize - 1 characters are cut and the rest of
// the line is passed over.
void readXsiLine(XsiFile& file);

// Says on the console what is wrong with the open file's shape, as far as the passes have read
// it: empty, no "xsi" header line, or ending inside open blocks (a file cut short).
void reportXsiFileShape(const XsiFile& file);

// Back to offset 0, end of file cleared.
void rewindXsiFile(XsiFile& file);

// True once a read has run into the end of the file (and with no file open).
bool xsiEndOfFile(const XsiFile& file);

// The open file's name for messages (as given to openXsiFile, as problem lines print it); ""
// when none is open.
const char* xsiFileName(const XsiFile& file);

// The line number of file.line in the open file, from 1.
int xsiLineNumber(const XsiFile& file);

// Bytes not read yet: the most lines, and so the most entries, the rest of the file can hold.
std::size_t xsiBytesLeft(const XsiFile& file);

// A count read from the file that is about to size an array: true when it is not negative and
// no larger than what the rest of the file can hold; otherwise false after a message.
bool checkXsiCount(const XsiFile& file, long count, const char* what);

// Splits line.raw into indent, tokens and fields (readXsiLine does this after every read).
void splitXsiLine(XsiLine& line);

// Bounded copy of a name or path from the file into a record's field; a cut is reported.
void copyXsiName(const XsiFile& file, char* destination, std::size_t size, const char* source);
template <std::size_t N>
void copyXsiName(const XsiFile& file, char (&destination)[N], const char* source) {
    copyXsiName(file, destination, N, source);
}

// Numbers as atoi and atof read them (an empty text is 0); ints saturate instead of overflowing.
// The check names a float that is not one, as a line of the file.
int xsiInt(const char* text);
float xsiFloat(XsiFile& file, const char* text);

// For the check: the current line must hold exactly `wanted` finite numbers (ints with integers)
// and nothing after them but the list's comma; otherwise it is named with its line, as entry
// index (from 0) of count of what. Nothing is done outside the check.
void checkXsiValueLine(XsiFile& file, int wanted, bool integers, const char* what, long index, long count);

// A line of comma-separated numbers, read as sscanf reads "%f,%f,..." or "%d,%d,...": white space
// before each number, then exactly one comma between numbers. Stores up to count values and
// returns how many; the rest of values is left alone. Ints saturate instead of overflowing.
int scanXsiFloats(const char* text, float* values, int count);
int scanXsiInts(const char* text, int* values, int count);
