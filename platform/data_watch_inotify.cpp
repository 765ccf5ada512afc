// The data folder's watch on inotify.
#include "platform/data_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/print_line.h"

bool startDataWatch(DataWatch& watch, const char* folder) {
    watch.fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    constexpr std::uint32_t changes = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE;
    if (watch.fd < 0 || inotify_add_watch(watch.fd, folder, changes) < 0) {
        printLine("Cannot watch \"%s\" for changes (%s); R reloads.", folder, std::strerror(errno));
        if (watch.fd >= 0) close(watch.fd);
        watch.fd = -1;
        return false;
    }
    return true;
}

bool pollDataWatch(DataWatch& watch, std::int64_t nowUs) {
    if (watch.fd < 0) return false;
    // The events themselves do not matter, only that there were some.
    alignas(inotify_event) char buffer[4096];
    while (read(watch.fd, buffer, sizeof buffer) > 0) watch.lastChangeUs = nowUs;
    if (watch.lastChangeUs < 0 || nowUs - watch.lastChangeUs < dataWatchQuietUs) return false;
    watch.lastChangeUs = -1;
    return true;
}
