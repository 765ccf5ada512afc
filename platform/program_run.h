// A program run to its end for what it prints and its exit status (the check's reference GLSL
// compiler). Its path comes from findOnPath (pipe_process.h).
#pragma once

#include <string>
#include <vector>

struct ProgramRun {
    bool ran = false;    // started and waited for
    int status = -1;     // its exit status; -1 when it was ended from outside (a signal)
    std::string output;  // standard output and standard error as they came, lines ending in '\n'
    std::string error;   // why it did not run, when it did not
};

// Runs args[0] (a path) with args, with an empty standard input, and waits for it to end.
// Messages name the program as name.
ProgramRun runProgram(const std::vector<std::string>& args, const char* name);
