// The data set's copies.
#include "app/authoring/data_copies.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

bool makeDataCopies(DataCopies& copies, std::string& error) {
    std::error_code fsError;
    const fs::path temp = fs::temp_directory_path(fsError);
    if (fsError) {
        error = fsError.message();
        return false;
    }
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path root = temp / ("demo-dev-" + std::to_string(stamp) + "-" + std::to_string(attempt));
        if (fs::create_directory(root, fsError)) {
            copies.root = root.string();
            copies.next = 1;
            return true;
        }
        if (fsError) break;
    }
    error = fsError ? fsError.message() : "no free name";
    return false;
}

void adoptDataCopies(DataCopies& copies, const std::string& current) {
    const fs::path here(current);
    copies.root = here.parent_path().string();
    const std::string name = here.filename().string();
    copies.next = name.size() > 1 && name[0] == 'v' ? std::atoi(name.c_str() + 1) + 1 : 1;
}

bool copyDataSet(DataCopies& copies, const std::string& runFolder, std::string& copy, std::string& error) {
    std::string name(1, 'v');
    name += std::to_string(copies.next++);
    const fs::path target = fs::path(copies.root) / name;
    std::error_code fsError;
    fs::remove_all(target, fsError);
    fs::create_directories(target, fsError);
    if (!fsError) fs::copy(fs::path(runFolder) / "data", target / "data", fs::copy_options::recursive, fsError);
    const fs::path music = fs::path(runFolder) / "biisi.mp3";
    if (!fsError && fs::exists(music)) fs::copy_file(music, target / "biisi.mp3", fsError);
    if (fsError) {
        error = fsError.message();
        fs::remove_all(target, fsError);
        return false;
    }
    copy = target.string();
    return true;
}

void removeDataCopies(const DataCopies& copies, const std::string& keep) {
    if (copies.root.empty()) return;
    std::error_code fsError;
    if (keep.empty()) {
        fs::remove_all(copies.root, fsError);
        return;
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(copies.root, fsError))
        if (!fs::equivalent(entry.path(), keep, fsError)) fs::remove_all(entry.path(), fsError);
}
