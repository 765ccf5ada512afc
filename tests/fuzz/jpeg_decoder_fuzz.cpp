// libFuzzer entry point: arbitrary bytes through the in-memory JPEG decoder.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "image/jpeg_decoder.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Damaged inputs make the decoder print a line each; they would drown libFuzzer's own output.
    std::FILE* quiet = std::freopen("/dev/null", "w", stdout);
    static_cast<void>(quiet);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<unsigned char> pixels;
    int width = 0, height = 0;
    // A lower size limit than the show's keeps every input quick; the limit check itself is the same.
    constexpr std::size_t maxPixelBytes = std::size_t{16} << 20;
    if (decodeJpegMemory(data, size, "fuzz input", pixels, width, height, maxPixelBytes) &&
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4)
        __builtin_trap();
    return 0;
}
