// Which changes to a run folder reload the show: files the show reads (scene files, images, the
// music, the data folder itself), not an editor's swap and backup files or notes beside them. A
// change counts once the folder has been quiet for a moment, as editors save in several steps (a
// temporary file, a rename, attributes).
#pragma once

#include <cstdint>
#include <string>

constexpr std::int64_t dataQuietUs = 300000;

// name is relative to the run folder, with / between folders.
bool showReadsFile(const std::string& name);

struct ChangeQuiet {
    std::int64_t lastChangeUs = -1;  // monotonic time of the newest change not yet reported
};

// Notes a change at nowUs when changed; true once, when changes are followed by a quiet moment.
bool quietAfterChanges(ChangeQuiet& quiet, bool changed, std::int64_t nowUs);
