// The executable's path from GetModuleFileNameW.
#include "platform/executable_path.h"

#include <windows.h>

#include <filesystem>

std::string executablePath() {
    // Paths may be longer than MAX_PATH; the function cuts them silently, so grow until it fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
    try {
        return std::filesystem::path(path).string();
    } catch (const std::exception&) {
        return {};  // a name the narrow code page cannot hold
    }
}
