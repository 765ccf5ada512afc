// The run folder's watch on ReadDirectoryChangesW, with the folder and everything under it in one
// watch, read without waiting.
#include "platform/data_watch.h"

#include <windows.h>

#include <cstddef>
#include <cstring>
#include <memory>

#include "base/print_line.h"
#include "platform/text_win32.h"

namespace {

// The overlapped read in flight, with the buffer the system fills.
struct DirectoryRead {
    HANDLE folder = INVALID_HANDLE_VALUE;
    OVERLAPPED overlapped = {};
    alignas(DWORD) unsigned char buffer[16384];
};

constexpr DWORD changes = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE |
                          FILE_NOTIFY_CHANGE_SIZE;

bool startRead(DirectoryRead& read) {
    ResetEvent(read.overlapped.hEvent);
    return ReadDirectoryChangesW(read.folder, read.buffer, sizeof read.buffer, TRUE, changes, nullptr,
                                 &read.overlapped, nullptr) != 0;
}

// A name relative to the watched folder, UTF-16 with backslashes, as UTF-8 with slashes.
std::string entryName(const FILE_NOTIFY_INFORMATION& entry) {
    const int wide = static_cast<int>(entry.FileNameLength / sizeof(WCHAR));
    const int size = WideCharToMultiByte(CP_UTF8, 0, entry.FileName, wide, nullptr, 0, nullptr, nullptr);
    std::string name(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) WideCharToMultiByte(CP_UTF8, 0, entry.FileName, wide, name.data(), size, nullptr, nullptr);
    for (char& c : name)
        if (c == '\\') c = '/';
    return name;
}

}  // namespace

bool startDataWatch(DataWatch& watch, const char* runFolder) {
    watch.folder = runFolder;
    auto read = std::make_unique<DirectoryRead>();
    read->folder = CreateFileW(widenText(runFolder).c_str(), FILE_LIST_DIRECTORY,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    read->overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (read->folder == INVALID_HANDLE_VALUE || read->overlapped.hEvent == nullptr || !startRead(*read)) {
        printLine("Cannot watch \"%s/data\" for changes (%s); R reloads.", runFolder,
                  windowsErrorText(GetLastError()).c_str());
        if (read->folder != INVALID_HANDLE_VALUE) CloseHandle(read->folder);
        if (read->overlapped.hEvent != nullptr) CloseHandle(read->overlapped.hEvent);
        watch.handle = -1;
        return false;
    }
    // Lives as long as the watch, which lives as long as the show.
    watch.handle = reinterpret_cast<std::intptr_t>(read.release());
    return true;
}

void readDataWatch(DataWatch& watch, std::vector<std::string>& names) {
    if (watch.handle == -1) return;
    auto& read = *reinterpret_cast<DirectoryRead*>(watch.handle);
    DWORD got = 0;
    while (GetOverlappedResult(read.folder, &read.overlapped, &got, FALSE)) {
        if (got == 0) {
            names.push_back("data");  // more changed than the buffer held: take it as everything
        } else {
            for (DWORD at = 0; at + sizeof(FILE_NOTIFY_INFORMATION) <= got;) {
                FILE_NOTIFY_INFORMATION entry;
                std::memcpy(&entry, read.buffer + at, sizeof entry);
                const auto* whole = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(read.buffer + at);
                if (at + offsetof(FILE_NOTIFY_INFORMATION, FileName) + entry.FileNameLength > got) break;
                names.push_back(entryName(*whole));
                if (entry.NextEntryOffset == 0) break;
                at += entry.NextEntryOffset;
            }
        }
        if (!startRead(read)) {
            watch.handle = -1;
            return;
        }
    }
}
