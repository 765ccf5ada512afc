// Looking for the file a missing name meant.
#include "base/near_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "base/data_file.h"
#include "base/utf8_path.h"

namespace fs = std::filesystem;

namespace {

// A data set's tree is small; the bounds keep a run directory that holds far more quick.
constexpr int deepestLevel = 3;
constexpr int mostEntries = 5000;

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

}  // namespace

std::string nearFileMatch(const char* fileName) {
    const fs::path wanted = utf8Path(dataFilePath(fileName)).lexically_normal();
    const std::string wantedName = lowerCase(wanted.filename().string());
    if (wantedName.empty()) return "";
    const fs::path wantedFolder = lowerCase(wanted.parent_path().generic_string());

    std::error_code error;
    fs::recursive_directory_iterator entry(".", fs::directory_options::skip_permission_denied, error);
    std::string best;
    bool bestInFolder = false;
    for (int seen = 0; !error && entry != fs::recursive_directory_iterator() && seen < mostEntries;
         entry.increment(error), ++seen) {
        if (entry.depth() >= deepestLevel) entry.disable_recursion_pending();
        if (!entry->is_regular_file(error) || lowerCase(entry->path().filename().string()) != wantedName) continue;
        const fs::path found = entry->path().lexically_relative(".");
        if (found == wanted) continue;
        const bool inFolder = lowerCase(found.parent_path().generic_string()) == wantedFolder.generic_string();
        const std::string path = found.generic_string();
        const bool better = best.empty() || (inFolder && !bestInFolder) ||
                            (inFolder == bestInFolder && (path.size() < best.size() ||
                                                          (path.size() == best.size() && path < best)));
        if (better) {
            best = path;
            bestInFolder = inFolder;
        }
    }
    return best;
}
