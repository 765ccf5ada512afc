// The reload's hand-over on Windows, which has no exec: the new show is started on the same
// console and standard handles with an inherited pipe to say that it shows. Then this one's
// windows are hidden and it waits, and ends with the new one's status, so that whoever waits for
// this process waits for the show.
#include "platform/show_handover.h"

#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/text_win32.h"

namespace {

// The inherited write end of the pipe through which a new show says that it shows.
constexpr const wchar_t* readyVariable = L"DEMO_SHOW_READY";

HANDLE handleOf(std::intptr_t value) { return reinterpret_cast<HANDLE>(value); }

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

// The shows wait for one another: each reload leaves one waiting process, which has given back
// what it can.
void superviseShows() {}

bool startShowSuccessor(ShowSuccessor& successor, char* const* args, const char* folder) {
    wchar_t self[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, self, static_cast<DWORD>(std::size(self)));
    if (length == 0 || length >= std::size(self)) {
        errno = ENOENT;
        return false;
    }
    std::vector<std::string> list;
    for (char* const* arg = args; *arg != nullptr; ++arg) list.emplace_back(*arg);
    std::wstring commandLine = commandLineOf(list);

    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) {
        errno = errnoOf(GetLastError());
        return false;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    // An inherited handle has the same value in the child.
    const std::wstring handle = std::to_wstring(reinterpret_cast<std::uintptr_t>(writeEnd));
    SetEnvironmentVariableW(readyVariable, handle.c_str());

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION child = {};
    const BOOL started = CreateProcessW(self, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        widenText(folder).c_str(), &startup, &child);
    const DWORD error = GetLastError();
    SetEnvironmentVariableW(readyVariable, nullptr);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        errno = errnoOf(error);
        return false;
    }
    CloseHandle(child.hThread);
    successor.process = reinterpret_cast<std::intptr_t>(child.hProcess);
    successor.readyPipe = reinterpret_cast<std::intptr_t>(readEnd);
    return true;
}

SuccessorState pollShowSuccessor(ShowSuccessor& successor, int& status) {
    if (successor.process == 0) return SuccessorState::Ended;
    DWORD available = 0;
    if (PeekNamedPipe(handleOf(successor.readyPipe), nullptr, 0, nullptr, &available, nullptr) && available > 0)
        return SuccessorState::Showing;
    const HANDLE process = handleOf(successor.process);
    if (WaitForSingleObject(process, 0) != WAIT_OBJECT_0) return SuccessorState::Starting;
    DWORD exitCode = 1;
    GetExitCodeProcess(process, &exitCode);
    CloseHandle(process);
    CloseHandle(handleOf(successor.readyPipe));
    successor = {};
    status = static_cast<int>(exitCode);
    return SuccessorState::Ended;
}

void stopShowSuccessor(ShowSuccessor& successor) {
    if (successor.process == 0) return;
    const HANDLE process = handleOf(successor.process);
    TerminateProcess(process, 1);
    WaitForSingleObject(process, INFINITE);
    CloseHandle(process);
    CloseHandle(handleOf(successor.readyPipe));
    successor = {};
}

void handOverToSuccessor(ShowSuccessor& successor, void (*letGo)()) {
    const HANDLE process = handleOf(successor.process);
    CloseHandle(handleOf(successor.readyPipe));
    EnumThreadWindows(GetCurrentThreadId(), hideWindow, 0);
    if (letGo != nullptr) letGo();
    std::fflush(nullptr);
    // The new show removes the copy this one stood in.
    wchar_t windowsFolder[MAX_PATH];
    const UINT folderLength = GetSystemWindowsDirectoryW(windowsFolder, MAX_PATH);
    if (folderLength > 0 && folderLength < MAX_PATH) SetCurrentDirectoryW(windowsFolder);
    // What this process holds is not used again: let the system take its memory back.
    SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
    DWORD status = 1;
    WaitForSingleObject(process, INFINITE);
    GetExitCodeProcess(process, &status);
    ExitProcess(status);
}

bool reportShowShowing() {
    wchar_t text[32];
    const DWORD length = GetEnvironmentVariableW(readyVariable, text, static_cast<DWORD>(std::size(text)));
    SetEnvironmentVariableW(readyVariable, nullptr);
    if (length == 0 || length >= std::size(text)) return false;
    wchar_t* end = nullptr;
    const unsigned long long value = std::wcstoull(text, &end, 10);
    if (end == text || *end != L'\0') return false;
    const HANDLE pipe = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(value));
    const char byte = 1;
    DWORD written = 0;
    WriteFile(pipe, &byte, 1, &written, nullptr);
    CloseHandle(pipe);
    return true;
}
