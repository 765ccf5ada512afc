// The scene tree read from a dotXSI file: model nodes carrying a local matrix and children, mesh
// nodes carrying geometry compiled into a display list, and light nodes.
#pragma once

#include <memory>
#include <vector>

#include "scene/matrix.h"

struct Material;

enum SceneNodeKind { MeshNode = 0, LightNode = 1, ModelNode = 3 };

constexpr int sceneNameSize = 80;  // name bytes, terminator included

struct Mesh {
    std::vector<float> positions;           // x, y, z per entry
    std::vector<float> textureCoordinates;  // u, 1 - v per entry; empty when the file has none
    std::vector<float> normals;             // x, y, z per entry; empty when none
    std::vector<float> colours;             // r, g, b per entry (the file's alpha is dropped); empty when none
    std::vector<int> positionIndices;       // three per triangle
    std::vector<int> textureCoordinateIndices;  // three per triangle, or empty
    std::vector<int> colourIndices;             // three per triangle, or empty
    std::vector<int> normalIndices;             // three per triangle, or empty
    unsigned triangleCount = 0;
    int positionCount = 0;
    int textureCoordinateCount = 0;
    int colourCount = 0;
    int normalCount = 0;
    Material* material;  // the file's material, or built-in material 0
    int displayList = -1;

    Mesh();

    // Every triangle in immediate mode, all in one begin and end: per corner texture coordinate,
    // normal, colour (alpha 1), vertex, for the arrays the mesh has; a triangle missing a
    // position draws nothing.
    void drawTriangles() const;

    // Records drawTriangles into a display list, once.
    void compile();

    // Material, geometry (the list, or immediate mode without one), release.
    void draw();
};

// Kind of light as read from the file's type code; unknownLight is only switched on.
enum SceneLightKind { unknownLight = -1, pointLight = 0, spotLight = 1, directionalLight = 2 };

// Lights a scene can switch on: the fixed pipeline guarantees GL_LIGHT0 to GL_LIGHT7.
constexpr int maxSceneLights = 8;

struct SceneLight {
    int kind = unknownLight;
    int glLightIndex = 0;  // GL_LIGHT0 + this; -1 for a light past maxSceneLights, never switched on
};

struct SceneNode {
    SceneNodeKind kind = ModelNode;
    std::unique_ptr<Mesh> mesh;         // payload of a mesh node
    std::unique_ptr<SceneLight> light;  // payload of a light node
    Matrix4 matrix;
    std::vector<std::unique_ptr<SceneNode>> children;  // in file order
    char name[sceneNameSize] = "unnamed";

    SceneNode() { matrix.setIdentity(); }
};
