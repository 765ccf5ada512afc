// Running a shell command from a test and collecting what it printed.
#pragma once

#include <string>

struct CommandResult {
    int exitCode;        // exit status, or 128 + signal number
    std::string output;  // standard output and standard error together
};

CommandResult runCommand(const std::string& command);

// A fresh empty directory under the system's temporary directory, removed with everything in it
// when the test process ends.
std::string makeTempDir(const char* prefix);
