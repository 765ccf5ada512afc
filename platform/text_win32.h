// Text between the program and Windows, for the Windows files of this folder: the wide strings
// its calls take, the command line a new process is started with, what it writes, and its error
// messages.
#pragma once

#include <string>
#include <vector>

// A narrow string, UTF-8 (as std::filesystem's, and argv and the C library's under the programs'
// manifest), as UTF-16.
std::wstring widenText(const std::string& text);

// The command line of args, each quoted as the C runtime's argument parser splits them again.
std::wstring commandLineOf(const std::vector<std::string>& args);

// Text a child wrote in text mode with its CR LF line ends as LF ones.
std::string withLineFeeds(std::string text);

// The system's message for an error code from GetLastError, without the closing line break.
std::string windowsErrorText(unsigned long error);
