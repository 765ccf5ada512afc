// Console output of the show: every progress and error message goes through printLine.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// mingw's C++ runtime formats with its own C99 printf, whose checks GCC there calls gnu_printf
// ("printf" means msvcrt's, which knows no %zu).
#ifdef __MINGW32__
#define PRINTF_LIKE(formatIndex, firstArgument) __attribute__((format(gnu_printf, formatIndex, firstArgument)))
#else
#define PRINTF_LIKE(formatIndex, firstArgument) __attribute__((format(printf, formatIndex, firstArgument)))
#endif

// Size of the message buffer, terminating zero included.
constexpr std::size_t printLineBufferSize = 1024;

// printf-style message to standard output, followed by a line feed; a null format prints nothing.
// Messages longer than printLineBufferSize - 1 characters are cut.
void printLine(const char* format, ...) PRINTF_LIKE(1, 2);

// A problem with the data set that the show goes on past (a missing or damaged file, a name or a
// program it cannot find or build): printed as printLine prints, even on a quiet console, and
// counted, so that a checker can tell a clean data set from a damaged one.
void reportDataProblem(const char* format, ...) PRINTF_LIKE(1, 2);

// A problem only the data check names, where the show quietly does something else (a uniform
// whose values never arrive, a number read as 0, a mesh without its material): printed and
// counted on a quiet console only, so that the show's own start-up stays as it is.
void reportCheckProblem(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A line for the data check only, not counted: something an author should know that is no fault.
void reportCheckNote(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A further line of the problem reported last (a compiler's message, say): printed as problems
// are, not counted, and left out with its problem when that one was.
void reportDataProblemDetail(const char* format, ...) __attribute__((format(printf, 1, 2)));

// How many problems have been reported in this run.
int dataProblemCount();

// A quiet console prints nothing but problems: the data checker's start-up.
void setConsoleQuiet(bool quiet);
bool consoleIsQuiet();

// While lines is set, what would be printed is appended to it instead (each line without its line
// feed); null prints again.
void holdConsoleLines(std::vector<std::string>* lines);

// While file is set, every line printed also goes to it, flushed line by line (a log that outlives
// a console window closing at the end); null stops it. The file stays the caller's.
void copyConsoleLinesTo(std::FILE* file);

// A detailed console (the data check's and the authoring mode's) names more than the show's own
// start-up does: who asked for a missing file, near matches, GLSL messages on the lines of their
// scene file, paths with '/' throughout; and a problem it has printed once is not printed or
// counted again (a cube map rebuilt for every later scene file is missing its face once).
void setConsoleDetailed(bool detailed);
bool consoleDetailed();

// The same formatting into a caller's buffer of bufferSize bytes, always zero-terminated.
// Returns the number of characters written (after any cut).
int formatText(char* buffer, std::size_t bufferSize, const char* format, ...)
    PRINTF_LIKE(3, 4);
