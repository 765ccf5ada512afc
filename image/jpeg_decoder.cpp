// Baseline JPEG decoding: the marker segments, the scan, and the pixels of the picture.
//
// Each decode keeps its state in its own JpegDecoder record, so decodes share nothing and a failed
// one leaves nothing behind. The input is read into memory once. Anything wrong in the headers
// refuses the file before the pixel buffer is touched.
//
// Damaged image data (a code that matches nothing, a zero run past the last coefficient, bits
// needed beyond the end of the data) ends the decoding of its restart interval: the rest of the
// interval stays mid grey and decoding picks up after the next restart marker, or, in a file
// without them, the rest of the picture stays grey. Such a decode still succeeds, after one
// message, because the texture loader uploads whatever it is given: a partly grey picture beats
// an undefined one. Restart markers are expected after every restartInterval MCUs, wherever that
// falls in a row.
#include "image/jpeg_decoder.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "base/data_file.h"
#include "base/print_line.h"
#include "base/problem_detail.h"
#include "image/jpeg_color.h"
#include "image/jpeg_huffman.h"
#include "image/jpeg_idct.h"

namespace {

struct JpegComponent {
    int identifier;
    int horizontal;  // sampling factor H
    int vertical;    // sampling factor V
    int quantTable;
    int dcTable;
    int acTable;
};

struct JpegDecoder {
    const char* name;
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position;

    bool frameSeen;
    int width, height;
    int precision;  // bits per sample: 8 is all the decoder's arithmetic takes
    int componentCount;
    int restartInterval;
    JpegComponent components[3];
    HuffmanTable acTables[4];
    HuffmanTable dcTables[4];
    std::int32_t quantTables[4][64];  // zigzag order
    bool quantDefined[4];
    int spectralStart, spectralEnd, approxHigh, approxLow;  // read, not used
    std::size_t scanData;  // where the entropy-coded data starts
    std::size_t maxPixelBytes;
};

bool refuse(const JpegDecoder& d, const char* reason) {
    reportDataProblem("JPEG file %s: %s", problemPath(d.name).c_str(), reason);
    return false;
}

// Bounded reading of one marker segment.
struct SegmentReader {
    const std::uint8_t* next;
    std::size_t left;

    int byte() {
        --left;
        return *next++;
    }
    int word() {
        const int high = byte();
        return high << 8 | byte();
    }
};

bool readFrameHeader(JpegDecoder& d, SegmentReader& s) {
    if (s.left < 6) return refuse(d, "frame header too short");
    d.precision = s.byte();
    d.height = s.word();
    d.width = s.word();
    d.componentCount = s.byte();
    if (d.precision != 8) return refuse(d, "only 8-bit samples are supported");
    if (s.left != 3 * static_cast<std::size_t>(d.componentCount))
        return refuse(d, "frame header length does not match its component count");
    if (d.componentCount != 1 && d.componentCount != 3)
        return refuse(d, "only grey (1 component) and colour (3 components) images are supported");
    for (int c = 0; c < d.componentCount; ++c) {
        JpegComponent& component = d.components[c];
        component.identifier = s.byte();
        const int factors = s.byte();
        component.horizontal = factors >> 4;
        component.vertical = factors & 15;
        component.quantTable = s.byte();
        if (component.horizontal < 1 || component.horizontal > 4 || component.vertical < 1 ||
            component.vertical > 4)
            return refuse(d, "sampling factors must be 1 to 4");
        if (component.quantTable > 3) return refuse(d, "quantisation table identifier above 3");
    }
    if (d.componentCount == 3) {
        const JpegComponent& luma = d.components[0];
        for (int c = 1; c < 3; ++c)
            if (luma.horizontal % d.components[c].horizontal != 0 || luma.vertical % d.components[c].vertical != 0)
                return refuse(d, "chroma sampling factors must divide those of the first component");
    }
    if (d.width == 0 || d.height == 0) return refuse(d, "the picture has no pixels");
    if (static_cast<std::size_t>(d.width) * static_cast<std::size_t>(d.height) * 4 > d.maxPixelBytes)
        return refuse(d, "the picture is too large");
    d.frameSeen = true;
    return true;
}

bool readHuffmanTables(JpegDecoder& d, SegmentReader& s) {
    while (s.left > 0) {
        const int t = s.byte();
        if (s.left < 16) return refuse(d, "Huffman table segment too short");
        std::uint8_t counts[16];
        std::size_t total = 0;
        for (int n = 0; n < 16; ++n) {
            counts[n] = static_cast<std::uint8_t>(s.byte());
            total += counts[n];
        }
        if (total > 256) return refuse(d, "Huffman table with more than 256 symbols");
        if (s.left < total) return refuse(d, "Huffman table segment too short");
        const int identifier = t & 15;
        if (identifier > 3) return refuse(d, "Huffman table identifier above 3");
        HuffmanTable& table = (t & 0x10) != 0 ? d.acTables[identifier] : d.dcTables[identifier];
        if (!buildHuffmanTable(table, counts, s.next)) return refuse(d, "Huffman table with more codes than their lengths allow");
        s.next += total;
        s.left -= total;
    }
    return true;
}

bool readQuantTables(JpegDecoder& d, SegmentReader& s) {
    while (s.left > 0) {
        const int t = s.byte();
        const bool words = (t >> 4) != 0;
        const int identifier = t & 15;
        if (identifier > 3) return refuse(d, "quantisation table identifier above 3");
        if (s.left < (words ? 128u : 64u)) return refuse(d, "quantisation table segment too short");
        for (int k = 0; k < 64; ++k) d.quantTables[identifier][k] = words ? s.word() : s.byte();
        d.quantDefined[identifier] = true;
    }
    return true;
}

bool readScanHeader(JpegDecoder& d, SegmentReader& s) {
    if (!d.frameSeen) return refuse(d, "scan without a frame header");
    if (s.left < 1) return refuse(d, "scan header too short");
    const int count = s.byte();
    if (s.left < 2 * static_cast<std::size_t>(count) + 3) return refuse(d, "scan header too short");
    bool named[3] = {false, false, false};
    for (int i = 0; i < count; ++i) {
        const int identifier = s.byte();
        const int t = s.byte();
        if ((t >> 4) > 3 || (t & 15) > 3) return refuse(d, "Huffman table identifier above 3");
        for (int c = 0; c < d.componentCount; ++c) {
            if (d.components[c].identifier != identifier) continue;
            d.components[c].dcTable = t >> 4;
            d.components[c].acTable = t & 15;
            named[c] = true;
        }
    }
    d.spectralStart = s.byte();
    d.spectralEnd = s.byte();
    const int approx = s.byte();
    d.approxHigh = approx >> 4;
    d.approxLow = approx & 15;
    for (int c = 0; c < d.componentCount; ++c) {
        const JpegComponent& component = d.components[c];
        // Files that spread the components over several scans are not supported.
        if (!named[c]) return refuse(d, "the scan does not hold every component");
        if (!d.dcTables[component.dcTable].defined || !d.acTables[component.acTable].defined)
            return refuse(d, "the scan names a Huffman table that was never defined");
        if (!d.quantDefined[component.quantTable])
            return refuse(d, "a component names a quantisation table that was never defined");
    }
    return true;
}

// The marker segments up to the first scan header.
bool readJpegHeaders(JpegDecoder& d) {
    for (;;) {
        if (d.position >= d.size) return refuse(d, "the file ends before the image data");
        if (d.data[d.position++] != 0xFF) return refuse(d, "a marker was expected");
        // 0xFF bytes before a marker are fill.
        while (d.position < d.size && d.data[d.position] == 0xFF) ++d.position;
        if (d.position >= d.size) return refuse(d, "the file ends before the image data");
        const int marker = d.data[d.position++];
        if (marker == 0xD8) continue;
        if (marker == 0xD9) return refuse(d, "end of image before any image data");
        if (d.size - d.position < 2) return refuse(d, "the file ends before the image data");
        const std::size_t length = static_cast<std::size_t>(d.data[d.position]) << 8 | d.data[d.position + 1];
        d.position += 2;
        if (length < 2) return refuse(d, "marker segment length below 2");
        SegmentReader segment{d.data + d.position, length - 2};
        if (segment.left > d.size - d.position) return refuse(d, "a marker segment runs past the end of the file");
        const std::size_t segmentEnd = d.position + segment.left;

        switch (marker) {
        case 0xC0:
            if (!readFrameHeader(d, segment)) return false;
            break;
        case 0xC1: case 0xC2: case 0xC3: case 0xC5: case 0xC6: case 0xC7:
        case 0xC8: case 0xC9: case 0xCA: case 0xCB: case 0xCD: case 0xCE: case 0xCF:
            return refuse(d, "only baseline Huffman-coded frames are supported (this one is extended, "
                             "progressive, lossless, hierarchical or arithmetic-coded)");
        case 0xC4:
            if (!readHuffmanTables(d, segment)) return false;
            break;
        case 0xDB:
            if (!readQuantTables(d, segment)) return false;
            break;
        case 0xDD:
            if (segment.left < 2) return refuse(d, "restart interval segment too short");
            d.restartInterval = segment.word();
            break;
        case 0xDA:
            if (!readScanHeader(d, segment)) return false;
            d.scanData = segmentEnd;
            return true;
        default:
            break;  // APPn, COM and anything else: skipped by length
        }
        d.position = segmentEnd;
    }
}

// One component as the scan uses it.
struct ScanComponent {
    int blocksAcross, blocksDown;  // blocks per MCU
    int stepX, stepY;              // pixels per sample
    std::uint8_t* samples;         // this component's samples of the current MCU row
    std::ptrdiff_t stride;
    const HuffmanTable* dc;
    const HuffmanTable* ac;
    JpegDequantTable dequant;
    std::int32_t predictor;
};

// Decodes one block into `block` (natural order, dequantised and prescaled), which must hold
// zeros on entry; the natural indices of the non-zero AC entries go to `written`. False on a code
// that matches nothing, a zero run past the last coefficient, or bits read past the data.
bool decodeBlock(JpegBitReader& reader, ScanComponent& c, float block[64], std::uint8_t written[63], int& writtenCount) {
    // A copy that lives in registers while the block is decoded.
    JpegBitReader bits = reader;
    writtenCount = 0;
    bits.fill();
    int symbol = decodeHuffmanSymbol(bits, *c.dc);
    if (symbol < 0) {
        reader = bits;
        return false;
    }
    const int size = symbol & 15;
    const int diff = extendValue(size, bits.take(size));
    // Wraps instead of overflowing on a damaged stream.
    c.predictor = static_cast<std::int32_t>(static_cast<std::uint32_t>(c.predictor) + static_cast<std::uint32_t>(diff));

    const JpegDequantTable& q = c.dequant;
    block[0] = q.quant[0] * static_cast<float>(c.predictor) * q.column[0] * q.row[0];
    bool ok = true;
    for (int k = 1; k < 64;) {
        bits.fill();
        int value;
        const std::int32_t both = c.ac->acLookahead[bits.peek(jpegLookaheadBits)];
        if (both != 0) {
            k += (both >> 4) & 15;
            bits.skip(both & 15);
            value = both >> 8;
        } else {
            symbol = decodeHuffmanSymbol(bits, *c.ac);
            if (symbol < 0) {
                ok = false;
                break;
            }
            if (symbol == 0) break;
            k += symbol >> 4;
            const int valueBits = symbol & 15;
            value = extendValue(valueBits, bits.take(valueBits));
            if (value == 0) {  // a run of 16 zeros (or a zero written out)
                if (k > 63) {
                    ok = false;
                    break;
                }
                ++k;
                continue;
            }
        }
        if (k > 63) {
            ok = false;
            break;
        }
        const int natural = jpegNaturalOrder[k];
        block[natural] = q.quant[k] * static_cast<float>(value) * q.column[k] * q.row[k];
        written[writtenCount++] = static_cast<std::uint8_t>(natural);
        ++k;
    }
    reader = bits;
    return ok && !reader.overran();
}

void fillGrey(std::uint8_t* out, std::ptrdiff_t stride) {
    for (int r = 0; r < 8; ++r) std::memset(out + r * stride, 128, 8);
}

void decodeJpegScan(JpegDecoder& d, unsigned char* pixels) {
    ScanComponent scan[3];
    const JpegComponent& first = d.components[0];
    // One component is a non-interleaved scan: one block per MCU whatever its sampling factors.
    const int mcuAcross = d.componentCount == 1 ? 1 : first.horizontal;
    const int mcuDown = d.componentCount == 1 ? 1 : first.vertical;
    const int mcuColumns = (d.width + 8 * mcuAcross - 1) / (8 * mcuAcross);
    const int mcuRows = (d.height + 8 * mcuDown - 1) / (8 * mcuDown);

    std::size_t planeBytes = 0;
    std::size_t offsets[3];
    for (int c = 0; c < d.componentCount; ++c) {
        const JpegComponent& component = d.components[c];
        ScanComponent& s = scan[c];
        s.blocksAcross = d.componentCount == 1 ? 1 : component.horizontal;
        s.blocksDown = d.componentCount == 1 ? 1 : component.vertical;
        s.stepX = mcuAcross / s.blocksAcross;
        s.stepY = mcuDown / s.blocksDown;
        s.stride = static_cast<std::ptrdiff_t>(mcuColumns) * 8 * s.blocksAcross;
        s.dc = &d.dcTables[component.dcTable];
        s.ac = &d.acTables[component.acTable];
        buildDequantTable(s.dequant, d.quantTables[component.quantTable]);
        s.predictor = 0;
        offsets[c] = planeBytes;
        planeBytes += static_cast<std::size_t>(s.stride) * 8 * s.blocksDown;
    }
    std::vector<std::uint8_t> planes(planeBytes);
    for (int c = 0; c < d.componentCount; ++c) scan[c].samples = planes.data() + offsets[c];

    JpegByteSource source(d.data + d.scanData, d.data + d.size);
    JpegBitReader reader(source);
    bool live = true;    // the current restart interval still decodes
    bool ended = false;  // nothing more can be decoded: the rest stays grey
    bool reported = false;
    auto damaged = [&]() {
        live = false;
        if (d.restartInterval <= 0) ended = true;
        if (!reported) reportDataProblem("JPEG file %s: corrupt or incomplete image data, parts of the picture are grey",
                                           problemPath(d.name).c_str());
        reported = true;
    };

    JpegChromaRow chroma;
    alignas(16) float block[64] = {};
    std::uint8_t written[63];
    long mcuIndex = 0;
    const std::size_t rowBytes = static_cast<std::size_t>(d.width) * 4;
    for (int mcuRow = 0; mcuRow < mcuRows; ++mcuRow) {
        for (int mcuColumn = 0; mcuColumn < mcuColumns; ++mcuColumn, ++mcuIndex) {
            if (d.restartInterval > 0 && mcuIndex > 0 && mcuIndex % d.restartInterval == 0 && !ended) {
                if (reader.restart()) {
                    live = true;
                    for (int c = 0; c < d.componentCount; ++c) scan[c].predictor = 0;
                } else {
                    damaged();
                    ended = true;
                }
            }
            for (int c = 0; c < d.componentCount; ++c) {
                ScanComponent& s = scan[c];
                for (int by = 0; by < s.blocksDown; ++by) {
                    for (int bx = 0; bx < s.blocksAcross; ++bx) {
                        std::uint8_t* out = s.samples + by * 8 * s.stride + (mcuColumn * s.blocksAcross + bx) * 8;
                        int writtenCount = 0;
                        if (live && !decodeBlock(reader, s, block, written, writtenCount)) damaged();
                        if (live) transformAndStoreBlock(block, writtenCount == 0, out, s.stride);
                        else fillGrey(out, s.stride);
                        // Back to all zeros for the next block.
                        block[0] = 0.0f;
                        for (int i = 0; i < writtenCount; ++i) block[written[i]] = 0.0f;
                    }
                }
            }
        }

        const int top = mcuRow * 8 * mcuDown;
        const int rows = d.height - top < 8 * mcuDown ? d.height - top : 8 * mcuDown;
        int chromaRows[2] = {-1, -1};
        for (int r = 0; r < rows; ++r) {
            unsigned char* out = pixels + static_cast<std::size_t>(top + r) * rowBytes;
            const std::uint8_t* luma = scan[0].samples + r * scan[0].stride;
            if (d.componentCount == 1) {
                convertGreyRow(luma, d.width, out);
                continue;
            }
            // Luma rows that share their chroma rows reuse the chroma part of the colour step.
            const int cbRow = r / scan[1].stepY, crRow = r / scan[2].stepY;
            if (cbRow != chromaRows[0] || crRow != chromaRows[1]) {
                chroma.set(scan[1].samples + cbRow * scan[1].stride, scan[1].stepX,
                           scan[2].samples + crRow * scan[2].stride, scan[2].stepX, d.width);
                chromaRows[0] = cbRow;
                chromaRows[1] = crRow;
            }
            chroma.convert(luma, out);
        }
    }
}

}  // namespace

bool decodeJpegMemory(const unsigned char* data, std::size_t size, const char* name,
                      std::vector<unsigned char>& pixels, int& width, int& height,
                      std::size_t maxPixelBytes) {
    // About 40 KB of tables: kept off the stack.
    std::unique_ptr<JpegDecoder> decoder(new (std::nothrow) JpegDecoder{});
    if (!decoder) return false;
    JpegDecoder& d = *decoder;
    d.name = name != nullptr ? name : "";
    d.data = data;
    d.size = data != nullptr ? size : 0;
    d.maxPixelBytes = maxPixelBytes;
    if (!readJpegHeaders(d)) return false;

    const std::size_t bytes = static_cast<std::size_t>(d.width) * static_cast<std::size_t>(d.height) * 4;
    try {
        pixels.resize(bytes);
    } catch (const std::bad_alloc&) {
        return refuse(d, "not enough memory for the pixels");
    }
    decodeJpegScan(d, pixels.data());
    width = d.width;
    height = d.height;
    return true;
}

bool decodeJpegFile(const char* path, std::vector<unsigned char>& pixels, int& width, int& height) {
    std::FILE* file = openDataFile(path, "rb");
    if (file == nullptr) {
        reportMissingFile(path);
        return false;
    }
    std::vector<unsigned char> data;
    unsigned char chunk[65536];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) data.insert(data.end(), chunk, chunk + n);
    std::fclose(file);
    return decodeJpegMemory(data.data(), data.size(), path, pixels, width, height);
}
