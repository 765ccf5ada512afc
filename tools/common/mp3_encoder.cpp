// MP3 encoding through LAME.
#include "tools/common/mp3_encoder.h"

#include <lame/lame.h>

#include <cstdio>
#include <cstring>

bool writeMp3File(const char* path, const std::vector<std::int16_t>& interleaved, int sampleRate,
                  const Mp3Settings& settings) {
    lame_global_flags* lame = lame_init();
    if (lame == nullptr) return false;
    lame_set_num_channels(lame, 2);
    lame_set_in_samplerate(lame, sampleRate);
    lame_set_out_samplerate(lame, sampleRate);
    lame_set_brate(lame, settings.kilobitsPerSecond);
    lame_set_quality(lame, settings.quality);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        std::fprintf(stderr, "Cannot set up the MP3 encoder for %s\n", path);
        return false;
    }

    const int frames = static_cast<int>(interleaved.size() / 2);
    // LAME's documented worst case: 1.25 x samples + 7200 bytes.
    std::vector<unsigned char> mp3(static_cast<std::size_t>(frames) * 5 / 4 + 7200);
    int bytes = lame_encode_buffer_interleaved(lame, const_cast<short*>(interleaved.data()), frames,
                                               mp3.data(), static_cast<int>(mp3.size()));
    int tail = bytes >= 0 ? lame_encode_flush(lame, mp3.data() + bytes, static_cast<int>(mp3.size()) - bytes) : -1;
    if (bytes >= 0 && tail >= 0 && settings.gaplessTag) {
        // The encoder reserved the first frame of the stream for this tag.
        unsigned char tag[4096];
        const std::size_t tagBytes = lame_get_lametag_frame(lame, tag, sizeof tag);
        if (tagBytes == 0 || tagBytes > static_cast<std::size_t>(bytes + tail)) {
            tail = -1;
        } else {
            std::memcpy(mp3.data(), tag, tagBytes);
        }
    }
    lame_close(lame);
    if (bytes < 0 || tail < 0) {
        std::fprintf(stderr, "MP3 encoding of %s failed\n", path);
        return false;
    }

    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "Cannot write %s\n", path);
        return false;
    }
    const std::size_t total = static_cast<std::size_t>(bytes + tail);
    const bool written = std::fwrite(mp3.data(), 1, total, file) == total;
    return std::fclose(file) == 0 && written;
}

bool writeMp3File(const char* path, const std::vector<std::int16_t>& interleaved, int sampleRate,
                  int kilobitsPerSecond) {
    return writeMp3File(path, interleaved, sampleRate, Mp3Settings{.kilobitsPerSecond = kilobitsPerSecond});
}
