// Test pictures, libjpeg-turbo encoding and decoding, marker-segment surgery, hand-made files.
#include "tests/support/jpeg_reference.h"

#include <csetjmp>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace {

// libjpeg-turbo reports errors through a callback that must not return.
struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void onLibjpegError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1); }
void onLibjpegMessage(j_common_ptr) {}

std::uint8_t toSample(double value) {
    return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

// The encoder's working pointers live here, behind an address, so that they survive longjmp.
struct EncodeState {
    jpeg_compress_struct info;
    ErrorTrap trap;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_scan_info scans[3];
};

bool encodeInto(EncodeState& s, const TestPicture& picture, const EncodeOptions& options) {
    s.info.err = jpeg_std_error(&s.trap.manager);
    s.trap.manager.error_exit = onLibjpegError;
    s.trap.manager.output_message = onLibjpegMessage;
    if (setjmp(s.trap.jump) != 0) {
        jpeg_destroy_compress(&s.info);
        return false;
    }
    jpeg_create_compress(&s.info);
    jpeg_mem_dest(&s.info, &s.buffer, &s.size);
    s.info.image_width = static_cast<JDIMENSION>(picture.width);
    s.info.image_height = static_cast<JDIMENSION>(picture.height);
    s.info.input_components = picture.components;
    s.info.in_color_space = picture.components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&s.info);
    jpeg_set_quality(&s.info, options.quality, TRUE);
    if (picture.components == 3) {
        const int h = options.sampling == ChromaSampling::s444 ? 1 : 2;
        const int v = options.sampling == ChromaSampling::s420 ? 2 : 1;
        s.info.comp_info[0].h_samp_factor = h;
        s.info.comp_info[0].v_samp_factor = v;
        for (int c = 1; c < 3; ++c) s.info.comp_info[c].h_samp_factor = s.info.comp_info[c].v_samp_factor = 1;
    } else {
        s.info.comp_info[0].h_samp_factor = s.info.comp_info[0].v_samp_factor = options.greyFactor;
    }
    s.info.restart_in_rows = options.restartRows;
    if (options.restartMcus > 0) s.info.restart_interval = static_cast<unsigned>(options.restartMcus);
    if (options.progressive) jpeg_simple_progression(&s.info);
    s.info.arith_code = options.arithmetic ? TRUE : FALSE;
    if (options.separateScans) {
        for (int c = 0; c < 3; ++c) s.scans[c] = jpeg_scan_info{1, {c, 0, 0, 0}, 0, 63, 0, 0};
        s.info.scan_info = s.scans;
        s.info.num_scans = 3;
    }
    jpeg_start_compress(&s.info, TRUE);
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * picture.components;
    while (s.info.next_scanline < s.info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(picture.samples.data() + s.info.next_scanline * rowBytes);
        jpeg_write_scanlines(&s.info, &row, 1);
    }
    jpeg_finish_compress(&s.info);
    jpeg_destroy_compress(&s.info);
    return true;
}

struct DecodeState {
    jpeg_decompress_struct info;
    ErrorTrap trap;
};

bool decodeInto(DecodeState& s, const Bytes& file, Bytes& rgba, int& width, int& height) {
    s.info.err = jpeg_std_error(&s.trap.manager);
    s.trap.manager.error_exit = onLibjpegError;
    s.trap.manager.output_message = onLibjpegMessage;
    if (setjmp(s.trap.jump) != 0) {
        jpeg_destroy_decompress(&s.info);
        return false;
    }
    jpeg_create_decompress(&s.info);
    jpeg_mem_src(&s.info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&s.info, TRUE);
    s.info.out_color_space = JCS_EXT_RGBA;
    s.info.dct_method = JDCT_FLOAT;
    s.info.do_fancy_upsampling = FALSE;
    jpeg_start_decompress(&s.info);
    width = static_cast<int>(s.info.output_width);
    height = static_cast<int>(s.info.output_height);
    rgba.assign(static_cast<std::size_t>(width) * height * 4, 0);
    while (s.info.output_scanline < s.info.output_height) {
        JSAMPROW row = rgba.data() + static_cast<std::size_t>(s.info.output_scanline) * width * 4;
        jpeg_read_scanlines(&s.info, &row, 1);
    }
    jpeg_finish_decompress(&s.info);
    jpeg_destroy_decompress(&s.info);
    return true;
}

void appendSegment(Bytes& out, std::uint8_t marker, const Bytes& payload) {
    const std::size_t length = payload.size() + 2;
    out.insert(out.end(), {0xFF, marker, static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length)});
    out.insert(out.end(), payload.begin(), payload.end());
}

}  // namespace

TestPicture makePhotoPicture(int width, int height, int components, unsigned seed) {
    TestPicture picture{width, height, components, {}};
    picture.samples.resize(static_cast<std::size_t>(width) * height * components);
    std::uint32_t random = seed * 2654435761u + 12345u;
    const double cx = width * 0.7, cy = height * 0.4, radius = 0.18 * (width < height ? width : height) + 1.0;
    std::size_t i = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double r = 128 + 90 * std::sin(x * 0.021 + y * 0.013) + 30 * std::cos(y * 0.05);
            double g = 120 + 80 * std::sin(x * 0.017 - y * 0.025 + 1.0);
            double b = 100 + 100 * std::cos((x + y) * 0.011);
            if (x >= width * 0.2 && x < width * 0.45 && y >= height * 0.3 && y < height * 0.7) {
                r = 230, g = 40, b = 30;
            }
            if ((x - cx) * (x - cx) + (y - cy) * (y - cy) < radius * radius) r = 20, g = 60, b = 200;
            if (((x - y) % 37 + 37) % 37 < 2) r = g = b = 250;
            random = random * 1664525u + 1013904223u;
            const double noise = static_cast<double>(random >> 24) / 255.0 * 24.0 - 12.0;
            if (components == 1) {
                picture.samples[i++] = toSample(0.299 * r + 0.587 * g + 0.114 * b + noise);
            } else {
                picture.samples[i++] = toSample(r + noise);
                picture.samples[i++] = toSample(g + noise * 0.5);
                picture.samples[i++] = toSample(b - noise);
            }
        }
    }
    return picture;
}

Bytes encodeWithLibjpeg(const TestPicture& picture, const EncodeOptions& options) {
    EncodeState state;
    Bytes file;
    if (encodeInto(state, picture, options)) file.assign(state.buffer, state.buffer + state.size);
    std::free(state.buffer);
    return file;
}

bool decodeWithLibjpeg(const Bytes& file, Bytes& rgba, int& width, int& height) {
    DecodeState state;
    return decodeInto(state, file, rgba, width, height);
}

ChannelDifferences compareRgba(const Bytes& ours, const Bytes& reference, int width, int firstRow, int lastRow) {
    ChannelDifferences result;
    long long sums[4] = {0, 0, 0, 0};
    const std::size_t begin = static_cast<std::size_t>(firstRow) * width * 4;
    const std::size_t end = static_cast<std::size_t>(lastRow) * width * 4;
    for (std::size_t i = begin; i < end && i < ours.size() && i < reference.size(); ++i) {
        const int difference = std::abs(ours[i] - reference[i]);
        sums[i % 4] += difference;
        if (difference > result.largest[i % 4]) result.largest[i % 4] = difference;
    }
    const double pixels = static_cast<double>(end - begin) / 4;
    for (int c = 0; c < 4; ++c) result.mean[c] = pixels > 0 ? sums[c] / pixels : 0.0;
    return result;
}

JpegLayout splitJpeg(const Bytes& file) {
    JpegLayout layout;
    std::size_t at = 2;  // after SOI
    while (at + 4 <= file.size() && file[at] == 0xFF) {
        const std::uint8_t marker = file[at + 1];
        const std::size_t length = static_cast<std::size_t>(file[at + 2]) << 8 | file[at + 3];
        if (length < 2 || at + 2 + length > file.size()) break;
        layout.segments.push_back({marker, Bytes(file.begin() + at + 4, file.begin() + at + 2 + length)});
        at += 2 + length;
        if (marker == 0xDA) break;
    }
    layout.tail.assign(file.begin() + at, file.end());
    return layout;
}

Bytes joinJpeg(const JpegLayout& layout) {
    Bytes out = {0xFF, 0xD8};
    for (const JpegSegment& segment : layout.segments) appendSegment(out, segment.marker, segment.payload);
    out.insert(out.end(), layout.tail.begin(), layout.tail.end());
    return out;
}

std::size_t scanDataOffset(const Bytes& file) {
    const JpegLayout layout = splitJpeg(file);
    return file.size() - layout.tail.size();
}

bool writeBytes(const std::string& path, const Bytes& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

void JpegBitWriter::put(unsigned bits, int count) {
    for (int i = count - 1; i >= 0; --i) {
        accumulator_ = accumulator_ << 1 | ((bits >> i) & 1u);
        if (++count_ == 8) {
            bytes_.push_back(static_cast<std::uint8_t>(accumulator_));
            if (accumulator_ == 0xFF) bytes_.push_back(0x00);
            accumulator_ = 0;
            count_ = 0;
        }
    }
}

void JpegBitWriter::putValue(int value, int category) {
    if (category == 0) return;
    put(static_cast<unsigned>(value >= 0 ? value : value + (1 << category) - 1), category);
}

Bytes JpegBitWriter::finish() {
    while (count_ != 0) put(1, 1);
    Bytes out;
    out.swap(bytes_);
    return out;
}

int magnitudeCategory(int value) {
    int magnitude = std::abs(value), category = 0;
    while (magnitude > 0) {
        magnitude >>= 1;
        ++category;
    }
    return category;
}

Bytes buildHandMadeJpeg(const HandMadeJpeg& jpeg) {
    Bytes out = {0xFF, 0xD8};

    std::vector<std::array<int, 64>> quantTables = jpeg.quantTables;
    if (quantTables.empty()) {
        quantTables.emplace_back();
        quantTables[0].fill(1);
    }
    for (std::size_t t = 0; t < quantTables.size(); ++t) {
        bool words = false;
        for (int q : quantTables[t]) words = words || q > 255;
        Bytes payload = {static_cast<std::uint8_t>((words ? 0x10 : 0x00) | t)};
        for (int q : quantTables[t]) {
            if (words) payload.push_back(static_cast<std::uint8_t>(q >> 8));
            payload.push_back(static_cast<std::uint8_t>(q));
        }
        appendSegment(out, 0xDB, payload);
    }

    Bytes frame = {static_cast<std::uint8_t>(jpeg.precision), static_cast<std::uint8_t>(jpeg.height >> 8), static_cast<std::uint8_t>(jpeg.height),
                   static_cast<std::uint8_t>(jpeg.width >> 8), static_cast<std::uint8_t>(jpeg.width),
                   static_cast<std::uint8_t>(jpeg.components.size())};
    for (const HandMadeComponent& c : jpeg.components)
        frame.insert(frame.end(), {static_cast<std::uint8_t>(c.identifier),
                                   static_cast<std::uint8_t>(c.horizontal << 4 | c.vertical),
                                   static_cast<std::uint8_t>(c.quantTable)});
    appendSegment(out, 0xC0, frame);

    Bytes tables = {0x00};
    for (int n = 1; n <= 16; ++n) tables.push_back(n == 4 ? static_cast<std::uint8_t>(jpeg.dcSymbols) : 0);
    for (int s = 0; s < jpeg.dcSymbols; ++s) tables.push_back(static_cast<std::uint8_t>(s));
    tables.push_back(0x10);
    for (int n = 1; n <= 16; ++n) tables.push_back(n == 8 ? 255 : 0);
    for (int s = 0; s < 255; ++s) tables.push_back(static_cast<std::uint8_t>(s));
    appendSegment(out, 0xC4, tables);

    if (jpeg.restartInterval > 0)
        appendSegment(out, 0xDD, {static_cast<std::uint8_t>(jpeg.restartInterval >> 8),
                                  static_cast<std::uint8_t>(jpeg.restartInterval)});

    Bytes scan = {static_cast<std::uint8_t>(jpeg.components.size())};
    for (const HandMadeComponent& c : jpeg.components) scan.insert(scan.end(), {static_cast<std::uint8_t>(c.identifier), 0x00});
    scan.insert(scan.end(), {0, 63, 0});
    appendSegment(out, 0xDA, scan);

    if (!jpeg.entropyData.empty()) {
        out.insert(out.end(), jpeg.entropyData.begin(), jpeg.entropyData.end());
    } else {
        // Which component each block of an MCU belongs to.
        std::vector<int> mcuComponents;
        if (jpeg.components.size() == 1) {
            mcuComponents.push_back(0);
        } else {
            for (std::size_t c = 0; c < jpeg.components.size(); ++c)
                for (int i = 0; i < jpeg.components[c].horizontal * jpeg.components[c].vertical; ++i)
                    mcuComponents.push_back(static_cast<int>(c));
        }
        std::vector<int> predictors(jpeg.components.size(), 0);
        JpegBitWriter writer;
        int restartNumber = 0;
        for (std::size_t b = 0; b < jpeg.blocks.size(); ++b) {
            const std::size_t mcu = b / mcuComponents.size();
            if (jpeg.restartInterval > 0 && mcu > 0 && b % mcuComponents.size() == 0 &&
                mcu % static_cast<std::size_t>(jpeg.restartInterval) == 0) {
                const Bytes data = writer.finish();
                out.insert(out.end(), data.begin(), data.end());
                out.insert(out.end(), {0xFF, static_cast<std::uint8_t>(0xD0 + (restartNumber++ & 7))});
                for (int& p : predictors) p = 0;
            }
            const std::array<int, 64>& block = jpeg.blocks[b];
            int& predictor = predictors[static_cast<std::size_t>(mcuComponents[b % mcuComponents.size()])];
            const int diff = block[0] - predictor;
            predictor = block[0];
            writer.put(static_cast<unsigned>(magnitudeCategory(diff)), 4);
            writer.putValue(diff, magnitudeCategory(diff));
            int run = 0;
            for (int k = 1; k < 64; ++k) {
                if (block[k] == 0) {
                    ++run;
                    continue;
                }
                for (; run > 15; run -= 16) writer.put(0xF0, 8);
                const int category = magnitudeCategory(block[k]);
                writer.put(static_cast<unsigned>(run << 4 | category), 8);
                writer.putValue(block[k], category);
                run = 0;
            }
            if (run > 0) writer.put(0x00, 8);
        }
        const Bytes data = writer.finish();
        out.insert(out.end(), data.begin(), data.end());
    }
    if (jpeg.writeEndOfImage) out.insert(out.end(), {0xFF, 0xD9});
    return out;
}
