// The data check in a child process (this program with --check), so that the show goes on while
// a changed data set is checked, and the version it has is kept when the check finds something.
#pragma once

#include <string>
#include <vector>

struct CheckProcess {
    int pid = -1;         // running while above 0
    int outputFd = -1;    // the child's standard output, read without blocking
    std::string output;
};

// Starts the check of the data set in the current directory; false (after a line) when it cannot.
bool startCheckProcess(CheckProcess& check);

bool checkRunning(const CheckProcess& check);

// Takes in what the child has written; true once it has ended, with its problem lines (its output
// without the summary) and its exit status (0 clean, 1 problems, other: nothing was checked).
bool pollCheckProcess(CheckProcess& check, std::vector<std::string>& problems, int& status);

// The lines of found that are not among known: what a changed data set broke.
std::vector<std::string> newProblemLines(const std::vector<std::string>& known, const std::vector<std::string>& found);
