// Huffman code building and the bit stream of the JPEG decoder.
#include "image/jpeg_huffman.h"

#include <cstring>

bool buildHuffmanTable(HuffmanTable& table, const std::uint8_t counts[16], const std::uint8_t* symbols) {
    table.defined = false;
    int total = 0;
    for (int n = 0; n < 16; ++n) total += counts[n];
    if (total > 256) return false;

    std::memcpy(table.counts, counts, sizeof table.counts);
    std::memset(table.symbols, 0, sizeof table.symbols);
    std::memcpy(table.symbols, symbols, static_cast<std::size_t>(total));
    table.symbolCount = total;

    std::int32_t code = 0;
    int k = 0;
    for (int n = 1; n <= 16; ++n) {
        table.firstCode[n - 1] = code;
        table.firstIndex[n - 1] = k;
        for (int i = 0; i < counts[n - 1]; ++i) {
            table.codeLengths[k] = static_cast<std::uint8_t>(n);
            table.codes[k] = static_cast<std::uint16_t>(code);
            ++code;
            ++k;
        }
        // Codes that no longer fit in n bits would alias shorter ones.
        if (code > (1 << n)) return false;
        code *= 2;
    }

    std::memset(table.lookahead, 0, sizeof table.lookahead);
    for (k = 0; k < total; ++k) {
        const int n = table.codeLengths[k];
        if (n > jpegLookaheadBits) break;
        const int shift = jpegLookaheadBits - n;
        const int first = table.codes[k] << shift;
        const int last = (table.codes[k] + 1) << shift;
        for (int i = first; i < last; ++i)
            table.lookahead[i] = static_cast<std::uint16_t>((n << 8) | table.symbols[k]);
    }
    for (int bits = 0; bits < (1 << jpegLookaheadBits); ++bits) {
        table.acLookahead[bits] = 0;
        const int entry = table.lookahead[bits];
        const int length = entry >> 8, run = (entry >> 4) & 15, size = entry & 15;
        if (entry == 0 || size == 0 || length + size > jpegLookaheadBits) continue;
        const unsigned extra = (static_cast<unsigned>(bits) >> (jpegLookaheadBits - length - size)) & ((1u << size) - 1);
        table.acLookahead[bits] = extendValue(size, extra) * 256 + run * 16 + length + size;
    }
    table.defined = true;
    return true;
}

JpegByteSource::Bits JpegByteSource::refill(std::uint64_t buffer, int count) {
    // Most of the time the next eight bytes hold neither a stuffed byte nor a marker.
    if (!stopped_ && end_ - next_ >= 8) {
        std::uint64_t word = 0;
        for (int i = 0; i < 8; ++i) word = word << 8 | next_[i];
        const std::uint64_t inverted = ~word;
        const bool anyFF = ((inverted - 0x0101010101010101u) & ~inverted & 0x8080808080808080u) != 0;
        if (!anyFF) {
            const int bytes = (64 - count) / 8;
            const std::uint64_t taken = bytes == 8 ? word : word & ~(~std::uint64_t{0} >> (8 * bytes));
            next_ += bytes;
            return {buffer | taken >> count, count + 8 * bytes};
        }
    }
    while (count <= 56) {
        if (!stopped_) {
            if (next_ == end_) {
                stopped_ = true;
                continue;
            }
            const unsigned byte = *next_;
            if (byte == 0xFF) {
                const std::uint8_t* after = next_ + 1;
                while (after < end_ && *after == 0xFF) ++after;
                if (after == end_ || *after != 0x00) {
                    // A marker (or the end): leave it for restart() and supply zero bits.
                    stopped_ = true;
                    continue;
                }
                next_ = after + 1;  // stuffed zero: the data byte is 0xFF
            } else {
                ++next_;
            }
            buffer |= static_cast<std::uint64_t>(byte) << (56 - count);
        } else {
            padding_ += 8;
        }
        count += 8;
    }
    return {buffer, count};
}

bool JpegByteSource::restart() {
    padding_ = 0;
    stopped_ = false;
    while (next_ < end_) {
        if (*next_ != 0xFF) {
            ++next_;
            continue;
        }
        const std::uint8_t* after = next_ + 1;
        while (after < end_ && *after == 0xFF) ++after;
        if (after == end_) break;
        if (*after == 0x00) {
            next_ = after + 1;
            continue;
        }
        if (*after >= 0xD0 && *after <= 0xD7) {
            next_ = after + 1;
            return true;
        }
        next_ = after - 1;  // another marker: the entropy-coded data is over
        break;
    }
    stopped_ = true;
    return false;
}
