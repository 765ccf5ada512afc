// The audio layer behind the music clock: a driver record of plain functions, so the clock code
// never sees the audio library. The SDL driver plays the music; the null driver is silent and its
// position is set from outside (the capture tool's frame clock).
#pragma once

#include <cstdint>

struct AudioDriver {
    const char* name;
    bool (*create)();                          // bring up the audio system
    int (*version)();                          // library version as major*10000 + minor*100 + patch
    bool (*init)();                            // open the output
    void (*startStream)(const char* fileName); // stream and play from the start
    void (*update)();                          // once per frame
    std::uint32_t (*positionMs)();             // audible position of the music
    void (*setPositionMs)(std::uint32_t ms);
    void (*setPaused)(bool paused);            // music and position held, or going on
    void (*stopStream)();                      // the music ends and its file is closed
};

extern const AudioDriver sdlAudioDriver;
extern const AudioDriver nullAudioDriver;
// Web Audio in a browser: the page decodes the music, the driver plays it (the web build only).
extern const AudioDriver webAudioDriver;

// The music player of this system: SDL's on the desktop, Web Audio in a browser.
const AudioDriver& showAudioDriver();

// Opens and decodes a music file as the SDL driver would, printing the same messages, and plays
// nothing: for runs on the null driver that still want to know whether the music is sound.
bool checkMusicFile(const char* fileName);

// The null driver's position: what positionMs reports until the next call.
void setNullAudioPositionMs(std::uint32_t ms);

// The monotonic microsecond timer the SDL driver interpolates with; tests may replace it.
using MonotonicMicroseconds = std::int64_t (*)();
std::int64_t steadyMicroseconds();
void setAudioTimeSource(MonotonicMicroseconds source);
