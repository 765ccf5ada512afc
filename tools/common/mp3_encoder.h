// Encoding 16-bit stereo PCM to an MP3 file with LAME (data-set music, test music).
#pragma once

#include <cstdint>
#include <vector>

struct Mp3Settings {
    int kilobitsPerSecond = 128;
    int quality = 5;            // LAME's algorithm quality: 0 best and slowest, 9 fastest
    // Fills in the LAME tag of the first frame. Decoders that read it (mpg123) then drop the
    // encoder delay and the padding, so decoded sample 0 is input sample 0. Without it the first
    // frame decodes as 1152 samples of silence, followed by the encoder delay.
    bool gaplessTag = false;
};

// interleaved: left, right, left, right, ... False after a message on failure.
bool writeMp3File(const char* path, const std::vector<std::int16_t>& interleaved, int sampleRate,
                  const Mp3Settings& settings);

// Constant bit rate, quality 5, no gapless tag.
bool writeMp3File(const char* path, const std::vector<std::int16_t>& interleaved, int sampleRate,
                  int kilobitsPerSecond);
