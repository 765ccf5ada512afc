// The dotXSI line reader: one global current line split into indent, tokens and fields, the one
// open scene file, and the load that runs the material, image and model passes over a file.
#pragma once

#include <cstddef>

struct SceneNode;

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

// The current line, overwritten by every read.
extern XsiLine xsiLine;

// GL light index of the next light of the file being loaded.
extern int lightCounter;

// Opens a scene file for the passes (text mode); false after a message naming it when it cannot
// be opened. Any file still open is closed first.
bool openXsiFile(const char* path);
void closeXsiFile();

// Reads the next line of the open file into xsiLine. At the end of the file (or with no file
// open) the line is empty. Longer lines than xsiLineSize - 1 characters are cut and the rest of
// the line is passed over.
void readXsiLine();

// Says on the console what is wrong with the open file's shape, as far as the passes have read
// it: empty, no "xsi" header line, or ending inside open blocks (a file cut short).
void reportXsiFileShape();

// Back to offset 0, end of file cleared.
void rewindXsiFile();

// True once a read has run into the end of the file (and with no file open).
bool xsiEndOfFile();

// The open file's name for messages (as given to openXsiFile, as problem lines print it); ""
// when none is open.
const char* xsiFileName();

// The line number of xsiLine in the open file, from 1.
int xsiLineNumber();

// Bytes not read yet: the most lines, and so the most entries, the rest of the file can hold.
std::size_t xsiBytesLeft();

// A count read from the file that is about to size an array: true when it is not negative and
// no larger than what the rest of the file can hold; otherwise false after a message.
bool checkXsiCount(long count, const char* what);

// Splits xsiLine.raw into indent, tokens and fields (readXsiLine does this after every read).
void splitXsiLine();

// Bounded copy of a name or path from the file into a record's field; a cut is reported.
void copyXsiName(char* destination, std::size_t size, const char* source);
template <std::size_t N>
void copyXsiName(char (&destination)[N], const char* source) {
    copyXsiName(destination, N, source);
}

// Numbers as atoi and atof read them (an empty text is 0); ints saturate instead of overflowing.
int xsiInt(const char* text);
float xsiFloat(const char* text);

// For the check: the current line must hold exactly `wanted` finite numbers (ints with integers)
// and nothing after them but the list's comma; otherwise it is named with its line, as entry
// index (from 0) of count of what. Nothing is done outside the check.
void checkXsiValueLine(int wanted, bool integers, const char* what, long index, long count);

// A line of comma-separated numbers, read as sscanf reads "%f,%f,..." or "%d,%d,...": white space
// before each number, then exactly one comma between numbers. Stores up to count values and
// returns how many; the rest of values is left alone. Ints saturate instead of overflowing.
int scanXsiFloats(const char* text, float* values, int count);
int scanXsiInts(const char* text, int* values, int count);

// Loads one scene file: its new materials go into the shader library with their textures, and
// root is set to a new tree of the file's first top-level SI_Model (owned by the caller), or to
// null when the file has none or cannot be opened.
void loadXsiScene(const char* path, SceneNode*& root);
