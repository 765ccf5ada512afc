// Shell commands and temporary directories for tests.
#include "tests/support/process.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

// Every folder makeTempDir made in this process, removed when the process ends, however its tests
// went. DEMO_KEEP_TEST_DIRS keeps them and names each for a look afterwards.
struct TempDirs {
    std::vector<std::string> paths;
    ~TempDirs() {
        const bool keep = std::getenv("DEMO_KEEP_TEST_DIRS") != nullptr;
        for (const std::string& path : paths) {
            std::error_code ignored;
            if (keep) std::fprintf(stderr, "kept %s\n", path.c_str());
            else std::filesystem::remove_all(path, ignored);
        }
    }
};

TempDirs& tempDirs() {
    static TempDirs dirs;
    return dirs;
}

}  // namespace

CommandResult runCommand(const std::string& command) {
    CommandResult result{-1, {}};
    std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
    const int status = pclose(pipe);
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status)) result.exitCode = 128 + WTERMSIG(status);
    return result;
}

std::string makeTempDir(const char* prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) return {};
    tempDirs().paths.push_back(pattern);
    return pattern;
}
