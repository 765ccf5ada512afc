// The Windows console: switched to UTF-8 output while a program runs, and the show's lines kept in
// demo-log.txt beside the program (or in the temporary folder where that cannot be written), since
// a double-clicked show's console window closes with it.
#include "platform/console.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/print_line.h"
#include "base/utf8_path.h"
#include "platform/executable_path.h"
#include "platform/text_win32.h"

namespace {

UINT consoleCodePage = 0;

void restoreConsole() { SetConsoleOutputCP(consoleCodePage); }

std::FILE* openLog(const std::filesystem::path& folder, bool append) {
    if (folder.empty()) return nullptr;
    return _wfopen(widenText((folder / "demo-log.txt").string()).c_str(), append ? L"a" : L"w");
}

}  // namespace

void prepareConsole() {
    consoleCodePage = GetConsoleOutputCP();
    if (consoleCodePage == 0 || consoleCodePage == CP_UTF8) return;  // no console, or already so
    if (SetConsoleOutputCP(CP_UTF8)) std::atexit(restoreConsole);
}

void keepConsoleLog(bool append) {
    const std::filesystem::path self = utf8Path(executablePath());
    std::FILE* file = openLog(self.empty() ? self : self.parent_path(), append);
    if (file == nullptr) {
        std::error_code error;
        file = openLog(std::filesystem::temp_directory_path(error), append);
    }
    if (file != nullptr) copyConsoleLinesTo(file);  // open until the process ends, which closes it
}
