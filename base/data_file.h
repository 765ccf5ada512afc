// Opening the show's files. Names are kept as written everywhere else (some use '\', some '/');
// only here are they turned into paths of this platform.
#pragma once

#include <cstdio>
#include <string>

// The platform path of a file name as the show writes it.
std::string dataFilePath(const char* fileName);

// fopen of dataFilePath(fileName); null on failure or a null name.
std::FILE* openDataFile(const char* fileName, const char* mode);
