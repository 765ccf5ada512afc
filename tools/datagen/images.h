// Procedural images of the data set and the two file writers: JPEG through libjpeg-turbo's
// compressor (baseline only, in the sampling and restart layouts the show's decoder takes) and
// PNG through the tools' PNG writer.
#pragma once

#include <string>
#include <vector>

struct Image {
    int width = 0;
    int height = 0;
    int channels = 3;                   // 1 grey, 3 RGB, 4 RGBA
    std::vector<unsigned char> pixels;  // rows top first

    Image() = default;
    Image(int w, int h, int c);
    // Colour from floats in [0, 1] (clamped); missing channels are left alone.
    void set(int x, int y, float r, float g = 0.0f, float b = 0.0f, float a = 1.0f);
};

enum class Chroma { none, s420, s444 };  // none: a grey image

struct JpegStorage {
    Chroma chroma = Chroma::s420;
    bool restartEveryRow = false;  // a restart marker at the start of every MCU row
    int quality = 90;
};

// False after a message on stderr.
bool writeJpeg(const std::string& path, const Image& image, const JpegStorage& layout);
bool writePng(const std::string& path, const Image& image);

// Every image of the data set. Sizes are powers of two from 256 to 1024, except the overlay,
// which has the picture's own 16:9 shape.
Image makeCloudLayers();        // cloudy.jpg: grey, tiles in both directions
Image makeCloudSheets();        // cloudy2.jpg: cloud puffs on black, gone before the border (tiles)
Image makeParticle();           // particle.jpg: a soft white dot on black
Image makeFlare();              // flare.jpg: a lens flare star
Image makeNoise();              // noise.png: RGBA static, tiles
Image makeDesertSand();         // desert_sand.png: rippled sand, tiles
Image makeDesertSandNormals();  // desert_sand_NRM.png: the ripples as a tangent-space normal map
Image makeHull();               // ship_hull.jpg
Image makeHullNormals();        // ship_hull_NRM.png
Image makeMarble();             // ball_marble.jpg
Image makeWormSkin();           // worm_skin.jpg
Image makeCannonMetal();        // cannon_metal.jpg
Image makeFlameNoise();         // flame_noise.jpg: streaks that tile vertically for scrolling
Image makeRidges();             // far_ridges.png: RGBA, the outline of a mountain range
Image makeOverlay();            // overlay.png: RGBA vignette and thin frame

// One face of the cannon's environment cube, in GL's cube-map orientation:
// 0 +X (right), 1 -X (left), 2 +Y (top), 3 -Y (bottom), 4 +Z (back), 5 -Z (front).
Image makeEnvironmentFace(int face);
