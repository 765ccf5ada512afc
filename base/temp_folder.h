// A new folder of this program's under the system's temporary folder.
#pragma once

#include <filesystem>
#include <string>

// Makes prefix + a stamp and a count (a name nobody had: the folder is created, not found) and
// gives its path; empty, with a message in error, when none could be made.
std::filesystem::path makeTempFolder(const char* prefix, std::string& error);
