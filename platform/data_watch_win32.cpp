// The data folder's watch on a change notification, polled without waiting.
#include "platform/data_watch.h"

#include <windows.h>

#include "base/print_line.h"
#include "platform/text_win32.h"

bool startDataWatch(DataWatch& watch, const char* folder) {
    // Names made, removed or renamed (an editor's temporary file and rename), and writes.
    constexpr DWORD changes = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;
    const HANDLE handle = FindFirstChangeNotificationW(widenText(folder).c_str(), FALSE, changes);
    if (handle == INVALID_HANDLE_VALUE) {
        printLine("Cannot watch \"%s\" for changes (%s); R reloads.", folder, windowsErrorText(GetLastError()).c_str());
        watch.fd = -1;
        return false;
    }
    watch.fd = reinterpret_cast<std::intptr_t>(handle);
    return true;
}

bool pollDataWatch(DataWatch& watch, std::int64_t nowUs) {
    if (watch.fd == -1) return false;
    // Only that something changed matters, not what.
    const HANDLE handle = reinterpret_cast<HANDLE>(watch.fd);
    while (WaitForSingleObject(handle, 0) == WAIT_OBJECT_0) {
        watch.lastChangeUs = nowUs;
        if (!FindNextChangeNotification(handle)) break;
    }
    if (watch.lastChangeUs < 0 || nowUs - watch.lastChangeUs < dataWatchQuietUs) return false;
    watch.lastChangeUs = -1;
    return true;
}
