// The piped child with fork, exec and waitpid.
#include "platform/pipe_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

std::string findOnPath(const char* name) {
    const char* path = std::getenv("PATH");
    if (path == nullptr) return {};
    const std::string folders = path;
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t colon = folders.find(':', start);
        if (colon == std::string::npos) colon = folders.size();
        const std::string folder = folders.substr(start, colon - start);
        const std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
        std::error_code error;
        if (access(candidate.c_str(), X_OK) == 0 && std::filesystem::is_regular_file(candidate, error))
            return candidate;
        start = colon + 1;
    }
    return {};
}

bool startPipeProcess(const std::vector<std::string>& args, const char* name, PipeProcess& child,
                      std::string& error) {
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        error = std::string("cannot make a pipe to ") + name + ": " + std::strerror(errno);
        return false;
    }
    const pid_t pid = fork();
    if (pid < 0) {
        error = std::string("cannot start ") + name + ": " + std::strerror(errno);
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    if (pid == 0) {
        // An ignored SIGPIPE would survive exec.
        signal(SIGPIPE, SIG_DFL);
        if (dup2(fds[0], STDIN_FILENO) < 0) _exit(127);
        execv(argv[0], argv.data());
        std::fprintf(stderr, "%s: cannot run %s: %s\n", program_invocation_short_name, argv[0], std::strerror(errno));
        _exit(127);
    }
    close(fds[0]);
    child.process = pid;
    child.input = fds[1];
    return true;
}

bool writePipeProcess(PipeProcess& child, const unsigned char* bytes, std::size_t size, const char* name,
                      std::string& error) {
    while (size > 0) {
        const ssize_t written = write(static_cast<int>(child.input), bytes, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            error = errno == EPIPE ? std::string(name) + " stopped taking frames"
                                   : std::string("cannot send a frame to ") + name + ": " + std::strerror(errno);
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

void closePipeInput(PipeProcess& child) {
    if (child.input >= 0) close(static_cast<int>(child.input));
    child.input = -1;
}

std::string waitPipeProcess(PipeProcess& child, const char* name) {
    if (child.process <= 0) return std::string(name) + " is not running";
    const auto pid = static_cast<pid_t>(child.process);
    int status = 0;
    pid_t waited;
    do waited = waitpid(pid, &status, 0);
    while (waited < 0 && errno == EINTR);
    child.process = 0;
    if (waited < 0) return std::string("cannot wait for ") + name + ": " + std::strerror(errno);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return {};
    if (WIFSIGNALED(status)) return std::string(name) + " was killed by signal " + std::to_string(WTERMSIG(status));
    return std::string(name) + " failed with status " + std::to_string(WEXITSTATUS(status));
}

void stopPipeProcess(PipeProcess& child) {
    if (child.process > 0) kill(static_cast<pid_t>(child.process), SIGTERM);
}
