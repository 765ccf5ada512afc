// PNG files of every kind for tests, written with libpng.
#pragma once

#include <string>
#include <vector>

struct PngSpec {
    int width = 1;
    int height = 1;
    int bitDepth = 8;
    int colourType = 2;  // PNG_COLOR_TYPE_*
    bool interlaced = false;
    std::vector<unsigned char> rows;     // packed rows as stored in the file, top row first
    std::vector<unsigned char> palette;  // RGB triples, for palette images
    std::vector<unsigned char> paletteAlpha;  // tRNS entries, for palette images
};

bool writeTestPng(const std::string& path, const PngSpec& spec);

// An 8-bit RGB (3 components) or RGBA (4) image from packed pixels.
bool writeTestPng(const std::string& path, int width, int height, int components,
                  const std::vector<unsigned char>& pixels);
