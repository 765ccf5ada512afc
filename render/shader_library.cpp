// The shader library: lookups and new materials.
#include "render/shader_library.h"

#include <cstring>

#include "render/shader_program.h"

ShaderLibrary shaderLibrary;

Material& builtInMaterial(BuiltInMaterial which) { return *shaderLibrary.materials[static_cast<std::size_t>(which)]; }

int addBuiltInMaterial(const char* vertexSource, const char* fragmentSource) {
    shaderLibrary.materials.push_back(std::make_unique<Material>());
    Material& material = *shaderLibrary.materials.back();
    material.program = createShaderProgram(vertexSource, fragmentSource);
    return static_cast<int>(shaderLibrary.materials.size() - 1);
}

Material* findMaterialByName(const char* name) {
    if (name == nullptr) return nullptr;
    for (const auto& material : shaderLibrary.materials)
        if (std::strcmp(material->name, name) == 0) return material.get();
    return nullptr;
}
