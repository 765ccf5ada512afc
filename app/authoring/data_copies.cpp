// The data set's copies.
#include "app/authoring/data_copies.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <system_error>
#include <vector>

#include "app/authoring/data_changes.h"
#include "base/temp_folder.h"
#include "base/utf8_path.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* rootPrefix = "demo-dev-";

// The name of a version's folder: v and a number; 0 for any other name.
int versionNumber(const fs::path& folder) {
    const std::string name = folder.filename().string();
    if (name.size() < 2 || name[0] != 'v' || name.find_first_not_of("0123456789", 1) != std::string::npos) return 0;
    return std::atoi(name.c_str() + 1);
}

// Only folders this program made are ever removed.
bool isCopiesRoot(const fs::path& root) { return root.filename().string().rfind(rootPrefix, 0) == 0; }

}  // namespace

bool makeDataCopies(DataCopies& copies, std::string& error) {
    const fs::path root = makeTempFolder(rootPrefix, error);
    if (root.empty()) return false;
    copies.root = root.string();
    copies.next = 1;
    return true;
}

void adoptDataCopies(DataCopies& copies, const std::string& current) {
    const fs::path here = utf8Path(current);
    const int version = versionNumber(here);
    if (version == 0 || !isCopiesRoot(here.parent_path())) {
        copies = {};  // not one of ours: nothing to add to or to remove
        return;
    }
    copies.root = here.parent_path().string();
    copies.next = version + 1;
}

bool copyDataSet(DataCopies& copies, const std::string& runFolder, std::string& copy, std::string& error) {
    if (copies.root.empty()) {
        error = "no folder for copies";
        return false;
    }
    std::string name(1, 'v');
    name += std::to_string(copies.next++);
    const fs::path target = utf8Path(copies.root) / name;
    std::error_code fsError;
    fs::remove_all(target, fsError);
    fs::create_directories(target, fsError);
    if (!fsError) fs::copy(utf8Path(runFolder) / "data", target / "data", fs::copy_options::recursive, fsError);
    const fs::path music = utf8Path(runFolder) / "biisi.mp3";
    if (!fsError && fs::exists(music)) fs::copy_file(music, target / "biisi.mp3", fsError);
    if (fsError) {
        error = fsError.message();
        fs::remove_all(target, fsError);
        return false;
    }
    copy = target.string();
    return true;
}

namespace {

// The files of a run folder that the show reads, by name relative to it, with their bytes.
std::map<std::string, std::string> dataSetFiles(const fs::path& folder) {
    std::map<std::string, std::string> files;
    std::error_code error;
    const auto take = [&](const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        files[path.lexically_relative(folder).generic_string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    if (fs::exists(folder / "biisi.mp3", error)) take(folder / "biisi.mp3");
    for (fs::recursive_directory_iterator it(folder / "data", error), end; !error && it != end; it.increment(error))
        if (it->is_regular_file(error) && showReadsFile(it->path().lexically_relative(folder).generic_string()))
            take(it->path());
    return files;
}

}  // namespace

bool sameDataSet(const std::string& one, const std::string& other) {
    return dataSetFiles(utf8Path(one)) == dataSetFiles(utf8Path(other));
}

std::string dataCopiesNotesFile(const DataCopies& copies) {
    return copies.root.empty() ? std::string() : (utf8Path(copies.root) / "startup-lines").string();
}

void removeDataCopies(const DataCopies& copies, const std::string& keep) {
    if (copies.root.empty() || !isCopiesRoot(utf8Path(copies.root))) return;
    std::error_code fsError;
    std::vector<fs::path> versions;
    for (const fs::directory_entry& entry : fs::directory_iterator(utf8Path(copies.root), fsError))
        if (versionNumber(entry.path()) != 0 && (keep.empty() || !fs::equivalent(entry.path(), utf8Path(keep), fsError)))
            versions.push_back(entry.path());
    for (const fs::path& version : versions) fs::remove_all(version, fsError);
    if (!keep.empty()) return;
    fs::remove(utf8Path(dataCopiesNotesFile(copies)), fsError);
    fs::remove(utf8Path(copies.root), fsError);  // only when nothing else is left in it
}
