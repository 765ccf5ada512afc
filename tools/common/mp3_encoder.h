// Encoding 16-bit stereo PCM to an MP3 file with LAME (data-set music, test music).
#pragma once

#include <cstdint>
#include <vector>

// interleaved: left, right, left, right, ... False after a message on failure.
bool writeMp3File(const char* path, const std::vector<std::int16_t>& interleaved, int sampleRate,
                  int kilobitsPerSecond);
