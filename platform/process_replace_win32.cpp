// Windows has no exec: the new process is started on the same console and standard handles, this
// one's windows are hidden and its music is already held (by the caller), and it ends with the new
// one's status when that ends, so that whoever waits for this process waits for the show.
#include "platform/process_replace.h"

#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/text_win32.h"

namespace {

int errnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND: return ENOENT;
        case ERROR_ACCESS_DENIED: return EACCES;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY: return ENOMEM;
        default: return EIO;
    }
}

BOOL CALLBACK hideWindow(HWND window, LPARAM) {
    ShowWindow(window, SW_HIDE);
    return TRUE;
}

}  // namespace

void replaceWithThisProgram(char* const* args, void (*letGo)()) {
    wchar_t self[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, self, static_cast<DWORD>(std::size(self)));
    if (length == 0 || length >= std::size(self)) {
        errno = ENOENT;
        return;
    }
    std::vector<std::string> list;
    for (char* const* arg = args; *arg != nullptr; ++arg) list.emplace_back(*arg);
    std::wstring commandLine = commandLineOf(list);

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION child = {};
    if (!CreateProcessW(self, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child)) {
        errno = errnoOf(GetLastError());
        return;
    }
    CloseHandle(child.hThread);
    EnumThreadWindows(GetCurrentThreadId(), hideWindow, 0);
    if (letGo != nullptr) letGo();
    wchar_t windowsFolder[MAX_PATH];
    const UINT folderLength = GetSystemWindowsDirectoryW(windowsFolder, MAX_PATH);
    if (folderLength > 0 && folderLength < MAX_PATH) SetCurrentDirectoryW(windowsFolder);
    // What this process holds is not used again: let the system take its memory back.
    SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
    DWORD status = 1;
    WaitForSingleObject(child.hProcess, INFINITE);
    GetExitCodeProcess(child.hProcess, &status);
    ExitProcess(status);
}

// Its one use is the capture tool's run inside a private X server, which a Windows desktop never
// needs: the GLUT window always has a display there.
void replaceWithProgram(char* const* args) {
    std::fprintf(stderr, "Running %s in this program's place is not needed on Windows, whose desktop is the display.\n",
                 args[0]);
    errno = ENOSYS;
}
