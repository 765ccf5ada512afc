// The terminal test on the Windows console.
#include "platform/terminal.h"

#include <io.h>
#include <windows.h>

#include <cstdio>

// _isatty is also true for NUL and serial ports: only a console takes the carriage return.
bool standardErrorIsTerminal() {
    DWORD mode = 0;
    return _isatty(_fileno(stderr)) != 0 && GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}
