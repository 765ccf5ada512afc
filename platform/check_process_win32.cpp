// The check child: CreateProcessW of this executable with --check, its output through a pipe read
// with PeekNamedPipe so that the show never waits for it.
#include "platform/check_process.h"

#include <windows.h>

#include <utility>

#include "base/print_line.h"
#include "platform/text_win32.h"

namespace {

HANDLE handleOf(std::intptr_t value) { return reinterpret_cast<HANDLE>(value); }

void failToStart(const char* what) {
    printLine("Cannot check the data set: %s (%s).", what, windowsErrorText(GetLastError()).c_str());
}

}  // namespace

bool startCheckProcess(CheckProcess& check, const char* folder) {
    wchar_t self[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, self, static_cast<DWORD>(std::size(self)));
    if (length == 0 || length >= std::size(self)) {
        failToStart("this program's path is not known");
        return false;
    }
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) {
        failToStart("no pipe");
        return false;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    // The check's window is never shown: the first ShowWindow of the child takes wShowWindow.
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::wstring commandLine = L"\"" + std::wstring(self, length) + L"\" --check";
    PROCESS_INFORMATION child = {};
    const BOOL started =
        CreateProcessW(self, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, widenText(folder).c_str(),
                       &startup, &child);
    CloseHandle(writeEnd);
    if (!started) {
        failToStart("the child did not start");
        CloseHandle(readEnd);
        return false;
    }
    CloseHandle(child.hThread);
    check.process = reinterpret_cast<std::intptr_t>(child.hProcess);
    check.outputPipe = reinterpret_cast<std::intptr_t>(readEnd);
    check.output.clear();
    return true;
}

bool checkRunning(const CheckProcess& check) { return check.process != 0; }

bool pollCheckProcess(CheckProcess& check, std::string& output, int& status) {
    if (check.process == 0) return false;
    const HANDLE pipe = handleOf(check.outputPipe);
    char buffer[4096];
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) break;  // the child closed it
        if (available == 0) return false;                                          // nothing more for now
        DWORD got = 0;
        if (!ReadFile(pipe, buffer, available < sizeof buffer ? available : sizeof buffer, &got, nullptr)) break;
        check.output.append(buffer, got);
    }
    const HANDLE process = handleOf(check.process);
    DWORD exitCode = 2;
    if (WaitForSingleObject(process, INFINITE) != WAIT_OBJECT_0 || !GetExitCodeProcess(process, &exitCode))
        exitCode = 2;
    CloseHandle(process);
    CloseHandle(pipe);
    check.process = 0;
    check.outputPipe = -1;
    status = exitCode <= 1 ? static_cast<int>(exitCode) : 2;
    // The child writes its standard output in text mode: its lines end in CR LF.
    output = withLineFeeds(std::move(check.output));
    check.output.clear();
    return true;
}
