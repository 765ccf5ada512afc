// The capture tool's progress bar: one line of frames done, rate and time left.
#pragma once

#include <cstdint>
#include <string>

// For example "[##########----------]  50%  300/600 frames  24.5 fps  0:12 left"; the rate and
// time left show as "--" until a frame is done.
std::string formatProgress(int done, int total, double elapsedSeconds);

// Without a terminal the bar is printed as plain lines: true when done has crossed into the next
// five per cent since lastShown, and always for the last frame.
bool plainProgressDue(int done, int total, int lastShown);

// "812 B", "3.4 KB", "27.1 MB", "1.2 GB" (powers of 1000).
std::string formatByteSize(std::uintmax_t bytes);
