// The check child: posix_spawn of /proc/self/exe --check in the folder, its output through a pipe.
#include "platform/check_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "base/print_line.h"

extern char** environ;

bool startCheckProcess(CheckProcess& check, const char* folder) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        printLine("Cannot check the data set: %s.", std::strerror(errno));
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addchdir_np(&actions, folder);
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
    check.process = pid;
    check.outputPipe = pipeFds[0];
    check.output.clear();
    return true;
}

bool checkRunning(const CheckProcess& check) { return check.process > 0; }

bool pollCheckProcess(CheckProcess& check, std::string& output, int& status) {
    if (check.process <= 0) return false;
    const auto pid = static_cast<pid_t>(check.process);
    const int fd = static_cast<int>(check.outputPipe);
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
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
    if (waitpid(pid, &waitStatus, 0) != pid) waitStatus = 0x200;
    close(fd);
    check.process = 0;
    check.outputPipe = -1;
    status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 2;
    output = std::move(check.output);
    check.output.clear();
    return true;
}
