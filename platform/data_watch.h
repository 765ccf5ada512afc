// Watching a run folder for saved files (inotify; directory change reads on Windows), so that an
// edit reloads the show: the folder itself (the music, a data folder replaced by another) and its
// data/ folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DataWatch {
    std::intptr_t handle = -1;  // the system's watch; -1 when not watching
    int folderWatch = -1;
    int dataWatch = -1;
    std::string folder;
};

// Starts watching runFolder and runFolder/data; false (after a line) when it cannot, and the show
// goes on without it.
bool startDataWatch(DataWatch& watch, const char* runFolder);

// Appends the names, relative to the run folder, of what changed since the last call
// ("biisi.mp3", "data", "data/bg.xsi"), without waiting. A data folder that was replaced is
// watched anew.
void readDataWatch(DataWatch& watch, std::vector<std::string>& names);
