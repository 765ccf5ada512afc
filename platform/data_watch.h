// Watching the data folder for saved files (inotify; a change notification on Windows), so that an
// edit reloads the show. Editors save in several steps (a temporary file, a rename, attributes): a
// change counts once the folder has been quiet for a moment.
#pragma once

#include <cstdint>

struct DataWatch {
    std::intptr_t fd = -1;  // the inotify descriptor, or the notification's handle; -1 when none
    std::int64_t lastChangeUs = -1;  // monotonic time of the newest change not yet reported
};

constexpr std::int64_t dataWatchQuietUs = 300000;

// Starts watching folder; false (after a line) when it cannot, and the show goes on without it.
bool startDataWatch(DataWatch& watch, const char* folder);

// Reads the changes that have arrived; true once, when changes are followed by a quiet moment.
bool pollDataWatch(DataWatch& watch, std::int64_t nowUs);
