// The shader library: every material of the run, the eight built-ins at indices 0 to 7 first,
// then those read from scene files, in the order they were read.
#pragma once

#include <memory>
#include <vector>

#include "render/material.h"

struct ShaderLibrary {
    std::vector<std::unique_ptr<Material>> materials;
};

extern ShaderLibrary shaderLibrary;

enum BuiltInMaterial {
    TexturedAlpha = 0,
    PolarQuad = 1,
    Gradient = 2,
    Sprite = 3,
    VertexColour = 4,
    BlurMask = 5,
    TexturedDim = 6,
    ScrolledTexture = 7,
    builtInMaterialCount = 8,
};

// Creates the shared render targets, then the built-in materials: the targets come first so that
// their textures hold registry indices 0 to 4.
void initShaderLibrary();

// The built-in material of that index (the library must have been built).
Material& builtInMaterial(BuiltInMaterial which);

// A new material with its own program, appended to the library; returns its index.
int addBuiltInMaterial(const char* vertexSource, const char* fragmentSource);

// The first material of that name, or null.
Material* findMaterialByName(const char* name);
