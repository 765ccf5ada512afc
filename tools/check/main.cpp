// demo-check: checks a data set without playing it: every file the show reads, the names the
// scenes look up, every GLSL program. One line per problem, a summary, status 0 when clean.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/data_check.h"
#include "platform/executable_path.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* usage =
    "usage: demo-check [DIR]\n"
    "  DIR  run directory holding data/ and biisi.mp3 (default: show/ beside the tool)\n"
    "Reads every file the show reads, builds every GLSL program and looks up every name the scenes\n"
    "address, without a display; prints one line per problem and exits 1 when there is one.\n";

fs::path toolDirectory() { return fs::path(executablePath()).parent_path(); }

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2 || (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0))) {
        std::fputs(usage, argc > 2 ? stderr : stdout);
        return argc > 2 ? 2 : 0;
    }
    const fs::path dataDir = argc == 2 ? fs::path(argv[1]) : toolDirectory() / "show";
    std::error_code error;
    fs::current_path(dataDir, error);
    if (error) {
        std::fprintf(stderr, "demo-check: cannot enter %s: %s\n", dataDir.string().c_str(), error.message().c_str());
        return 2;
    }

    runDataCheck("demo-check", dataDir.string().c_str());
}
