// The versions of a data set that the authoring mode checks and plays: each a copy of the run
// folder's data/ and music in a folder of its own, so that the version a reload starts is exactly
// the version its check saw, whatever is saved meanwhile.
#pragma once

#include <string>

struct DataCopies {
    std::string root;  // the folder holding the copies, v1, v2, ...
    int next = 1;
};

// A new folder for the copies under the system's temporary folder; false with a message.
bool makeDataCopies(DataCopies& copies, std::string& error);

// The copies of a show restarted inside one of them (current, a folder of root); none when current
// is not a version folder of ours.
void adoptDataCopies(DataCopies& copies, const std::string& current);

// Copies runFolder's data/ and biisi.mp3 (when there) into the next version's folder and names
// it; false with a message.
bool copyDataSet(DataCopies& copies, const std::string& runFolder, std::string& copy, std::string& error);

// Whether two run folders hold the same files that the show reads, byte for byte.
bool sameDataSet(const std::string& one, const std::string& other);

// A file beside the versions where one start-up leaves what the next compares with; empty
// without copies.
std::string dataCopiesNotesFile(const DataCopies& copies);

// Removes every version folder but keep (empty: all of them, and then the root when it is empty).
// Nothing but the version folders and the notes file of a root this program made is ever removed.
void removeDataCopies(const DataCopies& copies, const std::string& keep);
