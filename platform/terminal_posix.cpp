// The terminal test with isatty.
#include "platform/terminal.h"

#include <unistd.h>

bool standardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }
