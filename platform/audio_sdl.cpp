// The audio driver on SDL2 + SDL2_mixer: streams the MP3, and keeps the audible position by
// counting the music frames the mixer hands to the device (anchored once per buffer on the audio
// thread, interpolated on the main thread).
#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>

#include "base/audible_clock.h"
#include "base/data_file.h"
#include "base/print_line.h"
#include "base/show_slots.h"
#include "platform/audio.h"

namespace {

constexpr int requestedRate = 44100;
constexpr int requestedChunkFrames = 1024;

struct SdlAudioState {
    std::mutex mutex;          // guards everything below; never held while calling into the mixer
    AudibleClock clock{.maxLeadMs = 2.0 * requestedChunkFrames * 1000.0 / requestedRate};
    Mix_Music* music = nullptr;
    bool streaming = false;    // the music was playing at the last mixed buffer
    bool endReported = false;  // its early end was said on the console
    std::int64_t framesMixed = 0;
    bool paused = false;       // held by the owner: the mixer's buffers are not counted
    bool seekPending = false;
    std::uint32_t seekTargetMs = 0;
    int rate = requestedRate;
    int frameBytes = 4;
    double latencyMs = 0.0;
    char silentReason[256] = {};
};

SdlAudioState audio;
std::atomic<MonotonicMicroseconds> timeSource{steadyMicroseconds};

std::int64_t now() { return timeSource.load()(); }

bool isSilentDriver() {
    const char* driver = SDL_GetCurrentAudioDriver();
    return driver != nullptr && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "disk") == 0);
}

// Runs on the audio thread after every mixed buffer, inside the mixer's (recursive) lock.
void postMix(void*, Uint8*, int length) {
    const bool playing = Mix_PlayingMusic() != 0;
    const std::int64_t nowUs = now();
    std::lock_guard lock(audio.mutex);
    if (audio.paused) return;
    if (audio.seekPending) {
        // Seeking here, between two buffers, keeps the frame count exact. A seek to the start of
        // the buffer just mixed changes nothing, which saves the show's first buffer.
        audio.seekPending = false;
        const std::int64_t targetFrames = static_cast<std::int64_t>(audio.seekTargetMs) * audio.rate / 1000;
        if (targetFrames != audio.framesMixed) {
            if (playing) Mix_SetMusicPosition(audio.seekTargetMs / 1000.0);
            audio.framesMixed = targetFrames;
            return;
        }
    }
    if (!audio.streaming) return;
    if (!playing) {
        // Not started yet (the stream is set up before it plays), or ended: from then on the
        // clock runs on from its last anchor.
        if (audio.framesMixed > 0) {
            audio.streaming = false;
            audio.clock.streaming = false;
        }
        return;
    }
    const double bufferStartMs = static_cast<double>(audio.framesMixed) * 1000.0 / audio.rate;
    anchorAudibleClock(audio.clock, bufferStartMs - audio.latencyMs, nowUs);
    const int frames = length / audio.frameBytes;
    audio.framesMixed += frames;
    audio.clock.maxLeadMs = 2.0 * frames * 1000.0 / audio.rate;
}

// Restarts SDL's audio on its dummy driver, which consumes audio in real time without a device.
bool startDummyAudio() {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

bool sdlCreate() {
    // Interrupt and terminate signals must keep ending the show; SDL would swallow them.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) return true;
    formatText(audio.silentReason, sizeof audio.silentReason, "%s", SDL_GetError());
    return startDummyAudio();
}

int sdlVersion() {
    const SDL_version* v = Mix_Linked_Version();
    return v->major * 10000 + v->minor * 100 + v->patch;
}

bool openMixer() { return Mix_OpenAudio(requestedRate, AUDIO_S16SYS, 2, requestedChunkFrames) == 0; }

bool sdlInit() {
    if (!openMixer()) {
        // No usable sound device: SDL's dummy driver still consumes audio in real time.
        formatText(audio.silentReason, sizeof audio.silentReason, "%s", SDL_GetError());
        if (!startDummyAudio() || !openMixer()) return false;
    }
    if (isSilentDriver()) {
        if (audio.silentReason[0] != '\0')
            printLine("No sound device (%s): the music plays silently.", audio.silentReason);
        else
            printLine("Audio driver %s: the music plays silently.", SDL_GetCurrentAudioDriver());
    }
    Mix_Init(MIX_INIT_MP3);
    int rate = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    {
        std::lock_guard lock(audio.mutex);
        audio.rate = rate > 0 ? rate : requestedRate;
        audio.frameBytes = (channels > 0 ? channels : 2) * static_cast<int>(SDL_AUDIO_BITSIZE(format) / 8);
        if (audio.frameBytes <= 0) audio.frameBytes = 4;
        // A real device plays a buffer about one buffer after it was mixed; the silent ones at once.
        audio.latencyMs = isSilentDriver() ? 0.0 : requestedChunkFrames * 1000.0 / audio.rate;
    }
    Mix_SetPostMix(postMix, nullptr);
    return true;
}

// The music file as SDL data; null after a message naming the file.
SDL_RWops* openMusicData(const char* fileName) {
    // Not handed to another program: the authoring mode's reload restarts the program while it
    // streams (closed on exec, "e"; on Windows not inherited by the new process, "N", which would
    // otherwise hold the version copy it came from until the end). Each C library takes its own
    // letter and passes over the other's.
    FILE* file = openDataFile(fileName, "rbNe");
    if (file == nullptr) {
        reportDataProblem("Cannot open music \"%s\" (%s); the show runs on the wall clock.", fileName,
                  std::strerror(errno));
        return nullptr;
    }
    SDL_RWops* rw = SDL_RWFromFP(file, SDL_TRUE);
    if (rw == nullptr) std::fclose(file);
    return rw;
}

void reportUndecodable(const char* fileName) {
    reportDataProblem("Cannot decode music \"%s\" (%s); the show runs on the wall clock.", fileName, Mix_GetError());
}

// A short file (a cut download, say) still plays; past its end the clock runs on without it.
void reportLength(const char* fileName, double seconds) {
    if (seconds >= 0.0 && seconds * 1000.0 < showEndMs)
        reportDataProblem("Music \"%s\" lasts %.1f s of the show's %.1f s; the rest runs on the wall clock.", fileName,
                  seconds, showEndMs / 1000.0);
}

// Opens and decodes the music; null after a message naming the file.
Mix_Music* openMusic(const char* fileName) {
    SDL_RWops* rw = openMusicData(fileName);
    if (rw == nullptr) return nullptr;
    Mix_Music* music = Mix_LoadMUS_RW(rw, 1);
    if (music == nullptr) {
        reportUndecodable(fileName);
        return nullptr;
    }
    // What the file's header says; a file cut short is noticed when its music ends.
    reportLength(fileName, Mix_MusicDuration(music));
    return music;
}

void sdlStartStream(const char* fileName) {
    Mix_Music* music = openMusic(fileName);
    {
        std::lock_guard lock(audio.mutex);
        audio.music = music;
        audio.framesMixed = 0;
        audio.seekPending = false;
        audio.streaming = music != nullptr;
        audio.endReported = false;
        audio.clock.streaming = audio.streaming;
        jumpAudibleClock(audio.clock, 0.0, now());
    }
    if (music != nullptr && Mix_PlayMusic(music, 0) != 0) {
        reportDataProblem("Cannot play music \"%s\" (%s); the show runs on the wall clock.", fileName,
                  Mix_GetError());
        std::lock_guard lock(audio.mutex);
        audio.streaming = false;
        audio.clock.streaming = false;
    }
}

// The mixer streams on its own thread; here the main thread says when the music has ended early.
void sdlUpdate() {
    bool endedEarly = false;
    double endMs = 0.0;
    {
        std::lock_guard lock(audio.mutex);
        if (audio.music != nullptr && !audio.streaming && !audio.endReported && audio.framesMixed > 0) {
            audio.endReported = true;
            endMs = static_cast<double>(audio.framesMixed) * 1000.0 / audio.rate;
            endedEarly = endMs < showEndMs;
        }
    }
    if (endedEarly)
        reportDataProblem("The music ended at %.1f s, before the show's end; the show runs on the wall clock.",
                  endMs / 1000.0);
}

std::uint32_t sdlPosition() {
    const std::int64_t nowUs = now();
    std::lock_guard lock(audio.mutex);
    return readAudibleClock(audio.clock, nowUs);
}

void sdlSetPosition(std::uint32_t ms) {
    const std::int64_t nowUs = now();
    std::lock_guard lock(audio.mutex);
    if (audio.streaming) {
        audio.seekPending = true;
        audio.seekTargetMs = ms;
    }
    jumpAudibleClock(audio.clock, ms, nowUs);
}

// The clock holds at once; the music stops within a buffer. Resuming seeks the music back to the
// held position, so that what was mixed after the pause is not counted as heard.
void sdlSetPaused(bool paused) {
    bool streaming = false;
    {
        std::lock_guard lock(audio.mutex);
        if (audio.paused == paused) return;
        audio.paused = paused;
        holdAudibleClock(audio.clock, paused, now());
        streaming = audio.streaming;
        if (!paused && streaming) {
            audio.seekPending = true;
            audio.seekTargetMs = static_cast<std::uint32_t>(audio.clock.anchorMs);
        }
    }
    // Outside our lock: the mixer takes its own, which postMix holds while taking ours.
    if (!streaming) return;
    if (paused)
        Mix_PauseMusic();
    else
        Mix_ResumeMusic();
}

// Nothing may hold the file afterwards: on Windows a version folder of the authoring mode cannot be
// removed while its music is open.
void sdlStopStream() {
    Mix_Music* music = nullptr;
    {
        std::lock_guard lock(audio.mutex);
        music = audio.music;
        audio.music = nullptr;
        audio.streaming = false;
        audio.seekPending = false;
        audio.clock.streaming = false;
    }
    // Outside our lock, as in sdlSetPaused.
    if (music != nullptr) {
        Mix_HaltMusic();
        Mix_FreeMusic(music);
    }
}

}  // namespace

bool checkMusicFile(const char* fileName) {
    // SDL's dummy driver: nothing is played and no sound device is touched.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (!startDummyAudio() || !openMixer()) {
        reportDataProblem("Cannot check music \"%s\" (%s).", fileName, SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_Init(MIX_INIT_MP3);
    // Decoded whole, so that a file cut short shows its true length.
    Mix_Chunk* samples = nullptr;
    if (SDL_RWops* rw = openMusicData(fileName)) {
        samples = Mix_LoadWAV_RW(rw, 1);
        if (samples == nullptr) reportUndecodable(fileName);
    }
    const bool decoded = samples != nullptr;
    if (decoded) {
        int rate = 0, channels = 0;
        Uint16 format = 0;
        Mix_QuerySpec(&rate, &format, &channels);
        const double frameBytes = channels * (SDL_AUDIO_BITSIZE(format) / 8.0);
        if (rate > 0 && frameBytes > 0) reportLength(fileName, samples->alen / frameBytes / rate);
        Mix_FreeChunk(samples);
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return decoded;
}

std::int64_t steadyMicroseconds() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void setAudioTimeSource(MonotonicMicroseconds source) {
    timeSource.store(source != nullptr ? source : steadyMicroseconds);
}

const AudioDriver sdlAudioDriver = {
    "sdl", sdlCreate, sdlVersion, sdlInit, sdlStartStream, sdlUpdate, sdlPosition, sdlSetPosition, sdlSetPaused,
    sdlStopStream,
};

const AudioDriver& showAudioDriver() { return sdlAudioDriver; }
