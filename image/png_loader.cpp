// PNG decoding through libpng (1.6 here; the calls are those of every series since 1.2).
#include "image/png_loader.h"

#include <png.h>

#include <cstdio>

#include "base/data_file.h"
#include "base/print_line.h"
#include "base/problem_detail.h"

namespace {

// One read in progress. Only plain data lives across libpng's setjmp.
struct PngRead {
    std::FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    png_infop endInfo = nullptr;
    char error[256] = {};
};

void pngError(png_structp png, png_const_charp message) {
    auto* read = static_cast<PngRead*>(png_get_error_ptr(png));
    formatText(read->error, sizeof read->error, "%s", message);
    png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

// Reads the header and asks libpng for 8-bit RGB or RGBA rows.
bool readHeader(PngRead& read, int& width, int& height, int& components, std::size_t& rowBytes) {
    if (setjmp(png_jmpbuf(read.png))) return false;
    png_init_io(read.png, read.file);
    png_read_info(read.png, read.info);
    png_uint_32 w = 0, h = 0;
    int bitDepth = 0, colourType = 0, interlace = 0;
    png_get_IHDR(read.png, read.info, &w, &h, &bitDepth, &colourType, &interlace, nullptr, nullptr);

    const bool plain = bitDepth == 8 && (colourType == PNG_COLOR_TYPE_RGB || colourType == PNG_COLOR_TYPE_RGBA);
    if (!plain) {
        if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(read.png);
        if (png_get_valid(read.png, read.info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(read.png);
        if ((colourType & PNG_COLOR_MASK_COLOR) == 0) {
            if (bitDepth < 8) png_set_expand_gray_1_2_4_to_8(read.png);
            png_set_gray_to_rgb(read.png);
        }
        if (bitDepth == 16) png_set_strip_16(read.png);
    }
    if (interlace != PNG_INTERLACE_NONE) png_set_interlace_handling(read.png);
    png_read_update_info(read.png, read.info);

    width = static_cast<int>(w);
    height = static_cast<int>(h);
    components = png_get_channels(read.png, read.info);
    rowBytes = png_get_rowbytes(read.png, read.info);
    return true;
}

bool readRows(PngRead& read, png_bytepp rows) {
    if (setjmp(png_jmpbuf(read.png))) return false;
    png_read_image(read.png, rows);
    png_read_end(read.png, read.endInfo);
    return true;
}

void finish(PngRead& read) {
    if (read.png != nullptr)
        png_destroy_read_struct(&read.png, read.info != nullptr ? &read.info : nullptr,
                                read.endInfo != nullptr ? &read.endInfo : nullptr);
    if (read.file != nullptr) std::fclose(read.file);
}

}  // namespace

bool loadPngImage(const char* path, std::vector<unsigned char>& pixels, int& width, int& height,
                  int& components) {
    PngRead read;
    read.file = openDataFile(path, "rb");
    if (read.file == nullptr) {
        reportMissingFile(path);
        return false;
    }
    read.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &read, pngError, pngWarning);
    if (read.png == nullptr) {
        printLine("Error while creating png struct!\n");
        finish(read);
        return false;
    }
    // Only IHDR, PLTE, tRNS and IDAT shape the pixels; every other chunk is skipped unread. libpng
    // reserves a chunk's whole declared length before reading it, so a 42-byte file declaring a
    // 2 GB text chunk made it allocate 2 GB.
    png_set_keep_unknown_chunks(read.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    read.info = png_create_info_struct(read.png);
    read.endInfo = png_create_info_struct(read.png);
    if (read.info == nullptr || read.endInfo == nullptr) {
        finish(read);
        return false;
    }

    int w = 0, h = 0, c = 0;
    std::size_t rowBytes = 0;
    bool ok = readHeader(read, w, h, c, rowBytes);
    if (ok && ((c != 3 && c != 4) || rowBytes != static_cast<std::size_t>(w) * c)) {
        formatText(read.error, sizeof read.error, "unsupported layout (%d channels)", c);
        ok = false;
    }
    if (ok && static_cast<unsigned long long>(rowBytes) * h > largestImageBytes) {
        formatText(read.error, sizeof read.error, "%dx%d is too large", w, h);
        ok = false;
    }
    std::vector<unsigned char> image;
    if (ok) {
        image.resize(rowBytes * h);
        std::vector<png_bytep> rows(static_cast<std::size_t>(h));
        for (int y = 0; y < h; ++y) rows[static_cast<std::size_t>(y)] = image.data() + rowBytes * y;
        ok = readRows(read, rows.data());
    }
    finish(read);
    if (!ok) {
        reportDataProblem("Cannot read PNG %s: %s", problemPath(path).c_str(), read.error);
        return false;
    }
    pixels = std::move(image);
    width = w;
    height = h;
    components = c;
    return true;
}
