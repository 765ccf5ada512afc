// The silent audio driver: no device, no stream; the position is whatever the owner set.
#include "platform/audio.h"

namespace {

std::uint32_t nullPositionMs = 0;

bool nullCreate() { return true; }
int nullVersion() { return 0; }
bool nullInit() { return true; }
void nullStartStream(const char*) {}
void nullUpdate() {}
std::uint32_t nullPosition() { return nullPositionMs; }
void nullSetPosition(std::uint32_t ms) { nullPositionMs = ms; }
void nullSetPaused(bool) {}
void nullStopStream() {}

}  // namespace

void setNullAudioPositionMs(std::uint32_t ms) { nullPositionMs = ms; }

const AudioDriver nullAudioDriver = {
    "null",       nullCreate,   nullVersion,     nullInit,      nullStartStream,
    nullUpdate,   nullPosition, nullSetPosition, nullSetPaused, nullStopStream,
};
