// The music and the driver of the show's clock: playback through the audio layer, and once per
// frame the music position into demoClock (base/demo_clock.h), which everything else reads.
#pragma once

#include <cstdint>

struct AudioDriver;

// Chooses the audio layer before initAudio (the SDL one unless changed).
void setAudioDriver(const AudioDriver* driver);

// Starts the audio system, printing its progress; true when ready.
bool initAudio();

// Streams and plays the music from its start; the clock reads 0 until the next update.
void playMusic(const char* fileName);

// Once per frame, first thing: reads the position into the clock and sets frameSeconds.
void updateAudio();

// The clock's step to a new position, as updateAudio makes it: the previous value kept, the frame
// step in seconds.
void advanceClock(std::int32_t ms);

// Holds the music and the clock (pause), or lets both go on.
void pauseMusic(bool paused);

// Ends the music and closes its file; the clock runs on from where it was.
void stopMusic();

// Moves the clock by deltaMs and the music to the new clock value.
void seekMusic(std::int32_t deltaMs);
