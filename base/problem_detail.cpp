// Naming the problems of a detailed console.
#include "base/problem_detail.h"

#include <algorithm>
#include <cctype>

#include "base/data_file.h"
#include "base/file_kind.h"
#include "base/near_file.h"
#include "base/print_line.h"

namespace {

const ScopedFileRequester* innermost = nullptr;

// The folder a name is read from, as a problem line says it.
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "the run directory" : path.substr(0, slash + 1);
}

std::string lowerFolder(const std::string& path) {
    std::string folder = path.substr(0, path.rfind('/') + 1);
    std::transform(folder.begin(), folder.end(), folder.begin(), [](unsigned char c) { return std::tolower(c); });
    return folder;
}

}  // namespace

std::string problemPath(const char* fileName) {
    if (fileName == nullptr) return "(null)";
    return consoleDetailed() ? dataFilePath(fileName) : std::string(fileName);
}

ScopedFileRequester::ScopedFileRequester(const char* sceneFile, const char* material)
    : outer(innermost), sceneFile(sceneFile), material(material) {
    innermost = this;
}

ScopedFileRequester::~ScopedFileRequester() { innermost = outer; }

void reportMissingFile(const char* fileName) {
    const std::string path = problemPath(fileName);
    // There, but not for this user: not the same fault as a missing file.
    if (fileKindOf(fileName) == FileKind::Unreadable) {
        reportDataProblem("File %s cannot be read (permission denied?).", path.c_str());
        return;
    }
    if (!consoleDetailed()) {
        reportDataProblem("File %s not found!", path.c_str());
        return;
    }
    std::string note;
    if (const ScopedFileRequester* asking = innermost; asking != nullptr && asking->sceneFile != nullptr) {
        note += " Scene file " + problemPath(asking->sceneFile);
        if (asking->material != nullptr) note += std::string(", material ") + asking->material + ",";
        note += " asks for it.";
    }
    if (fileName != nullptr) {
        const std::string near = nearFileMatch(fileName);
        if (!near.empty() && lowerFolder(near) == lowerFolder(path))
            note += " Did you mean " + near + "? File names match case for case.";
        else if (!near.empty())
            note += " Did you mean " + near + "? The show reads it from " + folderOf(path) + " itself.";
    }
    reportDataProblem("File %s not found!%s", path.c_str(), note.c_str());
}
