// The keys the authoring mode reads, whatever the window system calls them.
#pragma once

#include <cstdint>

enum class ShowKey : std::uint8_t {
    Space,
    Left,       // 1 s back
    Right,      // 1 s on
    PageUp,     // 10 s back
    PageDown,   // 10 s on
    Reload,     // R: check what is on disk, load it when it adds no problem
    ForceLoad,  // L: load what is on disk without asking the check
    FrameBack,  // ,
    FrameOn,    // .
    FineBack,   // Down: 0.1 s back
    FineOn,     // Up: 0.1 s on
    SlotBack,   // [: the start of this slot, or of the one before when at it
    SlotOn,     // ]: the start of the next slot
    LoopStart,  // A
    LoopEnd,    // B
    LoopClear,  // C
    TimeLine,   // T: the time and slot drawn in the window's corner, or not
};
