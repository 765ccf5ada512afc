// The authoring mode (demo --dev): the show in a plain window with keys for whoever makes its
// data. Space pauses and resumes; the arrows, pages, comma and period, [ and ] seek; A, B and C
// set and clear a section that loops. R, or a file the show reads saved in the run folder, reloads
// the data set at the current time once a check of a copy of it in a child process finds nothing
// the running version did not have; the show then restarts inside that very copy, and the old
// one holds its picture until the new one shows (and goes on when it never does). Otherwise it
// goes on with the version it has. L loads what is on disk without the check. The title shows the
// music time, the slot and the frame time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Before start-up: moves into a copy of the data set and starts its check beside the start-up, so
// that a reload can tell what a change broke. watchFolder is the run folder a restarted show
// watches from inside its copy; null on the first start, which watches the current folder.
void prepareDevMode(const char* watchFolder);

// After start-up, before the jump to the start time: keeps the start-up state (seeks back step
// from it), watches data/ and takes over the frame function. programName and passedOn (the
// command line's options but those a restart sets: the size, --start, --paused, --window-at and
// --watch) restart the show on a reload; paused starts it held.
void beginDevMode(const char* programName, bool paused, const std::vector<std::string>& passedOn);

// The seek of the keys: the state at ms, stepped on from the frame shown when ms lies after it,
// else from the nearest state kept on the way (every 5 s of the seeks' clock) or the start of the
// show; one line on the console.
void seekShowTo(std::int32_t ms);

// The jump to the start time has put the show at ms.
void noteShowJump(std::int32_t ms);
