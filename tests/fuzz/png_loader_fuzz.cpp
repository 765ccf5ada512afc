// libFuzzer target: arbitrary bytes as a PNG file through the show's PNG loader.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "image/png_loader.h"
#include "tests/fuzz/scratch_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The loader reads files, so each input goes through one scratch file of this process.
    static const std::string scratchPath = scratchFile("input.png");
    std::FILE* file = std::fopen(scratchPath.c_str(), "wb");
    if (file == nullptr) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    std::vector<unsigned char> pixels;
    int width = 0, height = 0, components = 0;
    if (loadPngImage(scratchPath.c_str(), pixels, width, height, components)) {
        // A successful load must describe its buffer exactly.
        if (pixels.size() != static_cast<std::size_t>(width) * height * components) __builtin_trap();
        if (components != 3 && components != 4) __builtin_trap();
    }
    return 0;
}
