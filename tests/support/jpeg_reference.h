// JPEG files for the decoder's tests: test pictures, encoding and reference decoding with
// libjpeg-turbo, marker-segment surgery, and small hand-made files with known coefficients.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// Interleaved 8-bit samples, 1 (grey) or 3 (RGB) per pixel.
struct TestPicture {
    int width = 0;
    int height = 0;
    int components = 3;
    Bytes samples;
};

// Smooth gradients, sharp-edged shapes and some noise; the same for the same arguments.
TestPicture makePhotoPicture(int width, int height, int components, unsigned seed = 1);

enum class ChromaSampling { s444, s422, s420 };

struct EncodeOptions {
    int quality = 90;
    ChromaSampling sampling = ChromaSampling::s420;
    int restartRows = 0;      // restart markers every n MCU rows
    int restartMcus = 0;      // or every n MCUs
    int greyFactor = 1;       // sampling factors of a grey picture's one component
    bool progressive = false;
    bool arithmetic = false;
    bool separateScans = false;  // sequential, one scan per component
};

// Encodes with libjpeg-turbo; empty on failure.
Bytes encodeWithLibjpeg(const TestPicture& picture, const EncodeOptions& options);

// Decodes with libjpeg-turbo as the comparisons need it (float IDCT, sample replication instead of
// fancy upsampling) into RGBA. False when libjpeg-turbo reports an error.
bool decodeWithLibjpeg(const Bytes& file, Bytes& rgba, int& width, int& height);

// Largest and mean absolute difference per channel (R, G, B, A) over rows [firstRow, lastRow).
struct ChannelDifferences {
    int largest[4] = {0, 0, 0, 0};
    double mean[4] = {0, 0, 0, 0};
};
ChannelDifferences compareRgba(const Bytes& ours, const Bytes& reference, int width, int firstRow, int lastRow);

// One marker segment as found in a file: the marker byte and the bytes after the length field.
struct JpegSegment {
    std::uint8_t marker;
    Bytes payload;
};

// Splits a file into SOI, the segments up to and including the scan header, and the rest (the
// entropy-coded data with the markers inside it, and EOI).
struct JpegLayout {
    std::vector<JpegSegment> segments;
    Bytes tail;
};
JpegLayout splitJpeg(const Bytes& file);
Bytes joinJpeg(const JpegLayout& layout);

// Offset of the first byte of entropy-coded data.
std::size_t scanDataOffset(const Bytes& file);

// Writes a whole file; false on failure.
bool writeBytes(const std::string& path, const Bytes& bytes);

// Bits of entropy-coded data, most significant first, with 0xFF bytes stuffed and the last byte
// padded with one bits.
class JpegBitWriter {
public:
    void put(unsigned bits, int count);
    // A coefficient value as its magnitude category and extra bits.
    void putValue(int value, int category);
    Bytes finish();

private:
    Bytes bytes_;
    std::uint32_t accumulator_ = 0;
    int count_ = 0;
};

int magnitudeCategory(int value);

// A baseline file written by hand with simple Huffman tables: DC categories 0 to dcSymbols - 1
// as 4-bit codes equal to the category, and every AC symbol as the 8-bit code equal to itself.
struct HandMadeComponent {
    int identifier;
    int horizontal = 1;
    int vertical = 1;
    int quantTable = 0;
};

struct HandMadeJpeg {
    int width = 8;
    int height = 8;
    int precision = 8;  // bits per sample in the frame header
    std::vector<HandMadeComponent> components = {{1, 1, 1, 0}};
    std::vector<std::array<int, 64>> quantTables;  // zigzag order; one of all ones when empty
    // Quantised coefficients in zigzag order (DC as the absolute value), one per block in the
    // order the decoder reads them: MCU by MCU, component by component, block rows then columns.
    std::vector<std::array<int, 64>> blocks;
    int restartInterval = 0;  // MCUs; markers are written between the intervals
    int dcSymbols = 16;
    bool writeEndOfImage = true;
    Bytes entropyData;  // used instead of the encoded blocks when not empty
};

Bytes buildHandMadeJpeg(const HandMadeJpeg& jpeg);
