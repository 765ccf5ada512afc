// The list of files of the data set and the layout each image is stored in. The JPEG layouts
// cover what the show's decoder takes: grey, 4:2:0 and 4:4:4, with and without restart markers.
#include "tools/datagen/data_set.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "tools/datagen/images.h"
#include "tools/datagen/scenes.h"

namespace {

constexpr JpegStorage grey{Chroma::none, false, 90};
constexpr JpegStorage s420{Chroma::s420, false, 90};
constexpr JpegStorage s420Restarts{Chroma::s420, true, 90};
constexpr JpegStorage s444{Chroma::s444, false, 92};
constexpr JpegStorage s444Restarts{Chroma::s444, true, 92};

}  // namespace

bool writeImages(const std::string& dataDir) {
    const std::string d = dataDir + "/";
    bool ok =
        writeJpeg(d + "cloudy.jpg", makeCloudLayers(), grey) && writeJpeg(d + "cloudy2.jpg", makeCloudSheets(), s444) &&
        writeJpeg(d + "particle.jpg", makeParticle(), s420) && writeJpeg(d + "flare.jpg", makeFlare(), s420Restarts) &&
        writeJpeg(d + "flame_noise.jpg", makeFlameNoise(), s420Restarts) &&
        writeJpeg(d + "ball_marble.jpg", makeMarble(), s444Restarts) &&
        writeJpeg(d + "worm_skin.jpg", makeWormSkin(), s420) && writeJpeg(d + "ship_hull.jpg", makeHull(), s444) &&
        writeJpeg(d + "cannon_metal.jpg", makeCannonMetal(), s420Restarts) && writePng(d + "noise.png", makeNoise()) &&
        writePng(d + "desert_sand.png", makeDesertSand()) &&
        writePng(d + "desert_sand_NRM.png", makeDesertSandNormals()) &&
        writePng(d + "ship_hull_NRM.png", makeHullNormals()) && writePng(d + "far_ridges.png", makeRidges()) &&
        writePng(d + "overlay.png", makeOverlay());
    // Faces by GL's order +X, -X, +Y, -Y, +Z, -Z; the material names them right, left, top, bottom, back, front.
    const char* const faces[6] = {"right", "left", "top", "bottom", "back", "front"};
    for (int face = 0; face < 6 && ok; ++face)
        ok = writeJpeg(d + "cannon_env_" + faces[face] + ".jpg", makeEnvironmentFace(face),
                       face < 3 ? s420Restarts : s420);
    return ok;
}

bool writeScenes(const std::string& dataDir) {
    return writeSkyDome(dataDir) && writeMountainRing(dataDir) && writeTerrainTile(dataDir) &&
           writeFlyingObject(dataDir) && writeFlames(dataDir) && writeLights(dataDir) && writeBall(dataDir) &&
           writeWorm(dataDir) && writeCannon(dataDir) && writeShell(dataDir) && writePostProcessing(dataDir);
}

bool writeDataSet(const std::string& outDir) {
    const std::string dataDir = outDir + "/data";
    std::error_code error;
    std::filesystem::create_directories(dataDir, error);
    if (error) {
        std::fprintf(stderr, "datagen: cannot create %s: %s\n", dataDir.c_str(), error.message().c_str());
        return false;
    }
    return writeImages(dataDir) && writeScenes(dataDir);
}
