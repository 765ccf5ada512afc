// The executable's path from /proc.
#include "platform/executable_path.h"

#include <filesystem>
#include <system_error>

std::string executablePath() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.string();
}
