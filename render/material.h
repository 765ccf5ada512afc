// Materials: a GLSL program with the values of its vec4 uniforms and the textures of its samplers,
// each slot addressed by the uniform's name, and the apply/release pair every draw goes through.
#pragma once

#include <memory>
#include <vector>

constexpr int materialNameSize = 80;  // name bytes, terminator included

struct MaterialUniform {
    float value[4];
    char name[materialNameSize];
};

struct MaterialTexture {
    int textureIndex;  // texture registry index
    char uniformName[materialNameSize];
    char imageName[materialNameSize];  // as the material library names it, then its file path
};

// Cube-face parameter names in the order the faces are stored.
inline constexpr const char* cubeFaceNames[6] = {"left", "right", "top", "bottom", "back", "front"};

struct MaterialCubeTexture {
    int textureIndex;  // registry index of a cube map
    char uniformName[materialNameSize];
    char faceNames[6][materialNameSize];  // left, right, top, bottom, back, front
};

struct Material {
    // Slots are owned records so that pointers to them stay valid as more are added.
    std::vector<std::unique_ptr<MaterialUniform>> uniforms;
    std::vector<std::unique_ptr<MaterialTexture>> textures;          // 2D slot j on texture unit j
    std::vector<std::unique_ptr<MaterialCubeTexture>> cubeTextures;  // cube slot i on unit textures.size() + i
    unsigned program = 0;
    char name[materialNameSize] = {};
    int depthTest = 1;

    MaterialUniform* addUniform(float x, float y, float z, float w, const char* uniformName);
    MaterialTexture* addTexture(int textureIndex, const char* uniformName);
    MaterialCubeTexture* addCubeTexture(int textureIndex, const char* uniformName);
    MaterialUniform* findUniform(const char* uniformName) const;  // exact, case-sensitive; null if none
    MaterialTexture* findTexture(const char* uniformName) const;  // 2D slots only

    // Makes the material (or the override) current with all its values; nothing at all when it
    // is already the current material, so values stored since reach GL only after a release.
    void apply();
};

extern Material* currentMaterial;
extern Material* overrideMaterial;  // shown instead of whichever material a draw applies

// Store into a slot found by name; a null slot (name not found) is left alone.
MaterialUniform* setUniformValue(MaterialUniform* uniform, float x, float y, float z, float w);
MaterialTexture* setTextureSlot(MaterialTexture* slot, int textureIndex);

// Switches texturing, blending, lighting and the program off again; no material is current after.
void releaseMaterial(const Material* material);
