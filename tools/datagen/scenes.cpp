// Scene files: materials, images and the models built from the mesh builders.
#include "tools/datagen/scenes.h"

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "tools/datagen/meshes.h"
#include "tools/datagen/noise.h"
#include "tools/datagen/shaders.h"
#include "tools/datagen/xsi_writer.h"

namespace {

constexpr float pi = 3.14159265358979f;

MaterialSpec material(const std::string& name, const ShaderPair& shader, std::vector<MaterialUniformSpec> uniforms,
                      std::vector<MaterialTextureSpec> textures = {}) {
    MaterialSpec m;
    m.name = name;
    m.vertexSource = shader.vertex;
    m.fragmentSource = shader.fragment;
    m.uniforms = std::move(uniforms);
    m.textures = std::move(textures);
    return m;
}

bool save(const XsiWriter& writer, const std::string& dataDir, const char* file) {
    return writer.save(dataDir + "/" + file);
}

// A scene of one model holding one mesh, as most files are.
bool writeSingleMeshScene(const std::string& dataDir, const char* file, const std::string& modelName,
                          const std::vector<MaterialSpec>& materials, const std::vector<ImageSpec>& images,
                          const MeshData& mesh) {
    XsiWriter writer;
    if (!materials.empty()) writer.materialLibrary("MATLIB-" + modelName, materials);
    if (!images.empty()) writer.imageLibrary(images);
    writer.open("SI_Model MDL-" + modelName);
    writer.identityTransform("SRT-" + modelName);
    writer.mesh(modelName, mesh, materials.front().name);
    writer.close();
    return save(writer, dataDir, file);
}

}  // namespace

bool writeSkyDome(const std::string& dataDir) {
    // Half the far plane (1000) away, so the view along the eye's rays stays inside it even while
    // slot 1 stretches the dome sideways; faces inwards, towards the eye.
    MeshData dome;
    addSphere(dome, {0, 0, 0}, 500.0f, 48, 24, {1, 1}, true);
    return writeSingleMeshScene(dataDir, "bg.xsi", "sky",
                                {material("mountains", skyShader, {{"params", {0, 0, 0, 0}}})}, {}, dome);
}

bool writeMountainRing(const std::string& dataDir) {
    // A band around the eye, inside the dome and beyond the terrain's ends; the ranges are drawn
    // by the image's alpha three times around.
    MeshData ring;
    addPatch(ring,
             [](float u, float v) {
                 const float angle = 2.0f * pi * u;
                 return Vec3{450.0f * std::cos(angle), 130.0f - 220.0f * v, 450.0f * std::sin(angle)};
             },
             96, 2, {3, 1}, {1, 0, 0});
    return writeSingleMeshScene(
        dataDir, "mountains.xsi", "mountains",
        {material("far_ridges", ridgeShader, {{"haze", {0.86f, 0.74f, 0.58f, 1.0f}}}, {{"ridges", "IMG-far_ridges"}})},
        {{"IMG-far_ridges", "C:\\Demo\\Work\\textures\\far_ridges.png", 1024, 256}}, ring);
}

namespace {

// The terrain grid: 4 units across, 3 along, 41 rows per 123-unit tile.
constexpr int terrainColumns = 108;  // x from -216 to 216
constexpr int terrainRows = 41;
constexpr float terrainStepX = 4.0f;
constexpr float terrainStepZ = 3.0f;
constexpr float terrainHalfWidth = 216.0f;
// The scenes draw the tile 20 units up; the ground under the paths lies near world height 3.5.
constexpr float tileLift = 20.0f;

// World height of the ground. Along z everything repeats after one tile (the noise wraps after a
// whole number of cells), so tile k + 1 continues tile k.
float groundHeight(float x, int row) {
    const float along = static_cast<float>(row) / static_cast<float>(terrainRows);
    const float side = std::fabs(x);
    const float wall = smoothStep(92.0f, 150.0f, side);
    const float peak = smoothStep(140.0f, 216.0f, side);
    const float dunes = (fractalNoise(x / 24.0f, along * 5.0f, 4, 201, 0, 5) - 0.5f) * 1.6f;
    const float rock = fractalNoise(x / 30.0f, along * 4.0f, 5, 202, 0, 4);
    const float crags = fractalNoise(x / 40.0f, along * 3.0f, 5, 203, 0, 3);
    return 3.5f + dunes * (1.0f - wall) + wall * (38.0f + 14.0f * (rock - 0.5f)) + peak * 42.0f * (0.6f + 0.8f * crags);
}

}  // namespace

bool writeTerrainTile(const std::string& dataDir) {
    std::vector<float> heights(static_cast<std::size_t>(terrainColumns + 1) * terrainRows);
    // Rows wrap around: the row after the last is the next tile's first.
    auto height = [&](int column, int row) -> float& {
        const int wrapped = (row % terrainRows + terrainRows) % terrainRows;
        return heights[static_cast<std::size_t>(wrapped) * (terrainColumns + 1) + column];
    };
    for (int row = 0; row < terrainRows; ++row)
        for (int column = 0; column <= terrainColumns; ++column)
            height(column, row) = groundHeight(-terrainHalfWidth + terrainStepX * static_cast<float>(column), row);

    // Three meshes split by distance from the valley's centre line; they share their edge columns.
    struct Region {
        const char* name;
        int first, last;  // columns, inclusive
    };
    const int sandEdge = static_cast<int>((terrainHalfWidth - 96.0f) / terrainStepX);
    const int wallEdge = static_cast<int>((terrainHalfWidth - 148.0f) / terrainStepX);
    const Region regions[5] = {{"mountain_peaks", 0, wallEdge},
                               {"walls", wallEdge, sandEdge},
                               {"big_sand", sandEdge, terrainColumns - sandEdge},
                               {"walls", terrainColumns - sandEdge, terrainColumns - wallEdge},
                               {"mountain_peaks", terrainColumns - wallEdge, terrainColumns}};
    constexpr float texturePeriod = 123.0f / 8.0f;  // a whole number of repeats per tile
    MeshData meshes[3];
    for (const Region& region : regions) {
        MeshData& mesh = meshes[std::string(region.name) == "big_sand" ? 0
                                : std::string(region.name) == "walls"  ? 1
                                                                       : 2];
        const int first = static_cast<int>(mesh.positions.size());
        const int width = region.last - region.first + 1;
        // Row terrainRows repeats row 0 one tile further on, exactly.
        for (int row = 0; row <= terrainRows; ++row) {
            for (int column = region.first; column <= region.last; ++column) {
                const float x = -terrainHalfWidth + terrainStepX * static_cast<float>(column);
                const float z = terrainStepZ * static_cast<float>(row);
                const int left = column > 0 ? column - 1 : column,
                          right = column < terrainColumns ? column + 1 : column;
                const float dx =
                    (height(right, row) - height(left, row)) / (terrainStepX * static_cast<float>(right - left));
                const float dz = (height(column, row + 1) - height(column, row - 1)) / (2.0f * terrainStepZ);
                mesh.addVertex({x, height(column, row) - tileLift, z}, {-dx, 1.0f, -dz},
                               {x / texturePeriod, z / texturePeriod});
            }
        }
        for (int row = 0; row < terrainRows; ++row) {
            for (int i = 0; i + 1 < width; ++i) {
                const int a = first + row * width + i, b = a + 1, c = a + width + 1, d = a + width;
                mesh.addTriangle(a, b, c);
                mesh.addTriangle(a, c, d);
            }
        }
    }

    const std::vector<MaterialTextureSpec> sand = {{"sandMap", "IMG-desert_sand"},
                                                   {"sandNormals", "IMG-desert_sand_NRM"}};
    const MaterialUniformSpec clouds{"cloudParams", {0.0f, 0.0f, 1.0f, 0.6f}};
    XsiWriter writer;
    writer.materialLibrary("MATLIB-maasto", {material("mountain_peaks", terrainPeakShader, {clouds}, sand),
                                             material("walls", terrainWallShader, {clouds}, sand),
                                             material("big_sand", terrainSandShader, {clouds}, sand)});
    writer.imageLibrary({{"IMG-desert_sand", "D:\\projects\\demo\\data\\desert_sand.png", 512, 512},
                         {"IMG-desert_sand_NRM", "D:\\projects\\demo\\data\\desert_sand_NRM.png", 512, 512}});
    writer.open("SI_Model MDL-maasto");
    writer.identityTransform("SRT-maasto");
    const char* names[3] = {"big_sand", "walls", "mountain_peaks"};
    for (int m = 0; m < 3; ++m) {
        writer.open(std::string("SI_Model MDL-") + names[m]);
        writer.identityTransform(std::string("SRT-") + names[m]);
        writer.mesh(names[m], meshes[m], names[m]);
        writer.close();
    }
    writer.close();
    return save(writer, dataDir, "maasto.xsi");
}

bool writeFlyingObject(const std::string& dataDir) {
    // Nose towards +z, the way the procession travels; about 2.6 units long.
    MeshData ship;
    LatheFrame body;
    body.axis = {0, 0, 1};
    body.side = {1, 0, 0};
    body.up = {0, 1, 0};
    body.upScale = 0.7f;
    addLathe(ship,
             {{0.0f, -1.25f},
              {0.18f, -1.22f},
              {0.3f, -1.1f},
              {0.38f, -0.8f},
              {0.42f, -0.4f},
              {0.43f, 0.0f},
              {0.41f, 0.4f},
              {0.35f, 0.8f},
              {0.24f, 1.1f},
              {0.12f, 1.28f},
              {0.0f, 1.35f}},
             body, 32, {1, 1});

    // A mast from the back of the body up to the cup that carries the two flames at (0, 0.8, -2.5).
    const Vec3 mastStart{0.0f, 0.2f, -0.9f}, mastEnd{0.0f, 0.62f, -2.5f};
    LatheFrame mast;
    mast.origin = mastStart;
    mast.axis = normalize(mastEnd - mastStart);
    mast.side = {1, 0, 0};
    mast.up = cross(mast.axis, mast.side);
    const float mastLength = length(mastEnd - mastStart);
    addLathe(ship, {{0.0f, 0.0f}, {0.06f, 0.0f, true}, {0.06f, mastLength, true}, {0.0f, mastLength}}, mast, 10,
             {1, 1});

    LatheFrame cup;
    cup.origin = {0.0f, 0.6f, -2.5f};
    addLathe(ship,
             {{0.0f, -0.02f},
              {0.1f, 0.0f},
              {0.22f, 0.12f},
              {0.3f, 0.22f, true},
              {0.26f, 0.22f, true},
              {0.18f, 0.14f},
              {0.0f, 0.1f}},
             cup, 20, {1, 1});

    for (const float side : {-1.0f, 1.0f}) {
        const Vec3 across = normalize({side, -0.25f, 0.0f});
        const Vec3 along{0, 0, 1};
        addBox(ship, {0.62f * side, -0.08f, -0.4f}, across, cross(along, across), along, {0.3f, 0.025f, 0.35f}, 1.0f);
    }

    return writeSingleMeshScene(dataDir, "normimap.xsi", "normimap",
                                {material("normimap_hull", hullShader, {{"emberColour", {1.0f, 0.55f, 0.15f, 1.2f}}},
                                          {{"hullMap", "IMG-ship_hull"}, {"hullNormals", "IMG-ship_hull_NRM"}})},
                                {{"IMG-ship_hull", "C:\\Users\\artist\\normimap\\ship_hull.jpg", 512, 512},
                                 {"IMG-ship_hull_NRM", "C:\\Users\\artist\\normimap\\ship_hull_NRM.png", 512, 512}},
                                ship);
}

namespace {

// Crossed vertical planes around the flame's axis, leaning back (to -z) as they rise, as the
// flames trail their carrier.
MeshData flamePlanes(int planes, float width, float height, float lean) {
    MeshData mesh;
    for (int k = 0; k < planes; ++k) {
        const float angle = pi * static_cast<float>(k) / static_cast<float>(planes);
        const Vec3 across{std::cos(angle), 0.0f, std::sin(angle)};
        addPatch(
            mesh,
            [&](float u, float v) {
                const float narrowing = 1.0f - 0.3f * v;
                return across * ((u - 0.5f) * width * narrowing) + Vec3{0.0f, v * height, -lean * v * v};
            },
            2, 6, {1, 1}, cross(across, {0, 1, 0}));
    }
    return mesh;
}

MaterialSpec flameMaterial() {
    return material("flames", flameShader, {{"params", {0.5f, 0, 0, 0}}, {"uvShift", {0, 0, 0, 0}}},
                    {{"flameNoise", "IMG-flame_noise"}});
}

}  // namespace

bool writeFlames(const std::string& dataDir) {
    const std::vector<ImageSpec> images = {{"IMG-flame_noise", "textures/flame_noise.jpg", 256, 512}};
    // Both files carry the material as exported; the show keeps the first and skips the second.
    return writeSingleMeshScene(dataDir, "flame.xsi", "flame", {flameMaterial()}, images,
                                flamePlanes(3, 0.7f, 1.9f, 0.6f)) &&
           writeSingleMeshScene(dataDir, "flame2.xsi", "flame2", {flameMaterial()}, images,
                                flamePlanes(4, 1.3f, 1.25f, 0.45f));
}

bool writeLights(const std::string& dataDir) {
    XsiWriter writer;
    writer.open("SI_Model MDL-lights");
    writer.identityTransform("SRT-lights");
    // Directional lights get their directions from the show: the first is the sun above, the
    // second a back light from -z. The point and spot lights are only switched on.
    writer.light({"sun", 3, {40, 100, 20}, {0, 0, 0}, {1.0f, 0.95f, 0.85f}});
    writer.light({"backlight", 3, {30, 50, -500}, {0, 0, 0}, {0.5f, 0.6f, 0.8f}});
    writer.light({"fill", 0, {0, 20, 0}, {0, 0, 0}, {0.4f, 0.35f, 0.3f}});
    writer.light({"torch", 2, {0, 30, 50}, {0, 0, 0}, {1.0f, 0.8f, 0.6f}});
    writer.close();
    return save(writer, dataDir, "lights.xsi");
}

bool writeBall(const std::string& dataDir) {
    MeshData ball;
    addSphere(ball, {0, 0, 0}, 1.0f, 32, 20, {2, 1});
    return writeSingleMeshScene(
        dataDir, "ball.xsi", "ball",
        {material("ball_marble", ballShader, {{"tint", {1.0f, 0.92f, 0.85f, 0.6f}}}, {{"marbleMap", "IMG-marble"}})},
        {{"IMG-marble", "ball_marble.jpg", 512, 256}}, ball);
}

namespace {

// One armour plate of a worm ring: it spans a ninth of the ring (with overlap) at radius 6.5
// around a centre 6.5 units along +z from the plate's origin, where the scene puts the ring's
// axis. Outer and inner shells meet at the plate's rim, so it is closed.
MeshData wormPlate() {
    constexpr float ringRadius = 6.5f;
    constexpr float spread = 48.0f * pi / 180.0f;
    MeshData mesh;
    for (const bool outer : {true, false}) {
        addPatch(
            mesh,
            [outer](float u, float v) {
                // sin(pi) comes out a hair below zero, which pow would turn into NaN.
                const float bulge = std::pow(std::fmax(0.0f, std::sin(pi * u)), 0.6f) *
                                    std::pow(std::fmax(0.0f, std::sin(pi * v)), 0.6f);
                const float ridge = std::exp(-(u - 0.5f) * (u - 0.5f) / 0.01f) * std::sin(pi * v);
                const float r = outer ? ringRadius + 0.85f * bulge + 0.6f * ridge : ringRadius - 0.25f * bulge;
                const float angle = (u - 0.5f) * spread;
                return Vec3{r * std::sin(angle), (v - 0.5f) * 7.0f, ringRadius - r * std::cos(angle)};
            },
            8, 8, {1, 1}, outer ? Vec3{0, 0, -1} : Vec3{0, 0, 1});
    }
    return mesh;
}

}  // namespace

bool writeWorm(const std::string& dataDir) {
    const std::vector<ImageSpec> skin = {{"IMG-worm_skin", "E:\\worms\\worm_skin.jpg", 512, 512}};
    const MaterialUniformSpec sheen{"sheen", {0.35f, 0.55f, 0.3f, 0.5f}};
    if (!writeSingleMeshScene(dataDir, "worm.xsi", "worm",
                              {material("worm_plate", wormPlateShader, {sheen}, {{"skinMap", "IMG-worm_skin"}})}, skin,
                              wormPlate()))
        return false;

    // The head points along +y, the way the ring's axis runs where the worm leaves the ground;
    // its base covers the first ring.
    MeshData head;
    addLathe(head,
             {{0.0f, -3.2f},
              {7.4f, -3.2f, true},
              {7.9f, -1.5f},
              {7.8f, 1.0f},
              {7.0f, 3.5f},
              {5.6f, 6.0f},
              {3.8f, 8.2f},
              {2.2f, 9.6f},
              {1.0f, 10.3f},
              {0.0f, 10.5f}},
             LatheFrame{}, 36, {3, 2});
    for (int k = 0; k < 3; ++k) {
        const float angle = pi * 0.5f + 2.0f * pi * static_cast<float>(k) / 3.0f;
        const Vec3 radial{std::cos(angle), 0.0f, std::sin(angle)};
        LatheFrame mandible;
        mandible.origin = radial * 4.0f + Vec3{0.0f, 7.5f, 0.0f};
        mandible.axis = normalize(Vec3{0.0f, 1.0f, 0.0f} - radial * 0.35f);
        mandible.side = normalize(cross(mandible.axis, radial));
        mandible.up = cross(mandible.axis, mandible.side);
        addLathe(head, {{0.0f, 0.0f}, {0.9f, 0.0f, true}, {0.6f, 2.0f}, {0.3f, 4.0f}, {0.0f, 5.0f}}, mandible, 12,
                 {1, 1});
    }
    MeshData eyes;
    for (const float side : {-1.0f, 1.0f}) addSphere(eyes, {2.26f * side, 6.5f, 4.68f}, 0.9f, 16, 10, {1, 1});

    XsiWriter writer;
    writer.materialLibrary("MATLIB-wormhead",
                           {material("worm_head", wormHeadShader, {sheen}, {{"skinMap", "IMG-worm_skin"}}),
                            material("worm_eye", wormEyeShader, {{"glow", {1.0f, 0.75f, 0.2f, 1.0f}}})});
    writer.imageLibrary(skin);
    writer.open("SI_Model MDL-wormhead");
    writer.identityTransform("SRT-wormhead");
    writer.open("SI_Model MDL-head");
    writer.identityTransform("SRT-head");
    writer.mesh("head", head, "worm_head");
    writer.close();
    writer.open("SI_Model MDL-eyes");
    writer.identityTransform("SRT-eyes");
    writer.mesh("eyes", eyes, "worm_eye");
    writer.close();
    writer.close();
    return save(writer, dataDir, "wormhead.xsi");
}

bool writeCannon(const std::string& dataDir) {
    // The scene puts the origin at (0, 9, 0), 5.5 above the ground, where the shells start. The
    // barrel is short and opens into a bell wide enough for the whole fan of shells, and the
    // space a little above it is left free for the camera that flies along it.
    MeshData cannon;
    addLathe(cannon, {{0.0f, -6.5f}, {4.5f, -6.5f, true}, {4.5f, -2.6f, true}, {4.0f, -1.8f, true}, {0.0f, -1.8f}},
             LatheFrame{}, 48, {4, 1});
    addLathe(cannon, {{0.0f, -1.85f}, {2.4f, -1.85f, true}, {2.1f, -1.2f, true}, {0.0f, -1.2f}}, LatheFrame{}, 32,
             {2, 1});
    addBox(cannon, {0.0f, -0.3f, 1.7f}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1.15f, 0.9f, 1.5f}, 0.25f);
    for (const float side : {-1.0f, 1.0f})
        addBox(cannon, {1.45f * side, -0.7f, 0.4f}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0.2f, 1.1f, 1.1f}, 0.25f);
    LatheFrame barrel;
    barrel.origin = {0.0f, 0.0f, 3.4f};
    barrel.axis = {0, 0, -1};
    barrel.side = {1, 0, 0};
    barrel.up = {0, 1, 0};
    addLathe(cannon,
             {{0.0f, 0.0f},
              {0.75f, 0.0f, true},
              {0.82f, 0.3f},
              {0.82f, 3.4f},
              {0.8f, 4.4f},
              {0.9f, 5.4f},
              {1.05f, 6.2f},
              {1.25f, 6.9f, true},
              {1.3f, 7.0f, true},
              {1.12f, 6.96f},
              {0.72f, 6.4f},
              {0.0f, 6.0f}},
             barrel, 32, {2, 2});

    MaterialSpec metal = material("diffuse_cubemap", cannonShader, {{"params", {1.0f, 0.0f, 1.0f, 0.0f}}},
                                  {{"metalMap", "IMG-cannon_metal"}});
    metal.cubeMaps.push_back(
        {"envMap",
         {"IMG-env_left", "IMG-env_right", "IMG-env_top", "IMG-env_bottom", "IMG-env_back", "IMG-env_front"}});
    const std::string folder = "C:\\Demo\\Work\\cannon\\";
    std::vector<ImageSpec> images = {{"IMG-cannon_metal", folder + "cannon_metal.jpg", 512, 512}};
    for (const char* face : {"left", "right", "top", "bottom", "back", "front"})
        images.push_back({std::string("IMG-env_") + face, folder + "cannon_env_" + face + ".jpg", 256, 256});
    return writeSingleMeshScene(dataDir, "tykki.xsi", "tykki", {metal}, images, cannon);
}

bool writeShell(const std::string& dataDir) {
    // Flies along its own +y axis, nose first, the tail burning.
    MeshData shell;
    addLathe(shell,
             {{0.0f, -1.1f},
              {0.2f, -1.1f, true},
              {0.27f, -0.95f},
              {0.28f, -0.8f},
              {0.28f, 0.4f, true},
              {0.26f, 0.7f},
              {0.2f, 1.0f},
              {0.1f, 1.25f},
              {0.0f, 1.35f}},
             LatheFrame{}, 16, {1, 1});
    return writeSingleMeshScene(dataDir, "ammus.xsi", "ammus",
                                {material("shell_tracer", shellShader, {{"glow", {1.0f, 0.55f, 0.15f, 0.9f}}})}, {},
                                shell);
}

bool writePostProcessing(const std::string& dataDir) {
    XsiWriter writer;
    writer.materialLibrary("MATLIB-postproc",
                           {material("blur", blurShader, {{"params", {0.002f, 1.0f, 0.0f, 0.0f}}}),
                            material("dof_preproc", dofPreprocShader, {{"params", {20.0f, 20.0f, 0.1f, 0.0f}}}),
                            material("dof_combine", dofCombineShader, {{"alpha", {1.0f, 0.0f, 0.0f, 0.0f}}})});
    // The passes find their materials through the meshes of this tree; nothing here is drawn.
    MeshData triangle;
    const int a = triangle.addVertex({0, 0, 0}, {0, 0, 1}, {0, 0});
    const int b = triangle.addVertex({1, 0, 0}, {0, 0, 1}, {1, 0});
    const int c = triangle.addVertex({0, 1, 0}, {0, 0, 1}, {0, 1});
    triangle.addTriangle(a, b, c);
    writer.open("SI_Model MDL-postproc");
    writer.identityTransform("SRT-postproc");
    for (const char* name : {"blur", "dof_preproc", "dof_combine"}) {
        writer.open(std::string("SI_Model MDL-") + name);
        writer.identityTransform(std::string("SRT-") + name);
        writer.mesh(name, triangle, name);
        writer.close();
    }
    writer.close();
    return save(writer, dataDir, "postproc.XSI");
}
