// The piped child with CreateProcessW: its standard input is the read end of an anonymous pipe.
#include "platform/pipe_process.h"

#include <windows.h>

#include <cstdlib>

#include "platform/text_win32.h"

namespace {

HANDLE handleOf(std::intptr_t value) { return reinterpret_cast<HANDLE>(value); }

bool isFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(widenText(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::vector<std::string> splitList(const std::string& list) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t semicolon = list.find(';', start);
        if (semicolon == std::string::npos) semicolon = list.size();
        std::string item = list.substr(start, semicolon - start);
        // PATH may quote a folder that holds a semicolon.
        if (item.size() >= 2 && item.front() == '"' && item.back() == '"') item = item.substr(1, item.size() - 2);
        if (!item.empty()) items.push_back(item);
        start = semicolon + 1;
    }
    return items;
}

}  // namespace

// As cmd.exe finds commands, without the current folder it searches first: each folder of PATH,
// the name with each extension of PATHEXT (and as given, when it has an extension of its own).
std::string findOnPath(const char* name) {
    const char* path = std::getenv("PATH");
    if (path == nullptr) return {};
    const char* pathExt = std::getenv("PATHEXT");
    const std::vector<std::string> extensions = splitList(pathExt != nullptr ? pathExt : ".COM;.EXE;.BAT;.CMD");
    const std::string base = name;
    const std::size_t slash = base.find_last_of("/\\");
    const bool hasExtension = base.find('.', slash == std::string::npos ? 0 : slash) != std::string::npos;
    for (std::string folder : splitList(path)) {
        if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
        if (hasExtension && isFile(folder + base)) return folder + base;
        for (const std::string& extension : extensions)
            if (isFile(folder + base + extension)) return folder + base + extension;
    }
    return {};
}

bool startPipeProcess(const std::vector<std::string>& args, const char* name, PipeProcess& child,
                      std::string& error) {
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    // A few frames' worth, so that the child's reads and our writes overlap.
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 1 << 20)) {
        error = std::string("cannot make a pipe to ") + name + ": " + windowsErrorText(GetLastError());
        return false;
    }
    SetHandleInformation(writeEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = readEnd;
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    const std::wstring application = widenText(args.at(0));
    std::wstring commandLine = commandLineOf(args);
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
    CloseHandle(readEnd);
    if (!started) {
        error = std::string("cannot start ") + name + ": " + windowsErrorText(GetLastError());
        CloseHandle(writeEnd);
        return false;
    }
    CloseHandle(process.hThread);
    child.process = reinterpret_cast<std::intptr_t>(process.hProcess);
    child.input = reinterpret_cast<std::intptr_t>(writeEnd);
    return true;
}

bool writePipeProcess(PipeProcess& child, const unsigned char* bytes, std::size_t size, const char* name,
                      std::string& error) {
    while (size > 0) {
        const DWORD chunk = size < (1u << 30) ? static_cast<DWORD>(size) : (1u << 30);
        DWORD written = 0;
        if (!WriteFile(handleOf(child.input), bytes, chunk, &written, nullptr)) {
            const DWORD code = GetLastError();
            error = code == ERROR_BROKEN_PIPE || code == ERROR_NO_DATA
                        ? std::string(name) + " stopped taking frames"
                        : std::string("cannot send a frame to ") + name + ": " + windowsErrorText(code);
            return false;
        }
        bytes += written;
        size -= written;
    }
    return true;
}

void closePipeInput(PipeProcess& child) {
    if (child.input != -1) CloseHandle(handleOf(child.input));
    child.input = -1;
}

std::string waitPipeProcess(PipeProcess& child, const char* name) {
    if (child.process == 0) return std::string(name) + " is not running";
    const HANDLE process = handleOf(child.process);
    child.process = 0;
    DWORD status = 0;
    const bool waited = WaitForSingleObject(process, INFINITE) == WAIT_OBJECT_0 && GetExitCodeProcess(process, &status);
    const DWORD error = GetLastError();
    CloseHandle(process);
    if (!waited) return std::string("cannot wait for ") + name + ": " + windowsErrorText(error);
    if (status == 0) return {};
    return std::string(name) + " failed with status " + std::to_string(status);
}

void stopPipeProcess(PipeProcess& child) {
    if (child.process != 0) TerminateProcess(handleOf(child.process), 1);
}
