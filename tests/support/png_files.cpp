// Writes PNG test files with libpng.
#include "tests/support/png_files.h"

#include <png.h>

#include <cstdio>

bool writeTestPng(const std::string& path, const PngSpec& spec) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colourType,
                 spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!spec.palette.empty())
        png_set_PLTE(png, info, reinterpret_cast<png_const_colorp>(spec.palette.data()),
                     static_cast<int>(spec.palette.size() / 3));
    if (!spec.paletteAlpha.empty())
        png_set_tRNS(png, info, spec.paletteAlpha.data(), static_cast<int>(spec.paletteAlpha.size()), nullptr);
    png_write_info(png, info);
    const std::size_t stride = spec.rows.size() / static_cast<std::size_t>(spec.height);
    std::vector<png_bytep> rows(static_cast<std::size_t>(spec.height));
    for (int y = 0; y < spec.height; ++y)
        rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(spec.rows.data() + stride * y);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

bool writeTestPng(const std::string& path, int width, int height, int components,
                  const std::vector<unsigned char>& pixels) {
    PngSpec spec;
    spec.width = width;
    spec.height = height;
    spec.colourType = components == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB;
    spec.rows = pixels;
    return writeTestPng(path, spec);
}
