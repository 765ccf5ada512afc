// Replacing the process with exec.
#include "platform/process_replace.h"

#include <unistd.h>

void replaceWithProgram(char* const* args) { execvp(args[0], args); }
