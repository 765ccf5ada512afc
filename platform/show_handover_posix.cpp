// The reload's hand-over with fork, posix_spawn and pipes. exec would keep the id but lose the old
// show when the new one fails, so the first start forks: the parent stays, small, as the program
// the caller started, and adopts every later show as a subreaper (Linux).
#include "platform/show_handover.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

// The write end of the shows' pipe to their supervisor: a show that hands over writes its
// successor's pid there before it ends.
constexpr const char* supervisorVariable = "DEMO_SHOW_SUPERVISOR";
// The write end of the pipe through which a new show says that it shows.
constexpr const char* readyVariable = "DEMO_SHOW_READY";

volatile pid_t shownPid = 0;  // the show that shows, for the supervisor's signal handler

void handOnSignal(int signal) {
    if (shownPid > 0) kill(shownPid, signal);
}

int descriptorFrom(const char* variable) {
    const char* text = std::getenv(variable);
    if (text == nullptr || *text == '\0') return -1;
    char* end = nullptr;
    const long fd = std::strtol(text, &end, 10);
    if (*end != '\0' || fd < 0 || fd > 65535 || fcntl(static_cast<int>(fd), F_GETFD) < 0) return -1;
    return static_cast<int>(fd);
}

// Reads the pids the shows have written; the last is the show that shows now.
void takeNewShows(int fd) {
    char buffer[256];
    static std::string pending;
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        pending.append(buffer, static_cast<std::size_t>(got));
    }
    for (std::size_t line; (line = pending.find('\n')) != std::string::npos; pending.erase(0, line + 1)) {
        const long pid = std::strtol(pending.substr(0, line).c_str(), nullptr, 10);
        if (pid > 0) shownPid = static_cast<pid_t>(pid);
    }
}

[[noreturn]] void endAs(int waitStatus) {
    if (WIFSIGNALED(waitStatus)) {
        signal(WTERMSIG(waitStatus), SIG_DFL);
        raise(WTERMSIG(waitStatus));
    }
    _exit(WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 1);
}

// The supervisor: waits for its children (the first show, and what it adopts) until the one that
// shows ends, and ends as it did.
[[noreturn]] void superviseFrom(pid_t first, int fd) {
    shownPid = first;
    struct sigaction action = {};
    action.sa_handler = handOnSignal;
    sigemptyset(&action.sa_mask);
    for (const int stop : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaction(stop, &action, nullptr);
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    // A show may end before its hand-over reaches here: the last few ends are kept.
    struct Ended {
        pid_t pid;
        int status;
    } ended[16] = {};
    unsigned count = 0;
    for (;;) {
        int waitStatus = 0;
        const pid_t pid = waitpid(-1, &waitStatus, 0);
        if (pid < 0 && errno == EINTR) continue;
        takeNewShows(fd);
        if (pid < 0) _exit(1);  // no child left that could show: cannot happen while one shows
        if (pid == shownPid) endAs(waitStatus);
        ended[count++ % 16] = {pid, waitStatus};
        for (const Ended& end : ended)
            if (end.pid != 0 && end.pid == shownPid) endAs(end.status);
    }
}

}  // namespace

void superviseShows() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return;
    // Shows whose starter ends are this process's to wait for, not init's.
    if (prctl(PR_SET_CHILD_SUBREAPER, 1) != 0) {
        close(fds[0]);
        close(fds[1]);
        return;
    }
    std::fflush(nullptr);
    const pid_t show = fork();
    if (show < 0) {
        prctl(PR_SET_CHILD_SUBREAPER, 0);
        close(fds[0]);
        close(fds[1]);
        return;
    }
    if (show > 0) {
        close(fds[1]);
        superviseFrom(show, fds[0]);
    }
    close(fds[0]);
    // Every show of this run inherits the pipe's write end.
    fcntl(fds[1], F_SETFD, 0);
    char text[16];
    std::snprintf(text, sizeof text, "%d", fds[1]);
    setenv(supervisorVariable, text, 1);
}

bool startShowSuccessor(ShowSuccessor& successor, char* const* args, const char* folder) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    // Only the new show holds the write end: dup'ed to a number of its own there, which drops the
    // close-on-exec flag. Any number but the supervisor's pipe will do.
    const int readyFd = descriptorFrom(supervisorVariable) == 3 ? 4 : 3;
    if (fds[1] == readyFd) {
        const int moved = fcntl(fds[1], F_DUPFD_CLOEXEC, 10);
        close(fds[1]);
        fds[1] = moved;
        if (moved < 0) {
            close(fds[0]);
            return false;
        }
    }
    const std::string readyPrefix = std::string(readyVariable) + "=";
    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry)
        if (std::strncmp(*entry, readyPrefix.c_str(), readyPrefix.size()) != 0) variables.emplace_back(*entry);
    variables.push_back(std::string(readyVariable) + "=" + std::to_string(readyFd));
    std::vector<char*> environment;
    for (std::string& variable : variables) environment.push_back(variable.data());
    environment.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], readyFd);
    posix_spawn_file_actions_addchdir_np(&actions, folder);
    pid_t pid = -1;
    const int error = posix_spawn(&pid, "/proc/self/exe", &actions, nullptr, args, environment.data());
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (error != 0) {
        close(fds[0]);
        errno = error;
        return false;
    }
    fcntl(fds[0], F_SETFL, fcntl(fds[0], F_GETFL) | O_NONBLOCK);
    successor.process = pid;
    successor.readyPipe = fds[0];
    return true;
}

SuccessorState pollShowSuccessor(ShowSuccessor& successor, int& status) {
    if (successor.process <= 0) return SuccessorState::Ended;
    const int fd = static_cast<int>(successor.readyPipe);
    char byte = 0;
    ssize_t got;
    do got = read(fd, &byte, 1);
    while (got < 0 && errno == EINTR);
    if (got == 1) return SuccessorState::Showing;
    int waitStatus = 0;
    const auto pid = static_cast<pid_t>(successor.process);
    if (waitpid(pid, &waitStatus, WNOHANG) != pid) return SuccessorState::Starting;
    close(fd);
    successor = {};
    status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
    return SuccessorState::Ended;
}

void stopShowSuccessor(ShowSuccessor& successor) {
    if (successor.process <= 0) return;
    const auto pid = static_cast<pid_t>(successor.process);
    kill(pid, SIGTERM);
    int waitStatus = 0;
    while (waitpid(pid, &waitStatus, 0) < 0 && errno == EINTR) {
    }
    close(static_cast<int>(successor.readyPipe));
    successor = {};
}

void handOverToSuccessor(ShowSuccessor& successor, void (*letGo)()) {
    const auto pid = static_cast<pid_t>(successor.process);
    close(static_cast<int>(successor.readyPipe));
    if (letGo != nullptr) letGo();
    std::fflush(nullptr);
    const int supervisor = descriptorFrom(supervisorVariable);
    char line[24];
    const int length = std::snprintf(line, sizeof line, "%d\n", static_cast<int>(pid));
    if (supervisor >= 0 && write(supervisor, line, static_cast<std::size_t>(length)) == length) _exit(0);
    // No supervisor: this process stays as the one that was started, and waits.
    int waitStatus = 0;
    while (waitpid(pid, &waitStatus, 0) < 0 && errno == EINTR) {
    }
    endAs(waitStatus);
}

bool reportShowShowing() {
    const int fd = descriptorFrom(readyVariable);
    unsetenv(readyVariable);
    if (fd < 0) return false;
    const char byte = 1;
    while (write(fd, &byte, 1) < 0 && errno == EINTR) {
    }
    close(fd);
    return true;
}
