// Console output of the show: every progress and error message goes through printLine.
#pragma once

#include <cstddef>

// Size of the message buffer, terminating zero included.
constexpr std::size_t printLineBufferSize = 1024;

// printf-style message to standard output, followed by a line feed; a null format prints nothing.
// Messages longer than printLineBufferSize - 1 characters are cut.
void printLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The same formatting into a caller's buffer of bufferSize bytes, always zero-terminated.
// Returns the number of characters written (after any cut).
int formatText(char* buffer, std::size_t bufferSize, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
