// Our own baseline JPEG decoder: Huffman-coded sequential DCT, 8-bit, one or three components.
#pragma once

#include <cstddef>
#include <vector>

// Decodes a JPEG file into RGBA pixels (alpha 255), top row first. False after a message when
// the file is missing, unsupported or broken; pixels, width and height are then left as they were.
// Damaged image data after valid headers still decodes: the message names the file and the parts
// that could not be decoded are mid grey.
bool decodeJpegFile(const char* path, std::vector<unsigned char>& pixels, int& width, int& height);

// Largest pixel buffer the decoder allocates, in bytes (width x height x 4).
constexpr std::size_t jpegMaxPixelBytes = std::size_t{256} << 20;

// The same for a file already in memory; name is what the messages call it. Pictures whose pixel
// buffer would exceed maxPixelBytes are refused before anything is allocated.
bool decodeJpegMemory(const unsigned char* data, std::size_t size, const char* name,
                      std::vector<unsigned char>& pixels, int& width, int& height,
                      std::size_t maxPixelBytes = jpegMaxPixelBytes);
