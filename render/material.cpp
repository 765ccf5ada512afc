// Materials and the apply/release pattern every draw follows.
#include "render/material.h"

#include <GL/glew.h>

#include <cstring>

#include "base/print_line.h"
#include "render/shader_program.h"
#include "render/texture_registry.h"

Material* currentMaterial = nullptr;
Material* overrideMaterial = nullptr;

namespace {

void copyName(char (&destination)[materialNameSize], const char* source) {
    formatText(destination, sizeof destination, "%s", source != nullptr ? source : "");
}

template <typename Slot>
Slot* findSlot(const std::vector<std::unique_ptr<Slot>>& slots, const char* wanted, char (Slot::*field)[materialNameSize]) {
    if (wanted == nullptr) return nullptr;
    for (const auto& slot : slots)
        if (std::strcmp((*slot).*field, wanted) == 0) return slot.get();
    return nullptr;
}

}  // namespace

MaterialUniform* Material::addUniform(float x, float y, float z, float w, const char* uniformName) {
    auto uniform = std::make_unique<MaterialUniform>();
    uniform->value[0] = x;
    uniform->value[1] = y;
    uniform->value[2] = z;
    uniform->value[3] = w;
    copyName(uniform->name, uniformName);
    uniforms.push_back(std::move(uniform));
    return uniforms.back().get();
}

MaterialTexture* Material::addTexture(int textureIndex, const char* uniformName) {
    auto slot = std::make_unique<MaterialTexture>();
    slot->textureIndex = textureIndex;
    copyName(slot->uniformName, uniformName);
    textures.push_back(std::move(slot));
    return textures.back().get();
}

MaterialCubeTexture* Material::addCubeTexture(int textureIndex, const char* uniformName) {
    auto slot = std::make_unique<MaterialCubeTexture>();
    slot->textureIndex = textureIndex;
    copyName(slot->uniformName, uniformName);
    cubeTextures.push_back(std::move(slot));
    return cubeTextures.back().get();
}

MaterialUniform* Material::findUniform(const char* uniformName) const {
    return findSlot(uniforms, uniformName, &MaterialUniform::name);
}

MaterialTexture* Material::findTexture(const char* uniformName) const {
    return findSlot(textures, uniformName, &MaterialTexture::uniformName);
}

void Material::apply() {
    if (currentMaterial == this) return;
    currentMaterial = this;
    const Material& shown = overrideMaterial != nullptr ? *overrideMaterial : *this;

    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_CUBE_MAP);
    if (shown.depthTest != 0)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
    useProgram(shown.program);
    for (const auto& uniform : shown.uniforms) setUniformVec4(shown.program, uniform->name, uniform->value);
    const int cubeUnitBase = static_cast<int>(shown.textures.size());
    for (std::size_t i = 0; i < shown.cubeTextures.size(); ++i) {
        const MaterialCubeTexture& cube = *shown.cubeTextures[i];
        setSamplerCube(shown.program, cube.uniformName, cube.textureIndex, cubeUnitBase + static_cast<int>(i));
    }
    for (std::size_t j = 0; j < shown.textures.size(); ++j) {
        const MaterialTexture& slot = *shown.textures[j];
        setSampler2D(shown.program, slot.uniformName, textureNames[slot.textureIndex], static_cast<int>(j));
    }
}

MaterialUniform* setUniformValue(MaterialUniform* uniform, float x, float y, float z, float w) {
    if (uniform != nullptr) {
        uniform->value[0] = x;
        uniform->value[1] = y;
        uniform->value[2] = z;
        uniform->value[3] = w;
    }
    return uniform;
}

MaterialTexture* setTextureSlot(MaterialTexture* slot, int textureIndex) {
    if (slot != nullptr) slot->textureIndex = textureIndex;
    return slot;
}

void releaseMaterial(const Material*) {
    glDisable(GL_TEXTURE_CUBE_MAP);
    glActiveTextureARB(GL_TEXTURE0);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    useNoProgram();
    currentMaterial = nullptr;
}
