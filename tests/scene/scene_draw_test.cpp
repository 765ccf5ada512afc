// Drawing hand-built scene trees on Mesa, and the tree operations.
#include "scene/scene_draw.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "render/gl_state.h"
#include "render/render_destinations.h"
#include "render/render_target.h"
#include "render/shader_library.h"
#include "scene/scene_node.h"
#include "tests/support/gl_context.h"

namespace {

std::unique_ptr<SceneNode> lightNode(int glIndex, int kind) {
    auto node = std::make_unique<SceneNode>();
    node->kind = LightNode;
    node->light = std::make_unique<SceneLight>();
    node->light->glLightIndex = glIndex;
    node->light->kind = kind;
    return node;
}

// A mesh node with one triangle covering the square (-1, -1)..(1, 1) mostly, and the material.
std::unique_ptr<SceneNode> meshNode(Material* material, bool withColours = false) {
    auto node = std::make_unique<SceneNode>();
    node->kind = MeshNode;
    node->mesh = std::make_unique<Mesh>();
    Mesh& mesh = *node->mesh;
    mesh.positions = {-4, -4, 0, 4, -4, 0, 0, 4, 0};
    mesh.positionIndices = {0, 1, 2};
    mesh.positionCount = 3;
    mesh.triangleCount = 1;
    if (withColours) {
        mesh.colours = {0, 0, 1, 0, 0, 1, 0, 0, 1};
        mesh.colourIndices = {0, 1, 2};
        mesh.colourCount = 3;
    }
    mesh.material = material;
    mesh.compile();
    return node;
}

Material* namedMaterial(const char* name) {
    const int index = addBuiltInMaterial("void main() { gl_Position = ftransform(); }",
                                         "void main() { gl_FragColor = vec4(1.0); }");
    Material* material = shaderLibrary.materials[static_cast<std::size_t>(index)].get();
    std::snprintf(material->name, materialNameSize, "%s", name);
    return material;
}

class SceneDrawing : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(requireShaderLibrary()); }
};

TEST_F(SceneDrawing, DirectionalLightsShineFromFixedWorldDirections) {
    resetModelview();
    setCamera(3, 4, 5, 0, 0, 0, 0, 1, 0);
    SceneNode root;
    root.matrix.setRotationZ(1.0f);  // node matrices do not turn the directions
    root.children.push_back(lightNode(0, directionalLight));
    root.children.push_back(lightNode(1, directionalLight));
    root.children.push_back(lightNode(2, directionalLight));
    root.children.push_back(lightNode(3, pointLight));
    root.children.push_back(lightNode(4, unknownLight));
    for (int i = 0; i < 5; ++i) glDisable(GL_LIGHT0 + i);
    drawSceneNode(&root);

    auto eyeSpace = [](const float (&d)[4], float (&out)[4]) {
        const float* v = renderDestinations.viewMatrix;
        for (int r = 0; r < 4; ++r) out[r] = v[r] * d[0] + v[4 + r] * d[1] + v[8 + r] * d[2] + v[12 + r] * d[3];
    };
    const float first[4] = {0.4f, 1.0f, 0.2f, 0.0f}, other[4] = {0.3f, 0.5f, -5.0f, 0.0f};
    for (int i = 0; i < 3; ++i) {
        float expected[4], actual[4];
        eyeSpace(i == 0 ? first : other, expected);
        glGetLightfv(GL_LIGHT0 + i, GL_POSITION, actual);
        for (int k = 0; k < 4; ++k) EXPECT_NEAR(actual[k], expected[k], 1e-5f) << "light " << i;
    }
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(glIsEnabled(GL_LIGHT0 + i)) << i;
    float pointPosition[4];
    glGetLightfv(GL_LIGHT3, GL_POSITION, pointPosition);
    EXPECT_EQ(pointPosition[2], 1.0f) << "other kinds are only switched on: GL's default position";
    EXPECT_EQ(pointPosition[3], 0.0f);

    float modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    for (int k = 0; k < 16; ++k) EXPECT_EQ(modelview[k], renderDestinations.viewMatrix[k]) << "matrix stack restored";
}

// A cleared 16x16 target with identity matrices and blending off: meshes land as drawn.
void startFlatDrawing() {
    bindRenderTarget(offscreenTarget(16, 16));
    glClearColor(0, 0, 0, 0);
    clearBuffers(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    resetModelview();
    setBlendMode(BlendMode::Off);
}

TEST_F(SceneDrawing, MeshesDrawWithTheirMaterialAndColours) {
    startFlatDrawing();
    SceneNode root;
    root.children.push_back(meshNode(&builtInMaterial(VertexColour)));
    glColor4f(1, 0, 0, 0.5f);
    drawSceneNode(&root);
    EXPECT_PRED3(near, pixelAt(8, 8, 16), (Rgba{255, 0, 0, 128}), 1) << "no colours: the current one";
    EXPECT_EQ(currentMaterial, nullptr) << "each mesh releases its material";

    root.children.push_back(meshNode(&builtInMaterial(VertexColour), true));
    glColor4f(1, 0, 0, 0.5f);
    const int listsBefore = root.children[1]->mesh->displayList;
    drawSceneNode(&root);
    drawSceneNode(&root);
    EXPECT_EQ(pixelAt(8, 8, 16), (Rgba{0, 0, 255, 255})) << "mesh colours come with alpha 1";
    EXPECT_EQ(root.children[1]->mesh->displayList, listsBefore) << "no new lists when drawn again";
    const GLuint next = glGenLists(1);
    EXPECT_EQ(next, static_cast<GLuint>(listsBefore) + 1);
}

TEST_F(SceneDrawing, ATriangleMissingAPositionLeavesTheNextOneWhole) {
    startFlatDrawing();
    SceneNode root;
    root.children.push_back(meshNode(&builtInMaterial(VertexColour), true));
    Mesh& mesh = *root.children[0]->mesh;
    glDeleteLists(static_cast<GLuint>(mesh.displayList), 1);
    mesh.displayList = -1;
    mesh.positionIndices = {0, 7, 1, 0, 1, 2};  // 7 addresses nothing
    mesh.colourIndices = {0, 1, 2, 0, 1, 2};
    mesh.triangleCount = 2;
    mesh.compile();
    drawSceneNode(&root);
    EXPECT_EQ(pixelAt(8, 8, 16), (Rgba{0, 0, 255, 255}));
}

TEST_F(SceneDrawing, MaterialsAreFoundDepthFirstByPartOfTheirName) {
    Material* outer = namedMaterial("sky_outer");
    Material* inner = namedMaterial("sky_inner");
    Material* tricky = namedMaterial("aab");
    SceneNode root;
    auto model = std::make_unique<SceneNode>();
    model->children.push_back(meshNode(inner));
    root.children.push_back(std::move(model));
    root.children.push_back(meshNode(outer));
    root.children.push_back(meshNode(tricky));
    EXPECT_EQ(findSceneMaterial(&root, "sky"), inner) << "depth first";
    EXPECT_EQ(findSceneMaterial(&root, "outer"), outer);
    EXPECT_EQ(findSceneMaterial(&root, "ab"), nullptr) << "no restart inside a partial match";
    EXPECT_EQ(findSceneMaterial(&root, "moon"), nullptr);
    EXPECT_EQ(findSceneMaterial(nullptr, "sky"), nullptr);

    auto self = meshNode(outer);
    self->children.push_back(meshNode(inner));
    EXPECT_EQ(findSceneMaterial(self.get(), "sky"), outer) << "the node before its children";
}

TEST_F(SceneDrawing, ClearingTranslationsKeepsScaleAndRotation) {
    SceneNode model;
    model.matrix.setTranslation(1, 2, 3);
    auto mesh = meshNode(nullptr);
    mesh->matrix.setScale(2, 2, 2);
    Matrix4 move;
    move.setTranslation(5, 0, 0);
    mesh->matrix.multiply(move);
    auto child = meshNode(nullptr);
    child->matrix.setTranslation(0, 7, 0);
    mesh->children.push_back(std::move(child));
    model.children.push_back(std::move(mesh));
    clearMeshTranslations(&model);
    const SceneNode& cleared = *model.children[0];
    EXPECT_EQ(cleared.matrix.m[0], 2.0f);
    EXPECT_EQ(cleared.matrix.m[12], 0.0f);
    EXPECT_EQ(cleared.matrix.m[13], 0.0f);
    EXPECT_EQ(cleared.matrix.m[14], 0.0f);
    EXPECT_EQ(cleared.children[0]->matrix.m[13], 0.0f);
    EXPECT_EQ(model.matrix.m[12], 1.0f) << "model nodes keep their translation";
}

TEST_F(SceneDrawing, BoundsFollowTheNodeMatricesAndBoxesBeyondAPlaneAreOutside) {
    auto mesh = meshNode(nullptr);
    mesh->matrix.setScale(2, 2, 2);
    Matrix4 move;
    move.setTranslation(5, 0, 0);
    mesh->matrix.multiply(move);  // x' = 2x + 5
    auto child = meshNode(nullptr);
    child->matrix.setTranslation(0, 7, 0);
    mesh->children.push_back(std::move(child));
    const SceneBounds box = sceneBounds(mesh.get());
    ASSERT_FALSE(box.empty);
    EXPECT_EQ(box.low[0], -3.0f);
    EXPECT_EQ(box.high[0], 13.0f);
    EXPECT_EQ(box.low[1], -8.0f);
    EXPECT_EQ(box.high[1], 22.0f) << "the child's (0, 11) under both matrices";
    EXPECT_EQ(box.low[2], 0.0f);
    EXPECT_EQ(box.high[2], 0.0f);
    EXPECT_TRUE(sceneBounds(nullptr).empty);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2, 2, -2, 2, -1, 1);
    resetModelview();
    SceneBounds unit;
    unit.low[0] = unit.low[1] = unit.low[2] = -1;
    unit.high[0] = unit.high[1] = unit.high[2] = 1;
    unit.empty = false;
    EXPECT_FALSE(boxOutsideView(unit));
    translate(2.9f, 0, 0);
    EXPECT_FALSE(boxOutsideView(unit)) << "a corner still inside";
    translate(0.2f, 0, 0);
    EXPECT_TRUE(boxOutsideView(unit));
    resetModelview();
    translate(0, 0, -2.5f);
    EXPECT_TRUE(boxOutsideView(unit)) << "beyond the far plane";
    EXPECT_FALSE(boxOutsideView(SceneBounds{})) << "an empty box";
}

}  // namespace
