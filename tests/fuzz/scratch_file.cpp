// The fuzz targets' scratch folder.
#include "tests/fuzz/scratch_file.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

std::string folder;

void removeFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace

std::string scratchFile(const char* name) {
    if (folder.empty()) {
        std::error_code error;
        const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
        std::string pattern = (program.parent_path() / "scratch-XXXXXX").string();
        if (error || mkdtemp(pattern.data()) == nullptr) {
            std::perror("fuzz target: no scratch folder");
            std::exit(1);
        }
        folder = pattern;
        std::atexit(removeFolder);
    }
    return folder + "/" + name;
}
