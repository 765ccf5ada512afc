// What a check of the data set reported, as the authoring mode weighs it: its problem lines, and
// those a changed data set adds to the running one's.
#pragma once

#include <string>
#include <vector>

// The check's output without its last line (the summary), one entry per non-empty line.
std::vector<std::string> checkProblemLines(const std::string& output);

// The lines of found that are not among known: what a changed data set broke. A compiler's
// message placed on a line of its scene file counts as known wherever an edit has moved it.
std::vector<std::string> newProblemLines(const std::vector<std::string>& known, const std::vector<std::string>& found);
