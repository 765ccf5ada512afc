// The default data set as the build writes it: every scene file loads cleanly through the show's
// own reader on a real GL context, every name the scenes and passes address is where they look
// for it, the models sit where the scenes draw them, every image decodes as the show decodes it,
// and the generator writes the same bytes on every run.
#include <GL/glew.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "image/jpeg_decoder.h"
#include "image/png_loader.h"
#include "render/material.h"
#include "render/texture_registry.h"
#include "scene/scene_draw.h"
#include "scene/scene_node.h"
#include "tests/support/gl_context.h"
#include "tests/support/jpeg_reference.h"
#include "tests/support/process.h"
#include "xsi/xsi_reader.h"

namespace fs = std::filesystem;

namespace {

const std::string showDir = DEMO_SHOW_DIR;

struct LoadedScene {
    std::string printed;
    SceneNode* root = nullptr;
};

// What the show's start-up reads, in its order; scenes by the name the show opens them with.
struct LoadedShow {
    std::vector<std::string> order;
    std::map<std::string, LoadedScene> scenes;
    std::string printed;
};

const LoadedShow& loadedShow() {
    static const LoadedShow show = [] {
        LoadedShow s;
        const fs::path before = fs::current_path();
        if (chdir(showDir.c_str()) != 0) return s;
        auto texture = [&](const char* path) {
            testing::internal::CaptureStdout();
            loadTexture(path, 1);
            s.printed += testing::internal::GetCapturedStdout();
        };
        auto scene = [&](const char* path) {
            testing::internal::CaptureStdout();
            LoadedScene& loaded = s.scenes[path];
            loadXsiScene(path, loaded.root);
            loaded.printed = testing::internal::GetCapturedStdout();
            s.printed += loaded.printed;
            s.order.push_back(path);
        };
        texture("data/cloudy.jpg");
        for (const char* path : {"data\\normimap.xsi", "data\\maasto.xsi", "data\\bg.xsi", "data\\mountains.xsi",
                                 "data\\flame.xsi", "data\\flame2.xsi", "data\\lights.xsi"})
            scene(path);
        texture("data\\particle.jpg");
        texture("data\\flare.jpg");
        for (const char* path :
             {"data\\ball.xsi", "data\\worm.xsi", "data\\wormhead.xsi", "data\\tykki.xsi", "data\\ammus.xsi"})
            scene(path);
        texture("data\\noise.png");
        texture("data\\cloudy2.jpg");
        texture("data\\overlay.png");
        scene("data\\postproc.XSI");
        fs::current_path(before);
        return s;
    }();
    return show;
}

const SceneNode* rootOf(const char* path) {
    const auto found = loadedShow().scenes.find(path);
    return found == loadedShow().scenes.end() ? nullptr : found->second.root;
}

void forEachMesh(const SceneNode* node, const std::function<void(const SceneNode&)>& visit) {
    if (node == nullptr) return;
    if (node->kind == MeshNode && node->mesh) visit(*node);
    for (const auto& child : node->children) forEachMesh(child.get(), visit);
}

bool linked(unsigned program) {
    GLint status = GL_FALSE;
    if (program != 0) glGetProgramiv(program, GL_LINK_STATUS, &status);
    return status == GL_TRUE;
}

bool activeUniform(unsigned program, const char* name) { return glGetUniformLocation(program, name) >= 0; }

struct Vec {
    float x, y, z;
};
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
float dotOf(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec crossOf(Vec a, Vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

Vec position(const Mesh& mesh, int triangle, int corner) {
    const int i = mesh.positionIndices[3 * triangle + corner];
    return {mesh.positions[3 * i], mesh.positions[3 * i + 1], mesh.positions[3 * i + 2]};
}

Vec normal(const Mesh& mesh, int triangle, int corner) {
    const int i = mesh.normalIndices[3 * triangle + corner];
    return {mesh.normals[3 * i], mesh.normals[3 * i + 1], mesh.normals[3 * i + 2]};
}

// The front face as OpenGL sees it (counter-clockwise winding).
Vec frontNormal(const Mesh& mesh, int t) {
    const Vec a = position(mesh, t, 0);
    return crossOf(position(mesh, t, 1) - a, position(mesh, t, 2) - a);
}

std::vector<Vec> positionsOf(const SceneNode* root) {
    std::vector<Vec> points;
    forEachMesh(root, [&](const SceneNode& node) {
        const auto& p = node.mesh->positions;
        for (std::size_t i = 0; i + 2 < p.size(); i += 3) points.push_back({p[i], p[i + 1], p[i + 2]});
    });
    return points;
}

class DatagenScenes : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(requireShaderLibrary());
        ASSERT_EQ(loadedShow().scenes.size(), 13u) << "the show directory " << showDir << " could not be entered";
    }
};

TEST_F(DatagenScenes, EveryFileLoadsWithoutComplaint) {
    const LoadedShow& show = loadedShow();
    for (const std::string& path : show.order) EXPECT_NE(show.scenes.at(path).root, nullptr) << path;

    EXPECT_EQ(show.printed.find("not found"), std::string::npos) << show.printed;
    EXPECT_EQ(show.printed.find("Shader compilation status"), std::string::npos) << show.printed;
    EXPECT_EQ(show.printed.find("Program Log"), std::string::npos) << show.printed;
    EXPECT_EQ(show.printed.find("Unknown type of light!"), std::string::npos) << show.printed;

    // Nothing else is said: the paths of the textures as they load and the one duplicate.
    int duplicates = 0;
    std::istringstream lines(show.printed);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty()) continue;
        if (line == "Duplicate shader, skipping.") {
            ++duplicates;
            continue;
        }
        ASSERT_EQ(line.rfind("data/", 0), 0u) << "unexpected message: " << line;
        EXPECT_TRUE(fs::is_regular_file(showDir + "/" + line)) << line;
    }
    EXPECT_EQ(duplicates, 1);
    EXPECT_NE(show.scenes.at("data\\flame2.xsi").printed.find("Duplicate shader, skipping."), std::string::npos);
}

// The names the passes and scenes address: found by part of their name in the tree the scene
// searches, set through the material's slot (slots) or straight on its program (program).
struct NameCheck {
    const char* file;
    const char* material;
    std::vector<const char*> slots;
    std::vector<const char*> program;
};

TEST_F(DatagenScenes, MaterialsAndUniformsWhereTheShowLooksForThem) {
    const std::vector<NameCheck> checks = {
        {"data\\postproc.XSI", "blur", {}, {"params", "texture0"}},
        {"data\\postproc.XSI", "dof_preproc", {"params"}, {}},
        {"data\\postproc.XSI", "dof_combine", {}, {"alpha", "texture0", "texture1"}},
        {"data\\bg.xsi", "mountains", {"params"}, {}},
        {"data\\maasto.xsi", "mountain_peaks", {"cloudParams"}, {}},
        {"data\\maasto.xsi", "walls", {"cloudParams"}, {}},
        {"data\\maasto.xsi", "big_sand", {"cloudParams"}, {}},
        {"data\\flame.xsi", "flames", {"params", "uvShift"}, {}},
        {"data\\flame2.xsi", "flames", {"params", "uvShift"}, {}},
        {"data\\tykki.xsi", "diffuse_cubemap", {"params"}, {}},
    };
    for (const NameCheck& check : checks) {
        SCOPED_TRACE(std::string(check.file) + " " + check.material);
        const Material* material = findSceneMaterial(rootOf(check.file), check.material);
        ASSERT_NE(material, nullptr);
        // The first match is the material itself, not one whose name merely contains the text.
        EXPECT_STREQ(material->name, check.material);
        EXPECT_TRUE(linked(material->program));
        for (const char* name : check.slots) {
            EXPECT_NE(material->findUniform(name), nullptr) << name;
            EXPECT_TRUE(activeUniform(material->program, name)) << name;
        }
        for (const char* name : check.program) EXPECT_TRUE(activeUniform(material->program, name)) << name;
    }

    // The second flame file's meshes use the material of the first.
    EXPECT_EQ(findSceneMaterial(rootOf("data\\flame.xsi"), "flames"),
              findSceneMaterial(rootOf("data\\flame2.xsi"), "flames"));

    // The terrain's two textures are the ones the reader mipmaps.
    for (const char* name : {"mountain_peaks", "walls", "big_sand"}) {
        const Material* terrain = findSceneMaterial(rootOf("data\\maasto.xsi"), name);
        ASSERT_NE(terrain, nullptr);
        std::set<std::string> paths;
        for (const auto& slot : terrain->textures) paths.insert(textureRegistry.textures.at(slot->textureIndex).name);
        EXPECT_EQ(paths, (std::set<std::string>{"data/desert_sand.png", "data/desert_sand_NRM.png"})) << name;
    }

    // The cannon's cube map of six JPEG faces.
    const Material* cannon = findSceneMaterial(rootOf("data\\tykki.xsi"), "diffuse_cubemap");
    ASSERT_NE(cannon, nullptr);
    ASSERT_EQ(cannon->cubeTextures.size(), 1u);
    const MaterialCubeTexture& cube = *cannon->cubeTextures[0];
    EXPECT_TRUE(activeUniform(cannon->program, cube.uniformName)) << cube.uniformName;
    for (int face = 0; face < 6; ++face)
        EXPECT_EQ(std::string(cube.faceNames[face]), std::string("data/cannon_env_") + cubeFaceNames[face] + ".jpg");
    EXPECT_GT(cube.textureIndex, 4);
    EXPECT_LT(cube.textureIndex, static_cast<int>(textureRegistry.textures.size()));
}

TEST_F(DatagenScenes, EveryMaterialOfTheDataSetIsComplete) {
    std::set<const Material*> materials;
    for (const std::string& path : loadedShow().order)
        forEachMesh(rootOf(path.c_str()), [&](const SceneNode& node) { materials.insert(node.mesh->material); });
    for (const Material* used : materials) {
        const Material& material = *used;
        SCOPED_TRACE(material.name);
        // A mesh whose material name matched nothing would have fallen back to a built-in.
        EXPECT_NE(material.name[0], '\0');
        EXPECT_TRUE(linked(material.program));
        for (const auto& uniform : material.uniforms)
            EXPECT_TRUE(activeUniform(material.program, uniform->name)) << uniform->name;
        for (const auto& texture : material.textures) {
            EXPECT_TRUE(activeUniform(material.program, texture->uniformName)) << texture->uniformName;
            // Bound to a loaded image, not left on the render targets' textures.
            EXPECT_GT(texture->textureIndex, 4) << texture->uniformName;
            EXPECT_TRUE(fs::is_regular_file(showDir + "/data/" + texture->imageName)) << texture->imageName;
        }
    }
}

// Materials light themselves from gl_LightSource[0], which only a directional light (type code 3)
// places: it has to be the file's first light.
TEST_F(DatagenScenes, TheSunIsTheFirstLight) {
    const SceneNode* lights = rootOf("data\\lights.xsi");
    ASSERT_NE(lights, nullptr);
    std::set<int> kinds;
    bool sunFirst = false;
    for (const auto& child : lights->children) {
        if (child->kind != LightNode) continue;
        kinds.insert(child->light->kind);
        if (child->light->glLightIndex == 0) sunFirst = child->light->kind == directionalLight;
    }
    EXPECT_TRUE(sunFirst);
    EXPECT_EQ(kinds, (std::set<int>{pointLight, spotLight, directionalLight}));
}

TEST_F(DatagenScenes, FacesPointWhereTheyAreSeenFrom) {
    for (const std::string& path : loadedShow().order) {
        const bool flames = path.find("flame") != std::string::npos;  // drawn without culling
        forEachMesh(rootOf(path.c_str()), [&](const SceneNode& node) {
            const Mesh& mesh = *node.mesh;
            SCOPED_TRACE(path + " " + node.name);
            ASSERT_GT(mesh.triangleCount, 0u);
            ASSERT_EQ(mesh.normalIndices.size(), mesh.positionIndices.size());
            ASSERT_EQ(mesh.textureCoordinateIndices.size(), mesh.positionIndices.size());
            int disagreeing = 0, facingOut = 0, facingDown = 0;
            for (int t = 0; t < static_cast<int>(mesh.triangleCount); ++t) {
                const Vec front = frontNormal(mesh, t);
                const Vec shading = normal(mesh, t, 0) + normal(mesh, t, 1) + normal(mesh, t, 2);
                if (!flames && !(dotOf(front, shading) > 0.0f)) ++disagreeing;
                const Vec centre = position(mesh, t, 0) + position(mesh, t, 1) + position(mesh, t, 2);
                if (dotOf(front, centre) > 0.0f) ++facingOut;
                if (front.y <= 0.0f) ++facingDown;
            }
            EXPECT_EQ(disagreeing, 0) << "triangles wound against their normals";
            // Seen from the eye at their centre.
            if (path == "data\\bg.xsi" || path == "data\\mountains.xsi") {
                EXPECT_EQ(facingOut, 0);
            }
            if (path == "data\\maasto.xsi") {
                EXPECT_EQ(facingDown, 0);
            }
        });
    }
}

TEST_F(DatagenScenes, TerrainTileJoinsItsNeighboursAndCarriesThePaths) {
    float minX = 1e9f, maxX = -1e9f;
    forEachMesh(rootOf("data\\maasto.xsi"), [&](const SceneNode& node) {
        SCOPED_TRACE(node.name);
        const Mesh& mesh = *node.mesh;
        std::map<float, std::pair<float, Vec>> start, end;  // x -> height and normal at z = 0 and z = 123
        for (int i = 0; i < mesh.positionCount; ++i) {
            const float x = mesh.positions[3 * i], y = mesh.positions[3 * i + 1], z = mesh.positions[3 * i + 2];
            const Vec n{mesh.normals[3 * i], mesh.normals[3 * i + 1], mesh.normals[3 * i + 2]};
            minX = std::fmin(minX, x);
            maxX = std::fmax(maxX, x);
            EXPECT_GE(z, 0.0f);
            EXPECT_LE(z, 123.0f);
            if (z == 0.0f) start[x] = {y, n};
            if (z == 123.0f) end[x] = {y, n};
            // The tile is drawn 20 units up; under the paths the ground lies near y = 3 to 4.
            if (std::fabs(x) <= 40.0f) {
                EXPECT_GE(y + 20.0f, 2.5f) << x << " " << z;
                EXPECT_LE(y + 20.0f, 4.8f) << x << " " << z;
            }
        }
        ASSERT_FALSE(start.empty());
        ASSERT_EQ(start.size(), end.size());
        for (const auto& [x, at] : start) {
            ASSERT_EQ(end.count(x), 1u) << x;
            EXPECT_EQ(end[x].first, at.first) << x;
            EXPECT_EQ(end[x].second.x, at.second.x) << x;
            EXPECT_EQ(end[x].second.y, at.second.y) << x;
            EXPECT_EQ(end[x].second.z, at.second.z) << x;
        }
    });
    // Cameras go up to 40 units to the side and look further.
    EXPECT_LE(minX, -150.0f);
    EXPECT_GE(maxX, 150.0f);
}

TEST_F(DatagenScenes, ModelsHaveTheSizesTheScenesDrawThemAt) {
    for (const Vec& p : positionsOf(rootOf("data\\ball.xsi"))) {
        const float r = std::sqrt(dotOf(p, p));
        EXPECT_NEAR(r, 1.0f, 0.05f);
    }

    // Something at the place the flames are drawn from, on an object of about 2 to 3 units.
    const std::vector<Vec> ship = positionsOf(rootOf("data\\normimap.xsi"));
    float nearest = 1e9f, minZ = 1e9f, maxZ = -1e9f, widest = 0.0f;
    for (const Vec& p : ship) {
        const Vec d = p - Vec{0.0f, 0.8f, -2.5f};
        nearest = std::fmin(nearest, std::sqrt(dotOf(d, d)));
        minZ = std::fmin(minZ, p.z);
        maxZ = std::fmax(maxZ, p.z);
        widest = std::fmax(widest, std::fabs(p.x));
    }
    EXPECT_LT(nearest, 0.3f);
    EXPECT_GT(maxZ, 1.0f);  // the nose points the way the procession travels
    EXPECT_GE(maxZ - minZ, 2.0f);
    EXPECT_LE(maxZ - minZ, 4.5f);
    EXPECT_LE(widest, 1.5f);

    // A ring piece: translated 6.5 out along -z from the worm's axis, spanning a ninth of the
    // ring and long enough along the axis to meet the next ring.
    float lowY = 1e9f, highY = -1e9f;
    for (const Vec& p : positionsOf(rootOf("data\\worm.xsi"))) {
        const float fromAxis = std::sqrt(p.x * p.x + (p.z - 6.5f) * (p.z - 6.5f));
        EXPECT_GE(fromAxis, 6.0f);
        EXPECT_LE(fromAxis, 8.5f);
        lowY = std::fmin(lowY, p.y);
        highY = std::fmax(highY, p.y);
    }
    EXPECT_GE(highY - lowY, 5.5f);
    float headRadius = 0.0f;
    for (const Vec& p : positionsOf(rootOf("data\\wormhead.xsi")))
        headRadius = std::fmax(headRadius, std::hypot(p.x, p.z));
    EXPECT_GE(headRadius, 7.0f);  // covers the first ring

    // The cannon stands at y = 9: it reaches the ground 5.5 below, its barrel points along -z.
    float lowest = 1e9f, front = 1e9f;
    for (const Vec& p : positionsOf(rootOf("data\\tykki.xsi"))) {
        lowest = std::fmin(lowest, p.y);
        front = std::fmin(front, p.z);
    }
    EXPECT_LE(lowest, -5.5f);
    EXPECT_LT(front, -3.0f);

    // The shell flies along its own y axis, nose first.
    float shellY = 0.0f, shellAcross = 0.0f, nose = -1e9f;
    for (const Vec& p : positionsOf(rootOf("data\\ammus.xsi"))) {
        shellY = std::fmax(shellY, std::fabs(p.y));
        shellAcross = std::fmax(shellAcross, std::fmax(std::fabs(p.x), std::fabs(p.z)));
        nose = std::fmax(nose, p.y);
    }
    EXPECT_GT(shellY, 3.0f * shellAcross);
    EXPECT_GT(nose, 1.0f);
}

TEST(DatagenSceneFiles, LaidOutAsTheReaderReadsThem) {
    for (const auto& entry : fs::directory_iterator(showDir + "/data")) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".xsi" && ext != ".XSI") continue;
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream in(entry.path(), std::ios::binary);
        int depth = 0;
        bool inGlsl = false;
        int lineNumber = 0;
        for (std::string line; std::getline(in, line);) {
            ++lineNumber;
            ASSERT_LE(line.size(), 255u) << lineNumber;
            ASSERT_EQ(line.find('\r'), std::string::npos) << lineNumber;
            ASSERT_EQ(line.find("nan"), std::string::npos) << lineNumber << ": " << line;
            ASSERT_EQ(line.find("inf"), std::string::npos) << lineNumber << ": " << line;
            const std::size_t tabs = line.find_first_not_of('\t');
            const std::string body = tabs == std::string::npos ? "" : line.substr(tabs);
            if (inGlsl) {
                // Sources stay indented, so no brace of theirs stands alone at the left edge.
                ASSERT_EQ(tabs, static_cast<std::size_t>(depth)) << lineNumber << ": " << line;
                if (body == "\",") inGlsl = false;
                continue;
            }
            if (line.empty() || lineNumber == 1) continue;
            if (body == "}") {
                --depth;
                ASSERT_EQ(tabs, static_cast<std::size_t>(depth)) << lineNumber;
                continue;
            }
            ASSERT_EQ(tabs, static_cast<std::size_t>(depth)) << lineNumber << ": " << line;
            if (body.size() > 2 && body.compare(body.size() - 2, 2, " {") == 0) ++depth;
            if (body.rfind("\"GLSL_Program", 0) == 0) inGlsl = true;
        }
        EXPECT_EQ(depth, 0);
        EXPECT_FALSE(inGlsl);
    }
}

bool powerOfTwoSize(int n) { return n >= 256 && n <= 1024 && (n & (n - 1)) == 0; }

std::vector<std::uint8_t> fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DatagenImages, JpegsAreBaselineInTheLayoutsTheShowDecodes) {
    int grey = 0, s420 = 0, s444 = 0, restarts = 0, files = 0;
    for (const auto& entry : fs::directory_iterator(showDir + "/data")) {
        if (entry.path().extension() != ".jpg") continue;
        ++files;
        SCOPED_TRACE(entry.path().filename().string());
        const Bytes file = fileBytes(entry.path());
        const JpegLayout layout = splitJpeg(file);
        int components = 0, h0 = 0, v0 = 0, width = 0, height = 0;
        bool baseline = false;
        for (const JpegSegment& segment : layout.segments) {
            // Only sequential Huffman frames of 8-bit samples (SOF0) are taken.
            EXPECT_FALSE(segment.marker >= 0xC1 && segment.marker <= 0xCF && segment.marker != 0xC4 &&
                         segment.marker != 0xC8 && segment.marker != 0xCC)
                << std::hex << int(segment.marker);
            if (segment.marker == 0xC0) {
                baseline = segment.payload[0] == 8;
                height = segment.payload[1] << 8 | segment.payload[2];
                width = segment.payload[3] << 8 | segment.payload[4];
                components = segment.payload[5];
                h0 = segment.payload[7] >> 4;
                v0 = segment.payload[7] & 15;
                for (int c = 1; c < components; ++c) {
                    EXPECT_EQ(segment.payload[7 + 3 * c], 0x11);  // chroma at one sample per MCU
                }
            }
            if (segment.marker == 0xDD) {
                const int interval = segment.payload[0] << 8 | segment.payload[1];
                // Restarts only at the start of MCU rows, where the show's decoder realigns.
                const int mcuWidth = 8 * h0;
                EXPECT_EQ(interval, (width + mcuWidth - 1) / mcuWidth);
                ++restarts;
            }
        }
        EXPECT_TRUE(baseline);
        EXPECT_TRUE(powerOfTwoSize(width) && powerOfTwoSize(height)) << width << "x" << height;
        if (components == 1) ++grey;
        if (components == 3 && h0 == 2 && v0 == 2) ++s420;
        if (components == 3 && h0 == 1 && v0 == 1) ++s444;
        EXPECT_TRUE(components == 1 || (components == 3 && h0 == v0 && (h0 == 1 || h0 == 2)))
            << components << " " << h0;

        // Decoded by the show's decoder much as libjpeg-turbo decodes it.
        std::vector<unsigned char> ours;
        int w = 0, h = 0;
        ASSERT_TRUE(decodeJpegFile(entry.path().c_str(), ours, w, h));
        EXPECT_EQ(w, width);
        EXPECT_EQ(h, height);
        Bytes reference;
        int rw = 0, rh = 0;
        ASSERT_TRUE(decodeWithLibjpeg(file, reference, rw, rh));
        const ChannelDifferences diff = compareRgba(Bytes(ours.begin(), ours.end()), reference, w, 0, h);
        for (int ch = 0; ch < 4; ++ch) {
            EXPECT_LE(diff.largest[ch], 5) << ch;
            EXPECT_LE(diff.mean[ch], 2.0) << ch;
        }
    }
    EXPECT_GE(files, 10);
    EXPECT_EQ(grey, 1);
    EXPECT_GE(s420, 1);
    EXPECT_GE(s444, 1);
    EXPECT_GE(restarts, 1);
}

TEST(DatagenImages, PngsAreEightBitRgbOrRgba) {
    const std::map<std::string, int> expected = {{"desert_sand.png", 3},   {"desert_sand_NRM.png", 3},
                                                 {"ship_hull_NRM.png", 3}, {"noise.png", 4},
                                                 {"far_ridges.png", 4},    {"overlay.png", 4}};
    std::set<std::string> seen;
    for (const auto& entry : fs::directory_iterator(showDir + "/data")) {
        if (entry.path().extension() != ".png") continue;
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        seen.insert(name);
        // The show's own reader asks libpng for no conversion: 8 bits, colour type 2 or 6, not interlaced.
        const Bytes file = fileBytes(entry.path());
        ASSERT_GT(file.size(), 29u);
        EXPECT_EQ(file[24], 8);
        EXPECT_TRUE(file[25] == 2 || file[25] == 6);
        EXPECT_EQ(file[28], 0);
        std::vector<unsigned char> pixels;
        int width = 0, height = 0, components = 0;
        ASSERT_TRUE(loadPngImage(entry.path().c_str(), pixels, width, height, components));
        ASSERT_EQ(expected.count(name), 1u);
        EXPECT_EQ(components, expected.at(name));
        // Rows of whole 4-byte words, as the texture upload expects.
        EXPECT_EQ(width * components % 4, 0);
        if (name == "overlay.png") {
            EXPECT_EQ(width * 9, height * 16);
            // Mostly transparent: clear in the middle, a thin frame and a soft darkening at the rim.
            long alphaSum = 0;
            for (std::size_t i = 3; i < pixels.size(); i += 4) alphaSum += pixels[i];
            EXPECT_LT(alphaSum / (width * height), 40);
            EXPECT_EQ(pixels[(static_cast<std::size_t>(height / 2) * width + width / 2) * 4 + 3], 0);
        } else {
            EXPECT_TRUE(powerOfTwoSize(width) && powerOfTwoSize(height)) << width << "x" << height;
        }
    }
    EXPECT_EQ(seen.size(), expected.size());
}

std::map<std::string, std::uintmax_t> filesUnder(const fs::path& root) {
    std::map<std::string, std::uintmax_t> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files[fs::relative(entry.path(), root).string()] = entry.file_size();
    return files;
}

TEST(DatagenRun, WritesTheSameBytesEveryRunWithinTheSizeLimit) {
    const std::string out = makeTempDir("datagen_");
    ASSERT_FALSE(out.empty());
    const CommandResult run = runCommand(std::string("'") + DEMO_DATAGEN_PATH + "' '" + out + "'");
    ASSERT_EQ(run.exitCode, 0) << run.output;

    const auto written = filesUnder(out);
    std::uintmax_t total = 0;
    for (const auto& [name, size] : written) total += size;
    EXPECT_LE(total, 30u * 1000u * 1000u);
    EXPECT_EQ(written.count("biisi.mp3"), 1u);

    // The build's run directory was written by the same generator.
    for (const auto& [name, size] : written) {
        SCOPED_TRACE(name);
        const fs::path other = fs::path(showDir) / name;
        ASSERT_TRUE(fs::is_regular_file(other));
        EXPECT_TRUE(fileBytes(fs::path(out) / name) == fileBytes(other));
    }
    for (const auto& [name, size] : filesUnder(fs::path(showDir) / "data"))
        EXPECT_EQ(written.count("data/" + name), 1u) << "left over from elsewhere: " << name;
    fs::remove_all(out);
}

}  // namespace
