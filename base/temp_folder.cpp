// Fresh temporary folders.
#include "base/temp_folder.h"

#include <chrono>
#include <system_error>

std::filesystem::path makeTempFolder(const char* prefix, std::string& error) {
    std::error_code fsError;
    const std::filesystem::path temp = std::filesystem::temp_directory_path(fsError);
    if (fsError) {
        error = fsError.message();
        return {};
    }
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path folder = temp / (prefix + std::to_string(stamp) + "-" + std::to_string(attempt));
        // create_directory says false where the name was taken: the folder is ours alone.
        if (std::filesystem::create_directory(folder, fsError)) return folder;
        if (fsError) break;
    }
    error = fsError ? fsError.message() : "no free name";
    return {};
}
