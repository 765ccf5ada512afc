// libFuzzer entry point: arbitrary bytes as a scene file through the whole load (materials,
// images, models). It runs on the null GL of gl_null.cpp, so no window or driver is needed and
// every cycle goes to the reader.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "render/shader_library.h"
#include "render/texture_registry.h"
#include "scene/scene_node.h"
#include "tests/fuzz/scratch_file.h"
#include "xsi/xsi_models.h"
#include "xsi/xsi_reader.h"

namespace {

std::string scenePath;
std::size_t startMaterials = 0;
std::size_t startTextures = 0;

bool indicesInRange(const std::vector<int>& indices, std::size_t triangles, const std::vector<float>& values,
                    std::size_t width) {
    if (values.empty()) return true;  // never drawn
    const std::size_t entries = values.size() / width;
    for (std::size_t c = 0; c < indices.size() && c < 3 * triangles; ++c)
        if (indices[c] < 0 || static_cast<std::size_t>(indices[c]) >= entries) return false;
    return true;
}

// What the reader promises of any tree, whatever the file held.
bool treeIsSound(const SceneNode& node, int depth) {
    if (depth > maxModelDepth + 1) return false;
    if (const Mesh* mesh = node.mesh.get()) {
        const std::size_t triangles = mesh->triangleCount;
        if (mesh->positionIndices.size() != 3 * triangles) return false;
        if (mesh->positions.empty() && triangles > 0) return false;
        if (!indicesInRange(mesh->positionIndices, triangles, mesh->positions, 3) ||
            !indicesInRange(mesh->normalIndices, triangles, mesh->normals, 3) ||
            !indicesInRange(mesh->colourIndices, triangles, mesh->colours, 3) ||
            !indicesInRange(mesh->textureCoordinateIndices, triangles, mesh->textureCoordinates, 2))
            return false;
        if (mesh->displayList == -1) return false;
    }
    for (const auto& child : node.children)
        if (!treeIsSound(*child, depth + 1)) return false;
    return true;
}

// Back to the library and registry of start-up, so that a long run does not pile up every
// material and texture of every input.
void forgetLoadedResources() {
    shaderLibrary.materials.resize(startMaterials);
    textureRegistry.textures.resize(startTextures);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Damaged inputs make the reader print lines of their own; they would drown libFuzzer's output.
    std::FILE* quiet = std::freopen("/dev/null", "w", stdout);
    static_cast<void>(quiet);

    // Stand-ins for the eight built-in materials: meshes without a material of their file get
    // the first one.
    for (int i = 0; i < builtInMaterialCount; ++i) addBuiltInMaterial("", "");
    startMaterials = shaderLibrary.materials.size();
    startTextures = textureRegistry.textures.size();

    // An absolute path: libFuzzer's own corpus paths stay relative to where it was started.
    scenePath = scratchFile("input.xsi");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(scenePath.c_str(), "wb");
    if (file == nullptr) return 0;
    if (size > 0) std::fwrite(data, 1, size, file);
    std::fclose(file);

    SceneNode* root = nullptr;
    loadXsiScene(scenePath.c_str(), root);
    const std::unique_ptr<SceneNode> tree(root);
    if (tree != nullptr && !treeIsSound(*tree, 0)) __builtin_trap();
    forgetLoadedResources();
    return 0;
}
