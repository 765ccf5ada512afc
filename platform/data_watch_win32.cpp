// The run folder's watch on ReadDirectoryChangesW: one read on the folder itself and one on its
// data/ folder, as on inotify, each read without waiting. (A single read over the whole tree
// misses saves under data/ on Wine until something else has opened that folder.)
#include "platform/data_watch.h"

#include <windows.h>

#include <cstddef>
#include <cstring>
#include <memory>

#include "base/print_line.h"
#include "platform/text_win32.h"

namespace {

// One folder's overlapped read in flight, with the buffer the system fills.
struct DirectoryRead {
    HANDLE folder = INVALID_HANDLE_VALUE;
    OVERLAPPED overlapped = {};
    alignas(DWORD) unsigned char buffer[16384];
    bool pending = false;  // the system may still write into buffer

    ~DirectoryRead() {
        if (folder != INVALID_HANDLE_VALUE) {
            DWORD got = 0;
            if (pending && CancelIo(folder)) GetOverlappedResult(folder, &overlapped, &got, TRUE);
            CloseHandle(folder);
        }
        if (overlapped.hEvent != nullptr) CloseHandle(overlapped.hEvent);
    }
};

struct FolderWatches {
    std::unique_ptr<DirectoryRead> folder;  // the music, and data/ replaced
    std::unique_ptr<DirectoryRead> data;    // saves under data/
};

constexpr DWORD changes = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE |
                          FILE_NOTIFY_CHANGE_SIZE;

bool startRead(DirectoryRead& read) {
    ResetEvent(read.overlapped.hEvent);
    read.pending = ReadDirectoryChangesW(read.folder, read.buffer, sizeof read.buffer, FALSE, changes, nullptr,
                                         &read.overlapped, nullptr) != 0;
    return read.pending;
}

// A read on folder; null, with GetLastError set, when there is none.
std::unique_ptr<DirectoryRead> watchFolder(const std::string& folder) {
    auto read = std::make_unique<DirectoryRead>();
    read->folder = CreateFileW(widenText(folder).c_str(), FILE_LIST_DIRECTORY,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    if (read->folder == INVALID_HANDLE_VALUE) return nullptr;
    read->overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (read->overlapped.hEvent == nullptr || !startRead(*read)) return nullptr;
    return read;
}

// A name in the watched folder, UTF-16 with backslashes, as UTF-8 with slashes.
std::string entryName(const FILE_NOTIFY_INFORMATION& entry) {
    const int wide = static_cast<int>(entry.FileNameLength / sizeof(WCHAR));
    const int size = WideCharToMultiByte(CP_UTF8, 0, entry.FileName, wide, nullptr, 0, nullptr, nullptr);
    std::string name(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) WideCharToMultiByte(CP_UTF8, 0, entry.FileName, wide, name.data(), size, nullptr, nullptr);
    for (char& c : name)
        if (c == '\\') c = '/';
    return name;
}

// Appends what the read has gathered, each name after prefix; false when the folder's read
// cannot go on (the folder went away).
bool takeChanges(DirectoryRead& read, const char* prefix, const char* overflow, std::vector<std::string>& names) {
    DWORD got = 0;
    while (GetOverlappedResult(read.folder, &read.overlapped, &got, FALSE)) {
        read.pending = false;
        if (got == 0) {
            names.push_back(overflow);  // more changed than the buffer held: take it as everything
        } else {
            for (DWORD at = 0; at + sizeof(FILE_NOTIFY_INFORMATION) <= got;) {
                FILE_NOTIFY_INFORMATION entry;
                std::memcpy(&entry, read.buffer + at, sizeof entry);
                const auto* whole = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(read.buffer + at);
                if (at + offsetof(FILE_NOTIFY_INFORMATION, FileName) + entry.FileNameLength > got) break;
                names.push_back(prefix + entryName(*whole));
                if (entry.NextEntryOffset == 0) break;
                at += entry.NextEntryOffset;
            }
        }
        if (!startRead(read)) return false;
    }
    return GetLastError() == ERROR_IO_INCOMPLETE;
}

}  // namespace

bool startDataWatch(DataWatch& watch, const char* runFolder) {
    watch.folder = runFolder;
    auto watches = std::make_unique<FolderWatches>();
    watches->folder = watchFolder(runFolder);
    if (watches->folder != nullptr) watches->data = watchFolder(watch.folder + "/data");
    if (watches->data == nullptr) {
        printLine("Cannot watch \"%s/data\" for changes (%s); R reloads.", runFolder,
                  windowsErrorText(GetLastError()).c_str());
        watch.handle = -1;
        return false;
    }
    // Lives as long as the watch, which lives as long as the show.
    watch.handle = reinterpret_cast<std::intptr_t>(watches.release());
    return true;
}

void readDataWatch(DataWatch& watch, std::vector<std::string>& names) {
    if (watch.handle == -1) return;
    auto& watches = *reinterpret_cast<FolderWatches*>(watch.handle);
    const std::size_t first = names.size();
    if (!takeChanges(*watches.folder, "", "data", names)) {
        watch.handle = -1;  // the run folder itself is gone: R still reloads
        return;
    }
    bool rewatch = watches.data == nullptr;
    for (std::size_t i = first; i < names.size(); ++i) rewatch = rewatch || names[i] == "data";
    if (!rewatch && !takeChanges(*watches.data, "data/", "data", names)) {
        names.push_back("data");
        rewatch = true;
    }
    // A data folder replaced by another (or gone, and back later) is watched anew.
    if (rewatch) watches.data = watchFolder(watch.folder + "/data");
}
