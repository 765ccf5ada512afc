// Where this program's executable lies, for the tools that find their data beside it.
#pragma once

#include <string>

// The executable's full path; empty when the system cannot say.
std::string executablePath();
