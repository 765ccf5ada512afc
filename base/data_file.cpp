// File names of the show to platform paths.
#include "base/data_file.h"

#include <algorithm>

std::string dataFilePath(const char* fileName) {
    std::string path = fileName != nullptr ? fileName : "";
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::FILE* openDataFile(const char* fileName, const char* mode) {
    if (fileName == nullptr || mode == nullptr) return nullptr;
    return std::fopen(dataFilePath(fileName).c_str(), mode);
}
