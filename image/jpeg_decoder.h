// Our own baseline JPEG decoder: Huffman-coded sequential DCT, 8-bit, one or three components.
#pragma once

#include <vector>

// Decodes a JPEG file into RGBA pixels (alpha 255), top row first. False after a message when
// the file is missing, unsupported or broken.
bool decodeJpegFile(const char* path, std::vector<unsigned char>& pixels, int& width, int& height);
