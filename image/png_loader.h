// PNG files to 8-bit RGB or RGBA pixels through libpng.
#pragma once

#include <vector>

// Largest decoded image the loaders accept, in bytes.
constexpr unsigned long long largestImageBytes = 256ull << 20;

// Reads a PNG file, top row first. 8-bit RGB and RGBA arrive as stored; palette, grey, 16-bit and
// interlaced files are converted to RGB or RGBA. components is 3 or 4. False after a message.
bool loadPngImage(const char* path, std::vector<unsigned char>& pixels, int& width, int& height,
                  int& components);
