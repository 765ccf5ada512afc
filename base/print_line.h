// Console output of the show: every progress and error message goes through printLine.
#pragma once

#include <cstddef>

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

// How many problems have been reported in this run.
int dataProblemCount();

// A quiet console prints nothing but problems: the data checker's start-up.
void setConsoleQuiet(bool quiet);

// The same formatting into a caller's buffer of bufferSize bytes, always zero-terminated.
// Returns the number of characters written (after any cut).
int formatText(char* buffer, std::size_t bufferSize, const char* format, ...)
    PRINTF_LIKE(3, 4);
