// Procedural textures. Images that the show repeats across a surface tile seamlessly: their noise
// repeats after a whole number of lattice cells across the image.
#include "tools/datagen/images.h"

#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include "tools/common/png_writer.h"
#include "tools/datagen/noise.h"

namespace {

constexpr float pi = 3.14159265358979f;

unsigned char toByte(float v) { return static_cast<unsigned char>(std::lround(clamp01(v) * 255.0f)); }

struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf escape;
};

void onJpegError(j_common_ptr info) {
    char message[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, message);
    std::fprintf(stderr, "datagen: JPEG encoder: %s\n", message);
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->escape, 1);
}

bool writeBytes(const std::string& path, const unsigned char* data, unsigned long size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "datagen: cannot write %s\n", path.c_str());
        return false;
    }
    const bool written = std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "datagen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

// Pixel centre in [0, 1).
float unitX(const Image& image, int x) { return (static_cast<float>(x) + 0.5f) / static_cast<float>(image.width); }
float unitY(const Image& image, int y) { return (static_cast<float>(y) + 0.5f) / static_cast<float>(image.height); }

// A tangent-space normal map of a height field that wraps at the image's edges: red along +x,
// green towards the top of the image, blue out of the surface.
Image normalsFromHeights(const std::vector<float>& heights, int width, int height, float strength) {
    Image image(width, height, 3);
    auto at = [&](int x, int y) {
        x = (x + width) % width;
        y = (y + height) % height;
        return heights[static_cast<std::size_t>(y) * width + x];
    };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float dx = (at(x + 1, y) - at(x - 1, y)) * 0.5f * strength;
            const float dRow = (at(x, y + 1) - at(x, y - 1)) * 0.5f * strength;
            // Rows grow downwards, the image's up is -row.
            float nx = -dx, ny = dRow, nz = 1.0f;
            const float l = std::sqrt(nx * nx + ny * ny + nz * nz);
            nx /= l;
            ny /= l;
            nz /= l;
            image.set(x, y, nx * 0.5f + 0.5f, ny * 0.5f + 0.5f, nz * 0.5f + 0.5f);
        }
    }
    return image;
}

// Sand: ripples across the image (the length of the valley), bent by a slow noise, with grain.
float sandHeight(int x, int y) {
    const float u = (static_cast<float>(x) + 0.5f) / 512.0f, v = (static_cast<float>(y) + 0.5f) / 512.0f;
    const float warp = fractalNoise(u * 4.0f, v * 4.0f, 4, 31, 4, 4);
    const float ripple = std::sin(2.0f * pi * (8.0f * v + 2.0f * u + 1.5f * warp));
    const float grain = valueNoise(static_cast<float>(x) * 0.5f, static_cast<float>(y) * 0.5f, 32, 256, 256);
    const float swell = fractalNoise(u * 2.0f, v * 2.0f, 3, 33, 2, 2);
    return 2.2f * (0.5f + 0.5f * ripple) * (0.4f + warp) + 0.6f * grain + 3.0f * swell;
}

// Hull panels: grooves between panels, a rivet in each corner, a worn surface.
float hullHeight(int x, int y, int size) {
    const int panelX = size / 8, panelY = size / 6 + 1;
    const int gx = x % panelX, gy = y % panelY;
    const float edge =
        std::fmin(static_cast<float>(std::min(gx, panelX - gx)), static_cast<float>(std::min(gy, panelY - gy)));
    float h = smoothStep(0.0f, 3.0f, edge);
    const float rx = static_cast<float>(std::min(gx, panelX - gx)) - 6.0f;
    const float ry = static_cast<float>(std::min(gy, panelY - gy)) - 6.0f;
    const float rivet = std::sqrt(rx * rx + ry * ry);
    h += 0.8f * (1.0f - smoothStep(1.0f, 2.6f, rivet));
    h += 0.15f * valueNoise(static_cast<float>(x) * 0.25f, static_cast<float>(y) * 0.25f, 41, size / 4, 0);
    return h;
}

}  // namespace

Image::Image(int w, int h, int c) : width(w), height(h), channels(c), pixels(static_cast<std::size_t>(w) * h * c, 0) {}

void Image::set(int x, int y, float r, float g, float b, float a) {
    unsigned char* p = &pixels[(static_cast<std::size_t>(y) * width + x) * channels];
    const float values[4] = {r, g, b, a};
    for (int c = 0; c < channels; ++c) p[c] = toByte(values[c]);
}

bool writeJpeg(const std::string& path, const Image& image, const JpegStorage& layout) {
    const bool grey = layout.chroma == Chroma::none;
    if (image.channels != (grey ? 1 : 3)) {
        std::fprintf(stderr, "datagen: %s: %d channels do not fit the JPEG layout\n", path.c_str(), image.channels);
        return false;
    }
    jpeg_compress_struct info;
    JpegErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = onJpegError;
    unsigned char* encoded = nullptr;
    unsigned long size = 0;
    if (setjmp(errors.escape)) {
        jpeg_destroy_compress(&info);
        std::free(encoded);
        std::fprintf(stderr, "datagen: cannot encode %s\n", path.c_str());
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &encoded, &size);
    info.image_width = static_cast<JDIMENSION>(image.width);
    info.image_height = static_cast<JDIMENSION>(image.height);
    info.input_components = image.channels;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, layout.quality, TRUE);
    if (!grey) {
        const int luma = layout.chroma == Chroma::s420 ? 2 : 1;
        info.comp_info[0].h_samp_factor = luma;
        info.comp_info[0].v_samp_factor = luma;
        for (int c = 1; c < 3; ++c) {
            info.comp_info[c].h_samp_factor = 1;
            info.comp_info[c].v_samp_factor = 1;
        }
    }
    // The show's decoder realigns only at the start of MCU rows.
    if (layout.restartEveryRow) info.restart_in_rows = 1;
    jpeg_start_compress(&info, TRUE);
    const std::size_t stride = static_cast<std::size_t>(image.width) * image.channels;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&image.pixels[info.next_scanline * stride]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const bool written = writeBytes(path, encoded, size);
    std::free(encoded);
    return written;
}

bool writePng(const std::string& path, const Image& image) {
    return writePngFile(path.c_str(), image.pixels.data(), image.width, image.height, image.channels, false);
}

Image makeCloudLayers() {
    Image image(512, 512, 1);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const float u = unitX(image, x) * 4.0f, v = unitY(image, y) * 4.0f;
            const float cloud = smoothStep(0.42f, 0.72f, fractalNoise(u, v, 6, 11, 4, 4));
            const float detail = fractalNoise(u * 4.0f, v * 4.0f, 3, 12, 16, 16);
            image.set(x, y, cloud * (0.45f + 0.55f * detail) * 0.9f);
        }
    }
    return image;
}

Image makeCloudSheets() {
    Image image(512, 512, 3);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const float u = unitX(image, x), v = unitY(image, y);
            const float du = u - 0.5f, dv = v - 0.5f;
            // Puffs with gaps between them, so that a stack of turned and scrolled haze sheets
            // still lets light through; a rounded window fades them out before the border, so
            // neither a sheet's edge nor a tiling seam ever shows.
            const float r = std::sqrt(std::sqrt(du * du * du * du + dv * dv * dv * dv));
            const float window = 1.0f - smoothStep(0.3f, 0.49f, r);
            const float billow = fractalNoise(u * 5.0f, v * 5.0f, 5, 21, 5, 5);
            const float cloud = smoothStep(0.45f, 0.7f, billow) * window;
            const float detail = fractalNoise(u * 16.0f, v * 16.0f, 3, 22, 16, 16);
            // Drawn to darken by one minus this colour: more red than blue leaves a blue-grey cloud.
            const float c = cloud * (0.6f + 0.4f * detail) * 0.6f;
            image.set(x, y, c * 0.95f, c * 0.88f, c * 0.76f);
        }
    }
    return image;
}

Image makeParticle() {
    Image image(256, 256, 3);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const float dx = unitX(image, x) * 2.0f - 1.0f, dy = unitY(image, y) * 2.0f - 1.0f;
            const float r = std::sqrt(dx * dx + dy * dy);
            // Black well inside the square, so the sprites show no edges.
            const float dot = r < 0.85f ? std::pow(1.0f - r / 0.85f, 2.2f) : 0.0f;
            image.set(x, y, dot, dot, dot);
        }
    }
    return image;
}

Image makeFlare() {
    Image image(256, 256, 3);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const float dx = unitX(image, x) * 2.0f - 1.0f, dy = unitY(image, y) * 2.0f - 1.0f;
            const float r = std::sqrt(dx * dx + dy * dy);
            const float fade = 1.0f - smoothStep(0.8f, 0.98f, r);
            const float glow = std::exp(-r * r * 14.0f);
            const float rays = std::exp(-std::fabs(dx) * 40.0f) * std::exp(-std::fabs(dy) * 2.5f) +
                               std::exp(-std::fabs(dy) * 40.0f) * std::exp(-std::fabs(dx) * 2.5f);
            const float ring = std::exp(-(r - 0.62f) * (r - 0.62f) * 900.0f) * 0.35f;
            const float w = (glow + 0.6f * rays) * fade;
            image.set(x, y, w + ring * 0.5f, w * 0.9f + ring * 0.8f, w * 0.75f + ring * fade);
        }
    }
    return image;
}

Image makeNoise() {
    Image image(512, 512, 4);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const float grain = valueNoise(static_cast<float>(x) * 0.5f, static_cast<float>(y) * 0.5f, 51, 256, 256);
            const float streak = valueNoise(static_cast<float>(x) / 64.0f, static_cast<float>(y) / 4.0f, 52, 8, 128);
            const float grey = 0.35f + 0.65f * grain;
            const float alpha = 0.3f + 1.1f * (streak - 0.5f) + 0.5f * (grain - 0.5f);
            image.set(x, y, grey * 0.9f, grey * 0.95f, grey, alpha);
        }
    }
    return image;
}

Image makeDesertSand() {
    Image image(512, 512, 3);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const float h = sandHeight(x, y);
            const float slope = sandHeight(x, y + 1) - sandHeight(x, y - 1);
            const float tone = 0.86f + 0.04f * h / 5.0f - 0.05f * slope;
            const float grain = valueNoise(static_cast<float>(x) * 0.5f, static_cast<float>(y) * 0.5f, 34, 256, 256);
            const float pale = fractalNoise(unitX(image, x) * 3.0f, unitY(image, y) * 3.0f, 3, 35, 3, 3);
            const float t = tone * (0.92f + 0.16f * grain);
            image.set(x, y, t * (0.9f + 0.08f * pale), t * (0.71f + 0.08f * pale), t * (0.5f + 0.1f * pale));
        }
    }
    return image;
}

Image makeDesertSandNormals() {
    std::vector<float> heights(512 * 512);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x) heights[static_cast<std::size_t>(y) * 512 + x] = sandHeight(x, y);
    return normalsFromHeights(heights, 512, 512, 0.5f);
}

Image makeHull() {
    Image image(512, 512, 3);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const float v = unitY(image, y);
            const float h = hullHeight(x, y, 512);
            const float wear = fractalNoise(unitX(image, x) * 8.0f, v * 8.0f, 4, 42, 8, 0);
            float r = 0.16f, g = 0.36f, b = 0.42f;
            // A copper band around the waist.
            if (v > 0.44f && v < 0.52f) {
                r = 0.74f;
                g = 0.46f;
                b = 0.26f;
            }
            // The profile starts at the tail, so the nose is the far end of t.
            if (v > 0.88f) {
                r = 0.82f;
                g = 0.8f;
                b = 0.72f;
            }
            const float shade = (0.55f + 0.45f * smoothStep(0.0f, 1.0f, h)) * (0.8f + 0.4f * wear);
            image.set(x, y, r * shade, g * shade, b * shade);
        }
    }
    return image;
}

Image makeHullNormals() {
    std::vector<float> heights(512 * 512);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x) heights[static_cast<std::size_t>(y) * 512 + x] = hullHeight(x, y, 512);
    return normalsFromHeights(heights, 512, 512, 1.5f);
}

Image makeMarble() {
    Image image(512, 256, 3);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const float u = unitX(image, x), v = unitY(image, y);
            const float turbulence = fractalNoise(u * 6.0f, v * 3.0f, 5, 61, 6, 0);
            const float band = std::fabs(std::sin(2.0f * pi * (2.0f * u + 0.7f * v) + 7.0f * turbulence));
            const float vein = 1.0f - smoothStep(0.0f, 0.16f, band);
            const float cloud = fractalNoise(u * 12.0f, v * 6.0f, 3, 62, 12, 0);
            const float base = 0.82f + 0.18f * cloud;
            image.set(x, y, base * 0.93f - vein * 0.45f, base * 0.88f - vein * 0.72f, base * 0.8f - vein * 0.7f);
        }
    }
    return image;
}

Image makeWormSkin() {
    Image image(512, 512, 3);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const float u = unitX(image, x) * 8.0f, v = unitY(image, y) * 8.0f;
            const CellDistances cell = cellNoise(u, v, 71, 8, 8);
            const float ridge = smoothStep(0.0f, 0.1f, cell.second - cell.nearest);
            const float dome = 1.0f - smoothStep(0.0f, 0.7f, cell.nearest);
            const float speckle = valueNoise(static_cast<float>(x) * 0.7f, static_cast<float>(y) * 0.7f, 72);
            const float s = (0.35f + 0.65f * ridge) * (0.85f + 0.3f * speckle);
            image.set(x, y, (0.3f + 0.3f * dome) * s, (0.16f + 0.22f * dome) * s, (0.2f + 0.12f * dome) * s);
        }
    }
    return image;
}

Image makeCannonMetal() {
    Image image(512, 512, 3);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const float u = unitX(image, x), v = unitY(image, y);
            const float brushed = valueNoise(static_cast<float>(x) / 48.0f, static_cast<float>(y) / 1.5f, 81);
            const float seam = (x % 128 < 2 || y % 128 < 2) ? 0.6f : 1.0f;
            const float rust = smoothStep(0.62f, 0.78f, fractalNoise(u * 6.0f, v * 6.0f, 5, 82));
            const float s = (0.82f + 0.3f * brushed) * seam;
            const float r = mixf(0.34f, 0.5f, rust), g = mixf(0.35f, 0.28f, rust), b = mixf(0.38f, 0.18f, rust);
            image.set(x, y, r * s, g * s, b * s);
        }
    }
    return image;
}

Image makeFlameNoise() {
    Image image(256, 512, 3);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            // Stretched along the flame: more cells across than along.
            const float n = fractalNoise(unitX(image, x) * 8.0f, unitY(image, y) * 4.0f, 5, 91, 8, 4);
            const float f = smoothStep(0.25f, 0.8f, n);
            image.set(x, y, f, f * 0.8f, f * 0.55f);
        }
    }
    return image;
}

Image makeRidges() {
    Image image(1024, 256, 4);
    for (int x = 0; x < image.width; ++x) {
        const float u = unitX(image, x);
        // Row of each range's crest: the far range higher and paler, the near one darker.
        const float far = 30.0f + 90.0f * (1.0f - fractalNoise(u * 6.0f, 3.3f, 6, 101, 6, 0));
        const float near = 95.0f + 70.0f * (1.0f - fractalNoise(u * 9.0f, 7.7f, 6, 102, 9, 0));
        for (int y = 0; y < image.height; ++y) {
            const float row = static_cast<float>(y) + 0.5f;
            const float detail = fractalNoise(u * 64.0f, row / 16.0f, 3, 103, 64, 0);
            const float depth = clamp01((row - 30.0f) / 200.0f);
            const float inNear = smoothStep(near - 1.0f, near + 1.0f, row);
            const float inFar = smoothStep(far - 1.0f, far + 1.0f, row);
            const float s = 0.9f + 0.2f * detail;
            float r = mixf(0.56f, 0.78f, depth) * s, g = mixf(0.55f, 0.7f, depth) * s,
                  b = mixf(0.66f, 0.64f, depth) * s;
            const float nearShade = 0.78f;
            r = mixf(r, r * nearShade + 0.02f, inNear);
            g = mixf(g, g * nearShade, inNear);
            b = mixf(b, b * nearShade - 0.02f, inNear);
            image.set(x, y, r, g, b, std::fmax(inNear, inFar));
        }
    }
    return image;
}

Image makeOverlay() {
    Image image(1024, 576, 4);
    const float inset = 18.0f;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const float nx = unitX(image, x) * 2.0f - 1.0f, ny = unitY(image, y) * 2.0f - 1.0f;
            const float vignette = 0.6f * smoothStep(0.6f, 1.45f, std::sqrt(nx * nx + ny * ny));
            const float fx = static_cast<float>(x) + 0.5f, fy = static_cast<float>(y) + 0.5f;
            const float edge = std::fmin(std::fmin(fx, static_cast<float>(image.width) - fx),
                                         std::fmin(fy, static_cast<float>(image.height) - fy));
            const float line = 0.28f * clamp01(1.5f - std::fabs(edge - inset));
            const float alpha = line + vignette * (1.0f - line);
            const float light = alpha > 0.0f ? line / alpha : 0.0f;
            image.set(x, y, light, light * 0.94f, light * 0.82f, alpha);
        }
    }
    return image;
}

namespace {

// The world the cannon reflects: the desert sky with its sun above, sand below.
void environment(float dx, float dy, float dz, float& r, float& g, float& b) {
    const float l = std::sqrt(dx * dx + dy * dy + dz * dz);
    dx /= l;
    dy /= l;
    dz /= l;
    if (dy >= 0.0f) {
        const float up = std::sqrt(dy);
        r = mixf(0.86f, 0.2f, up);
        g = mixf(0.74f, 0.36f, up);
        b = mixf(0.58f, 0.66f, up);
        const float sl = std::sqrt(0.16f + 1.0f + 0.04f);
        const float sun = std::pow(std::fmax(0.0f, (dx * 0.4f + dy + dz * 0.2f) / sl), 48.0f);
        const float cloud = smoothStep(
            0.55f, 0.8f, fractalNoise(dx / (dy + 0.3f) * 3.0f + 20.0f, dz / (dy + 0.3f) * 3.0f + 20.0f, 4, 111));
        r = mixf(r, 1.0f, cloud * 0.6f) + sun;
        g = mixf(g, 0.97f, cloud * 0.6f) + sun * 0.9f;
        b = mixf(b, 0.92f, cloud * 0.6f) + sun * 0.7f;
    } else {
        const float down = std::sqrt(-dy);
        const float dune = fractalNoise(dx / (-dy + 0.05f) * 2.0f + 50.0f, dz / (-dy + 0.05f) * 2.0f + 50.0f, 4, 112);
        const float s = 0.75f + 0.35f * dune;
        r = mixf(0.84f, 0.72f * s, smoothStep(0.0f, 0.3f, down));
        g = mixf(0.72f, 0.56f * s, smoothStep(0.0f, 0.3f, down));
        b = mixf(0.56f, 0.4f * s, smoothStep(0.0f, 0.3f, down));
    }
}

}  // namespace

Image makeEnvironmentFace(int face) {
    Image image(256, 256, 3);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            // GL's cube-map face axes; t grows with the row, row 0 being the first uploaded.
            const float s = unitX(image, x) * 2.0f - 1.0f, t = unitY(image, y) * 2.0f - 1.0f;
            float dx = 0, dy = 0, dz = 0;
            switch (face) {
                case 0:
                    dx = 1.0f;
                    dy = -t;
                    dz = -s;
                    break;
                case 1:
                    dx = -1.0f;
                    dy = -t;
                    dz = s;
                    break;
                case 2:
                    dx = s;
                    dy = 1.0f;
                    dz = t;
                    break;
                case 3:
                    dx = s;
                    dy = -1.0f;
                    dz = -t;
                    break;
                case 4:
                    dx = s;
                    dy = -t;
                    dz = 1.0f;
                    break;
                default:
                    dx = -s;
                    dy = -t;
                    dz = -1.0f;
                    break;
            }
            float r, g, b;
            environment(dx, dy, dz, r, g, b);
            image.set(x, y, r, g, b);
        }
    }
    return image;
}
