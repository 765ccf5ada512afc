// The console on a POSIX terminal: it takes UTF-8 as it is and keeps its lines after the program.
#include "platform/console.h"

void prepareConsole() {}

void keepConsoleLog(bool) {}
