// Music playback and the music clock on top of the audio layer.
#include "app/music.h"

#include "app/audio.h"
#include "app/demo_state.h"
#include "app/print_line.h"

namespace {

const AudioDriver* audioDriver = &sdlAudioDriver;

}  // namespace

void setAudioDriver(const AudioDriver* driver) { audioDriver = driver != nullptr ? driver : &sdlAudioDriver; }

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
    demoState.musicMs = 0;
}

void updateAudio() {
    audioDriver->update();
    const std::uint32_t position = audioDriver->positionMs();
    demoState.previousMusicMs = demoState.musicMs;
    demoState.musicMs = static_cast<std::int32_t>(position);
    demoState.frameSeconds = static_cast<float>((demoState.musicMs - demoState.previousMusicMs) / 1000.0);
}

void seekMusic(std::int32_t deltaMs) {
    demoState.musicMs += deltaMs;
    audioDriver->setPositionMs(static_cast<std::uint32_t>(demoState.musicMs < 0 ? 0 : demoState.musicMs));
    audioDriver->update();
}

std::int32_t demoTimeMs() { return demoState.musicMs; }
