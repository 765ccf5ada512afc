// A program run with CreateProcessW, its standard output and error through one anonymous pipe.
#include "platform/program_run.h"

#include <windows.h>

#include <utility>

#include "platform/text_win32.h"

ProgramRun runProgram(const std::vector<std::string>& args, const char* name) {
    ProgramRun run;
    if (args.empty()) {
        run.error = std::string("no program to run as ") + name;
        return run;
    }
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) {
        run.error = std::string("cannot make a pipe to ") + name + ": " + windowsErrorText(GetLastError());
        return run;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    const HANDLE noInput = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                       OPEN_EXISTING, 0, nullptr);

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = noInput != INVALID_HANDLE_VALUE ? noInput : nullptr;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    const std::wstring application = widenText(args[0]);
    std::wstring commandLine = commandLineOf(args);
    PROCESS_INFORMATION process = {};
    // Without it a console program started by a process that has no console opens a window of its own.
    const BOOL started = CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    const DWORD startError = GetLastError();
    // Only the child holds the write end now: the reads below end when it does.
    CloseHandle(writeEnd);
    if (noInput != INVALID_HANDLE_VALUE) CloseHandle(noInput);
    if (!started) {
        CloseHandle(readEnd);
        run.error = std::string("cannot start ") + name + ": " + windowsErrorText(startError);
        return run;
    }
    CloseHandle(process.hThread);
    std::string output;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) output.append(buffer, got);
    CloseHandle(readEnd);
    DWORD status = 0;
    const bool waited =
        WaitForSingleObject(process.hProcess, INFINITE) == WAIT_OBJECT_0 && GetExitCodeProcess(process.hProcess, &status);
    const DWORD waitError = GetLastError();
    CloseHandle(process.hProcess);
    if (!waited) {
        run.error = std::string("cannot wait for ") + name + ": " + windowsErrorText(waitError);
        return run;
    }
    run.ran = true;
    // An exit status past 255 is an exception's code (0xC0000005 and the like): ended from outside.
    run.status = status <= 255 ? static_cast<int>(status) : -1;
    run.output = withLineFeeds(std::move(output));
    return run;
}
