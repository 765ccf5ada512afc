// Windows has no exec, and the one use of running a program in this one's place has no need of
// it there.
#include "platform/process_replace.h"

#include <cerrno>
#include <cstdio>

// Its one use is the capture tool's run inside a private X server, which a Windows desktop never
// needs: the GLUT window always has a display there.
void replaceWithProgram(char* const* args) {
    std::fprintf(stderr, "Running %s in this program's place is not needed on Windows, whose desktop is the display.\n",
                 args[0]);
    errno = ENOSYS;
}
