// The authoring mode (demo --dev): the show in a plain window with keys for whoever makes its
// data. Space pauses and resumes; Left and Right seek 1 s, Page Up and Page Down 10 s; R, or a
// file saved under data/, reloads the data set at the current time once a check of it in a child
// process finds nothing the running version did not have; otherwise the show goes on with the
// version it has. The title shows the music time, the slot and the frame time.
#pragma once

#include <cstdint>

// Before start-up: starts the check of the data set as it is, beside the start-up, so that a
// reload can tell what a change broke.
void prepareDevMode();

// After start-up, before the jump to the start time: keeps the start-up state (seeks back step
// from it), watches data/ and takes over the frame function. programName restarts the show on a
// reload; paused starts it held.
void beginDevMode(const char* programName, bool paused);

// The seek of the keys: the state at ms, stepped on from the frame shown when ms lies after it,
// else from the start of the show; one line on the console.
void seekShowTo(std::int32_t ms);
