// demo-check: checks a data set without playing it: every file the show reads, the names the
// scenes look up, every GLSL program. One line per problem, a summary, status 0 when clean.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/data_check.h"
#include "base/utf8_path.h"
#include "effects/needed_names.h"
#include "platform/console.h"
#include "platform/executable_path.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* usage =
    "usage: demo-check [DIR]\n"
    "       demo-check --list\n"
    "  DIR     run directory holding data/ and biisi.mp3 (default: show/ beside the tool)\n"
    "  --list  print the files and names the show reads from a data set, and exit\n"
    "Reads every file the show reads, builds every GLSL program and looks up every name the scenes\n"
    "address, without a display; prints one line per problem and exits 1 when there is one.\n";

fs::path toolDirectory() { return utf8Path(executablePath()).parent_path(); }

int refuse(const char* why, const char* what) {
    std::fprintf(stderr, "demo-check: %s %s\n%s", why, what, usage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    prepareConsole();
    const char* directory = nullptr;
    bool list = false;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
            std::fputs(usage, stdout);
            return 0;
        }
        if (std::strcmp(argument, "--list") == 0) list = true;
        // A folder whose name starts with '-' is given as ./-name.
        else if (argument[0] == '-') return refuse("unknown option", argument);
        else if (directory != nullptr) return refuse("one run directory only, not also", argument);
        else directory = argument;
    }
    if (list) {
        if (directory != nullptr) return refuse("--list reads no run directory:", directory);
        for (const std::string& line : neededNameLines()) std::printf("%s\n", line.c_str());
        return 0;
    }

    const fs::path dataDir = directory != nullptr ? utf8Path(directory) : toolDirectory() / "show";
    std::error_code error;
    fs::current_path(dataDir, error);
    if (error) {
        std::fprintf(stderr, "demo-check: cannot enter %s: %s\n", dataDir.string().c_str(), error.message().c_str());
        return 2;
    }

    runDataCheck("demo-check", dataDir.string().c_str());
}
