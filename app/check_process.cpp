// The check child: posix_spawn of /proc/self/exe --check, its output through a pipe.
#include "app/check_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "base/print_line.h"

extern char** environ;

bool startCheckProcess(CheckProcess& check) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        printLine("Cannot check the data set: %s.", std::strerror(errno));
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    char program[] = "/proc/self/exe";
    char option[] = "--check";
    char* args[] = {program, option, nullptr};
    pid_t pid = -1;
    const int error = posix_spawn(&pid, program, &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (error != 0) {
        close(pipeFds[0]);
        printLine("Cannot check the data set: %s.", std::strerror(error));
        return false;
    }
    fcntl(pipeFds[0], F_SETFL, fcntl(pipeFds[0], F_GETFL) | O_NONBLOCK);
    check.pid = pid;
    check.outputFd = pipeFds[0];
    check.output.clear();
    return true;
}

bool checkRunning(const CheckProcess& check) { return check.pid > 0; }

bool pollCheckProcess(CheckProcess& check, std::vector<std::string>& problems, int& status) {
    if (check.pid <= 0) return false;
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(check.outputFd, buffer, sizeof buffer);
        if (got > 0) {
            check.output.append(buffer, static_cast<std::size_t>(got));
            continue;
        }
        if (got < 0 && errno == EINTR) continue;
        // End of the output (the child has closed it) or nothing more for now.
        if (got < 0) return false;
        break;
    }
    int waitStatus = 0;
    if (waitpid(check.pid, &waitStatus, 0) != check.pid) waitStatus = 0x200;
    close(check.outputFd);
    check.pid = -1;
    check.outputFd = -1;
    status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 2;

    problems.clear();
    std::size_t from = 0;
    while (from < check.output.size()) {
        std::size_t end = check.output.find('\n', from);
        if (end == std::string::npos) end = check.output.size();
        if (end > from) problems.push_back(check.output.substr(from, end - from));
        from = end + 1;
    }
    if (!problems.empty()) problems.pop_back();  // the summary
    return true;
}

std::vector<std::string> newProblemLines(const std::vector<std::string>& known, const std::vector<std::string>& found) {
    std::vector<std::string> added;
    for (const std::string& line : found)
        if (std::find(known.begin(), known.end(), line) == known.end()) added.push_back(line);
    return added;
}
