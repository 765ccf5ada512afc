// The one input file of a fuzz target whose parser reads files.
#pragma once

#include <string>

// NAME in a folder of this process's own beside the executable, made on the first call and
// removed when the process exits. Beside the executable: a crash leaves it in the build folder,
// next to the crash's own artifact, not in the system's temporary folder.
std::string scratchFile(const char* name);
