// Huffman tables and the entropy-coded bit stream of the JPEG decoder.
#pragma once

#include <cstddef>
#include <cstdint>

// Bits looked up in one step; longer codes take the search by length.
constexpr int jpegLookaheadBits = 9;

struct HuffmanTable {
    std::uint8_t counts[16];        // number of codes of each length 1 to 16
    std::uint8_t symbols[256];      // symbol values in code order
    std::uint8_t codeLengths[256];  // length of the k-th code
    std::uint16_t codes[256];       // the k-th code
    int symbolCount;
    // Per length n (index n - 1): the first code of that length and the index of its symbol.
    std::int32_t firstCode[16];
    std::int32_t firstIndex[16];
    // Indexed by the next jpegLookaheadBits bits: (length << 8) | symbol, or 0 for a longer code.
    std::uint16_t lookahead[1 << jpegLookaheadBits];
    // For AC decoding, where a code and its extra bits fit in those bits together:
    // (value << 8) | (zero run << 4) | bits used; 0 otherwise.
    std::int32_t acLookahead[1 << jpegLookaheadBits];
    bool defined;
};

// Builds the codes from counts and symbols (canonical order: shorter codes first, consecutive
// within a length). False when the counts ask for more codes than a length can hold or for more
// than 256 symbols; the table is then left undefined.
bool buildHuffmanTable(HuffmanTable& table, const std::uint8_t counts[16], const std::uint8_t* symbols);

// The entropy-coded data after a scan header, as bytes for the bit buffer. Byte stuffing (FF 00)
// is undone here; a marker or the end of the data stops the real input, after which zero bytes are
// supplied so that a decode step never reads outside the data.
class JpegByteSource {
public:
    JpegByteSource(const std::uint8_t* data, const std::uint8_t* end) : next_(data), end_(end) {}

    struct Bits {
        std::uint64_t buffer;  // left-aligned at bit 63
        int count;
    };
    // Appends whole bytes to a buffer of count bits until it holds more than 56.
    Bits refill(std::uint64_t buffer, int count);
    // Made-up zero bits at the end of the buffer handed out last.
    int padding() const { return padding_; }
    // Moves past the next restart marker (RST0 to RST7), skipping whatever data lies before it.
    // False when another marker or the end of the data comes first.
    bool restart();

private:
    const std::uint8_t* next_;
    const std::uint8_t* end_;
    int padding_ = 0;
    bool stopped_ = false;  // a marker or the end of the data was reached
};

// The bit buffer, small enough to copy into registers for the decoding of a block.
class JpegBitReader {
public:
    explicit JpegBitReader(JpegByteSource& source) : source_(&source) {}

    // Guarantees at least 32 bits in the buffer.
    void fill() {
        if (count_ < 32) {
            const JpegByteSource::Bits bits = source_->refill(buffer_, count_);
            buffer_ = bits.buffer;
            count_ = bits.count;
        }
    }
    unsigned peek(int n) const { return static_cast<unsigned>(buffer_ >> (64 - n)); }
    void skip(int n) {
        buffer_ <<= n;
        count_ -= n;
    }
    // n from 0 to 16 bits, most significant first; needs fill() before.
    unsigned take(int n) {
        if (n == 0) return 0;
        const unsigned value = peek(n);
        skip(n);
        return value;
    }
    // Whether bits beyond the real data were consumed.
    bool overran() const { return count_ < source_->padding(); }
    // Drops the buffered bits and moves past the next restart marker; see JpegByteSource::restart.
    bool restart() {
        buffer_ = 0;
        count_ = 0;
        return source_->restart();
    }

private:
    JpegByteSource* source_;
    std::uint64_t buffer_ = 0;
    int count_ = 0;
};

// The next symbol of the table, or -1 when no code of 16 bits or fewer matches. Needs fill().
inline int decodeHuffmanSymbol(JpegBitReader& reader, const HuffmanTable& table) {
    const unsigned entry = table.lookahead[reader.peek(jpegLookaheadBits)];
    if (entry != 0) {
        reader.skip(static_cast<int>(entry >> 8));
        return static_cast<int>(entry & 0xFF);
    }
    const unsigned bits = reader.peek(16);
    for (int n = jpegLookaheadBits + 1; n <= 16; ++n) {
        const std::int32_t code = static_cast<std::int32_t>(bits >> (16 - n));
        const std::int32_t offset = code - table.firstCode[n - 1];
        if (offset >= 0 && offset < table.counts[n - 1]) {
            reader.skip(n);
            return table.symbols[table.firstIndex[n - 1] + offset];
        }
    }
    return -1;
}

// The JPEG standard's EXTEND: the signed value of an n-bit magnitude category.
inline int extendValue(int n, unsigned v) {
    if (n == 0) return 0;
    const int value = static_cast<int>(v);
    return (v >> (n - 1)) != 0 ? value : value - ((1 << n) - 1);
}
