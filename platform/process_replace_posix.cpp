// Replacing the process with exec.
#include "platform/process_replace.h"

#include <unistd.h>

// /proc/self/exe is the very file this process runs, even when a build has since replaced it.
void replaceWithThisProgram(char* const* args, void (*)()) { execv("/proc/self/exe", args); }

void replaceWithProgram(char* const* args) { execvp(args[0], args); }
