// Music playback and the music clock on top of the audio layer.
#include "app/music.h"

#include "base/demo_clock.h"
#include "base/print_line.h"
#include "platform/audio.h"

namespace {

const AudioDriver* audioDriver = &showAudioDriver();

}  // namespace

void setAudioDriver(const AudioDriver* driver) { audioDriver = driver != nullptr ? driver : &showAudioDriver(); }

bool initAudio() {
    printLine("Initializing audio...");
    if (!audioDriver->create()) {
        printLine("failed!\n");
        return false;
    }
    printLine(" ok.\n");
    printLine("Version %d", audioDriver->version());
    if (!audioDriver->init()) {
        printLine("Audio initialization failed!\n");
        return false;
    }
    printLine("Ready to use audio...\n");
    return true;
}

void playMusic(const char* fileName) {
    audioDriver->startStream(fileName);
    audioDriver->setPositionMs(0);
    demoClock.musicMs = 0;
}

void updateAudio() {
    audioDriver->update();
    advanceClock(static_cast<std::int32_t>(audioDriver->positionMs()));
}

void advanceClock(std::int32_t ms) {
    demoClock.previousMusicMs = demoClock.musicMs;
    demoClock.musicMs = ms;
    demoClock.frameSeconds = static_cast<float>((demoClock.musicMs - demoClock.previousMusicMs) / 1000.0);
}

void pauseMusic(bool paused) { audioDriver->setPaused(paused); }

void stopMusic() { audioDriver->stopStream(); }

void seekMusic(std::int32_t deltaMs) {
    demoClock.musicMs += deltaMs;
    audioDriver->setPositionMs(static_cast<std::uint32_t>(demoClock.musicMs < 0 ? 0 : demoClock.musicMs));
    audioDriver->update();
}
