// The data check in a child process (this program with --check), so that the show goes on while
// a changed data set is checked, and the version it has is kept when the check finds something.
#pragma once

#include <cstdint>
#include <string>

struct CheckProcess {
    std::intptr_t process = 0;      // the running child (its pid or handle); 0 when none runs
    std::intptr_t outputPipe = -1;  // the child's standard output, read without blocking
    std::string output;
};

// Starts the check of the data set in folder; false (after a line) when it cannot.
bool startCheckProcess(CheckProcess& check, const char* folder);

bool checkRunning(const CheckProcess& check);

// Takes in what the child has written; true once it has ended, with everything it wrote and its
// exit status (0 clean, 1 problems, other: nothing was checked).
bool pollCheckProcess(CheckProcess& check, std::string& output, int& status);
