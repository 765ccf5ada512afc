// The run folder's watch on inotify.
#include "platform/data_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/print_line.h"

namespace {

constexpr std::uint32_t changes = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE;

int watchData(DataWatch& watch) {
    const std::string data = watch.folder + "/data";
    return inotify_add_watch(static_cast<int>(watch.handle), data.c_str(), changes | IN_MOVE_SELF | IN_DELETE_SELF);
}

}  // namespace

bool startDataWatch(DataWatch& watch, const char* runFolder) {
    watch.folder = runFolder;
    const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    watch.handle = fd;
    if (fd >= 0) watch.folderWatch = inotify_add_watch(fd, runFolder, changes);
    if (fd >= 0 && watch.folderWatch >= 0) watch.dataWatch = watchData(watch);
    if (fd < 0 || watch.folderWatch < 0 || watch.dataWatch < 0) {
        printLine("Cannot watch \"%s/data\" for changes (%s); R reloads.", runFolder, std::strerror(errno));
        if (fd >= 0) close(fd);
        watch.handle = -1;
        return false;
    }
    return true;
}

void readDataWatch(DataWatch& watch, std::vector<std::string>& names) {
    if (watch.handle < 0) return;
    const int fd = static_cast<int>(watch.handle);
    alignas(inotify_event) char buffer[4096];
    bool rewatch = false;
    for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;) {
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= got;) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            const ssize_t next = at + static_cast<ssize_t>(sizeof event + event.len);
            if (next > got) break;
            const char* name = buffer + at + sizeof event;
            const std::string entry = event.len > 0 ? std::string(name, strnlen(name, event.len)) : std::string();
            if (event.wd == watch.folderWatch && !entry.empty()) {
                names.push_back(entry);
                if (entry == "data" && (event.mask & (IN_MOVED_TO | IN_CREATE)) != 0) rewatch = true;
            } else if (event.wd == watch.dataWatch) {
                if ((event.mask & (IN_MOVE_SELF | IN_DELETE_SELF)) != 0) names.push_back("data");
                else if (!entry.empty()) names.push_back("data/" + entry);
            }
            at = next;
        }
    }
    if (rewatch) {
        if (watch.dataWatch >= 0) inotify_rm_watch(fd, watch.dataWatch);
        watch.dataWatch = watchData(watch);
    }
}
