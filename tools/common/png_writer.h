// Writing 8-bit RGB or RGBA images as PNG files (capture tool, data-set generator).
#pragma once

// pixels: rows of width * channels bytes, channels 3 or 4; bottomUp when the first row in memory
// is the bottom row of the picture (as OpenGL reads it back). False after a message on failure.
bool writePngFile(const char* path, const unsigned char* pixels, int width, int height, int channels,
                  bool bottomUp);
