// The authoring mode's reload: the new show runs as a process of its own beside the old one,
// which goes on until the new one has its first frame on screen, and goes on for good when the new
// one ends before that. The process that was started keeps its id and ends as the last show ends,
// so whoever waits for it waits for the show.
#pragma once

#include <cstdint>

// On a first start, before anything is loaded: where the system needs one, a small process keeps
// the program's id, hands stop signals to the show that shows and ends with its status once it
// ends. Returns in the show; where it cannot, the shows wait for one another instead.
void superviseShows();

struct ShowSuccessor {
    std::intptr_t process = 0;     // its pid or handle; 0 when none is starting
    std::intptr_t readyPipe = -1;  // where it says that it shows
};

enum class SuccessorState { Starting, Showing, Ended };

// This program again with args (args[0] its name, null-terminated), inside folder; false with
// errno set when it cannot start.
bool startShowSuccessor(ShowSuccessor& successor, char* const* args, const char* folder);

// Ended: it ended before it showed, with status (its exit status, or 128 + the signal that ended it).
SuccessorState pollShowSuccessor(ShowSuccessor& successor, int& status);

// Ends one still starting and waits for it.
void stopShowSuccessor(ShowSuccessor& successor);

// Gives the show to a successor that shows: letGo gives up what this process holds (the music, and
// on Windows its working directory), then this process ends or waits as its system needs.
[[noreturn]] void handOverToSuccessor(ShowSuccessor& successor, void (*letGo)());

// In a show started by a reload, once its first frame is on screen: the old one may go. True when
// this show was started by one (false on a first start).
bool reportShowShowing();
