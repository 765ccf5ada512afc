// Models, transforms, meshes and lights of scene files on Mesa, and damaged geometry.
#include "xsi/xsi_models.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/print_line.h"
#include "render/shader_library.h"
#include "render/shader_program.h"
#include "scene/scene_draw.h"
#include "tests/xsi/xsi_test_files.h"

namespace {

using Ints = std::vector<int>;
using Floats = std::vector<float>;

std::string transformBlock(const std::vector<std::string>& values, const std::string& indent = "    ") {
    std::string text = indent + "SI_Transform SRT {\n";
    for (const std::string& value : values) text += indent + "    " + value + ",\n";
    return text + indent + "}\n";
}

// Each line of text moved in by levels of four spaces.
std::string indented(const std::string& text, int levels) {
    const std::string margin(4 * static_cast<std::size_t>(levels), ' ');
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find('\n', at);
        const std::size_t next = end == std::string::npos ? text.size() : end + 1;
        out += margin + text.substr(at, next - at);
        at = next;
    }
    return out;
}

// A one-mesh model: the shape's arrays and the triangle list are given as written inside them.
std::string meshModel(const std::string& name, const std::string& shapeArrays, const std::string& triangleList) {
    return "SI_Model " + name + " {\n" +
           "    SI_Mesh MSH {\n"
           "        SI_Shape SHP {\n"
           "            1,\n"
           "            \"ORIGINAL\",\n" +
           shapeArrays +
           "        }\n"
           "        SI_TriangleList TRI {\n" +
           triangleList +
           "        }\n"
           "    }\n"
           "}\n";
}

const std::string threePositions =
    "            3,\n"
    "            \"POSITION\",\n"
    "            0.000000,0.000000,0.000000,\n"
    "            1.000000,0.000000,0.000000,\n"
    "            0.000000,1.000000,0.000000,\n";

using XsiModels = XsiSceneTest;

TEST_F(XsiModels, TransformIsScaleThenRotationsThenTranslation) {
    writeSceneFile("data/transform.xsi",
                   xsiText("SI_Model MDL {\n" +
                           transformBlock({"1.000000", "1.000000", "1.000000", "0.000000", "0.000000", "90.000000",
                                           "5.000000", "0.000000", "0.000000"}) +
                           "}\n"));
    const auto root = loadScene("data/transform.xsi");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->kind, ModelNode);
    const float* m = root->matrix.m;
    EXPECT_EQ(m[12], 5.0f);
    EXPECT_NEAR(m[0], 0.0f, 1e-5f);
    EXPECT_EQ(m[1], -1.0f);
    EXPECT_EQ(m[4], 1.0f);
    EXPECT_EQ(m[15], 1.0f);

    // Scale 2 is not applied to the translation; the last of two blocks counts.
    writeSceneFile("data/scaled.xsi",
                   xsiText("SI_Model MDL {\n" + transformBlock({"9", "9", "9", "0", "0", "0", "0", "0", "0"}) +
                           transformBlock({"2", "3", "4", "0", "0", "0", "1", "2", "3"}) + "}\n"));
    const auto scaled = loadScene("data/scaled.xsi");
    ASSERT_NE(scaled, nullptr);
    const float expected[16] = {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 1, 2, 3, 1};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(scaled->matrix.m[i], expected[i]) << i;
}

TEST_F(XsiModels, ShapeWithPositionsOnly) {
    std::string eight = "            8,\n            \"POSITION\",\n";
    for (int i = 0; i < 8; ++i)
        eight += "            " + std::to_string(i & 1) + ".0," + std::to_string((i >> 1) & 1) + ".0," +
                 std::to_string(i >> 2) + ".0,\n";
    writeSceneFile("data/cube.xsi", xsiText(meshModel("MDL-cube", eight,
                                                        "            2,\n"
                                                        "            \"\",\n"
                                                        "            \"no_such_material\",\n"
                                                        "            \"\",\n"
                                                        "            0,1,2,\n"
                                                        "            5,6,7,\n")));
    const auto root = loadScene("data/cube.xsi");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->kind, MeshNode);
    ASSERT_NE(root->mesh, nullptr);
    const Mesh& mesh = *root->mesh;
    EXPECT_EQ(mesh.positionCount, 8);
    ASSERT_EQ(mesh.positions.size(), 24u);
    EXPECT_EQ(mesh.positions[21], 1.0f);
    EXPECT_EQ(mesh.positions[22], 1.0f);
    EXPECT_EQ(mesh.positions[23], 1.0f);
    EXPECT_TRUE(mesh.textureCoordinates.empty());
    EXPECT_TRUE(mesh.normals.empty());
    EXPECT_TRUE(mesh.colours.empty());
    EXPECT_EQ(mesh.textureCoordinateCount + mesh.normalCount + mesh.colourCount, 0);
    EXPECT_EQ(mesh.triangleCount, 2u);
    EXPECT_EQ(mesh.positionIndices, (Ints{0, 1, 2, 5, 6, 7}));
    EXPECT_TRUE(mesh.normalIndices.empty());
    EXPECT_TRUE(mesh.colourIndices.empty());
    EXPECT_TRUE(mesh.textureCoordinateIndices.empty());
    // An unknown material name leaves the first material of the list.
    EXPECT_EQ(mesh.material, shaderLibrary.materials.front().get());
    ASSERT_NE(mesh.displayList, -1);
    EXPECT_TRUE(glIsList(static_cast<GLuint>(mesh.displayList)));
}

TEST_F(XsiModels, ArraysOfAShape) {
    writeSceneFile("data/arrays.xsi", xsiText(meshModel("MDL", threePositions +
                                                                   "            2,\n"
                                                                   "            \"NORMAL\",\n"
                                                                   "            0.0,0.0,1.0,\n"
                                                                   "            0.0,1.0,0.0,\n"
                                                                   "            2,\n"
                                                                   "            \"COLOR\",\n"
                                                                   "            0.1,0.2,0.3,0.4,\n"
                                                                   "            0.5,0.6,0.7,0.8,\n"
                                                                   "            2,\n"
                                                                   "            \"TEX_COORD_UV0\",\n"
                                                                   "            \"Texture_Projection\",\n"
                                                                   "            0.250000,0.750000,\n"
                                                                   "            1.0,0.0,\n",
                                                        "            0,\n            \"\",\n            \"\",\n"
                                                        "            \"\",\n")));
    const auto root = loadScene("data/arrays.xsi");
    ASSERT_NE(root, nullptr);
    const Mesh& mesh = *root->mesh;
    EXPECT_EQ(mesh.positionCount, 3);
    EXPECT_EQ(mesh.normalCount, 2);
    EXPECT_EQ(mesh.colourCount, 2);
    EXPECT_EQ(mesh.textureCoordinateCount, 2);
    EXPECT_EQ(mesh.normals, (Floats{0, 0, 1, 0, 1, 0}));
    EXPECT_EQ(mesh.colours, (Floats{0.1f, 0.2f, 0.3f, 0.5f, 0.6f, 0.7f}));  // alpha dropped
    EXPECT_EQ(mesh.textureCoordinates, (Floats{0.25f, 0.25f, 1.0f, 1.0f}));  // v stored as 1 - v
    EXPECT_EQ(mesh.triangleCount, 0u);
}

TEST_F(XsiModels, IndexSectionsInFixedOrderWithEmptyLinesSkipped) {
    const std::string shape = threePositions +
                              "            3,\n            \"NORMAL\",\n            0,0,1,\n            0,0,1,\n"
                              "            0,0,1,\n"
                              "            3,\n            \"COLOR\",\n            1,0,0,1,\n            0,1,0,1,\n"
                              "            0,0,1,1,\n"
                              "            3,\n            \"TEX_COORD_UV0\",\n            \"uv\",\n"
                              "            0,0,\n            1,0,\n            0,1,\n";
    // Written TEX_COORD_UV0 first, read NORMAL, COLOR, TEX_COORD_UV0; empty lines count for nothing.
    writeSceneFile("data/order.xsi", xsiText(meshModel("MDL", shape,
                                                         "            2,\n"
                                                         "            \"TEX_COORD_UV0|COLOR|NORMAL\",\n"
                                                         "            \"\",\n"
                                                         "            \"\",\n"
                                                         "            0,1,2,\n"
                                                         "\n"
                                                         "            2,1,0,\n"
                                                         "\n"
                                                         "\n"
                                                         "            1,1,1,\n"
                                                         "            0,0,0,\n"
                                                         "\n"
                                                         "            2,2,2,\n"
                                                         "            1,2,0,\n"
                                                         "            0,2,1,\n"
                                                         "\n"
                                                         "            2,0,1,\n")));
    const auto root = loadScene("data/order.xsi");
    ASSERT_NE(root, nullptr);
    const Mesh& mesh = *root->mesh;
    EXPECT_EQ(mesh.triangleCount, 2u);
    EXPECT_EQ(mesh.positionIndices, (Ints{0, 1, 2, 2, 1, 0}));
    EXPECT_EQ(mesh.normalIndices, (Ints{1, 1, 1, 0, 0, 0}));
    EXPECT_EQ(mesh.colourIndices, (Ints{2, 2, 2, 1, 2, 0}));
    EXPECT_EQ(mesh.textureCoordinateIndices, (Ints{0, 2, 1, 2, 0, 1}));
}

TEST_F(XsiModels, NormalListReadsNoColourSection) {
    const std::string shape = threePositions +
                              "            1,\n            \"COLOR\",\n            1,0,0,1,\n"
                              "            1,\n            \"NORMAL\",\n            0,0,1,\n";
    writeSceneFile("data/normal.xsi", xsiText(meshModel("MDL", shape,
                                                          "            1,\n"
                                                          "            \"NORMAL\",\n"
                                                          "            \"\",\n"
                                                          "            \"\",\n"
                                                          "            0,1,2,\n"
                                                          "            0,0,0,\n")));
    const auto root = loadScene("data/normal.xsi");
    ASSERT_NE(root, nullptr);
    const Mesh& mesh = *root->mesh;
    EXPECT_EQ(mesh.colourCount, 1);
    EXPECT_EQ(mesh.normalIndices, (Ints{0, 0, 0}));
    EXPECT_TRUE(mesh.colourIndices.empty());
    EXPECT_TRUE(mesh.textureCoordinateIndices.empty());
}

TEST_F(XsiModels, MeshTakesItsMaterialByNameAndDrawsFromItsList) {
    const int index = addBuiltInMaterial("void main() { gl_FrontColor = gl_Color; gl_Position = ftransform(); }",
                                         "void main() { gl_FragColor = gl_Color; }");
    Material& named = *shaderLibrary.materials[static_cast<std::size_t>(index)];
    std::snprintf(named.name, sizeof named.name, "xsi_models_vertex_colour");
    named.depthTest = 0;
    // A triangle covering the whole view, one colour at every corner.
    const std::string shape =
        "            3,\n            \"POSITION\",\n            -1,-1,0,\n            3,-1,0,\n            -1,3,0,\n"
        "            1,\n            \"COLOR\",\n            0.0,1.0,0.0,0.2,\n";
    writeSceneFile("data/drawn.xsi", xsiText(meshModel("MDL", shape,
                                                         "            1,\n"
                                                         "            \"COLOR\",\n"
                                                         "            \"xsi_models_vertex_colour\",\n"
                                                         "            \"\",\n"
                                                         "            0,1,2,\n"
                                                         "            0,0,0,\n")));
    const auto root = loadScene("data/drawn.xsi");
    ASSERT_NE(root, nullptr);
    Mesh& mesh = *root->mesh;
    EXPECT_EQ(mesh.material, &named);

    bindFakeWindow(16, 16);
    glViewport(0, 0, 16, 16);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    mesh.draw();
    EXPECT_TRUE(near(pixelAt(8, 8, 16), Rgba{0, 255, 0, 255}, 2)) << pixelAt(8, 8, 16);
}

TEST_F(XsiModels, NestedModelsEndAtTheirOwnIndent) {
    writeSceneFile("data/nested.xsi",
                   xsiText("SI_Model MDL-top {\n"
                           "    SI_Model MDL-child {\n"
                           "        SI_Model MDL-grandchild {\n"
                           "        }\n"
                           // A brace at another indent than the model's own does not end it.
                           "        SI_Visibility {\n"
                           "        }\n" +
                           transformBlock({"1", "1", "1", "0", "0", "0", "7", "0", "0"}, "        ") +
                           "    }\n"
                           "    SI_Model MDL-sibling {\n"
                           "    }\n" +
                           transformBlock({"1", "1", "1", "0", "0", "0", "3", "0", "0"}) +
                           "    SI_Visibility {\n"
                           "    }\n"
                           "}\n"
                           "SI_Model MDL-ignored {\n"
                           "}\n"));
    const auto root = loadScene("data/nested.xsi");
    ASSERT_NE(root, nullptr);
    EXPECT_STREQ(root->name, "MDL-top");
    EXPECT_EQ(root->matrix.m[12], 3.0f);
    ASSERT_EQ(root->children.size(), 2u);
    const SceneNode& child = *root->children[0];
    EXPECT_STREQ(child.name, "MDL-child");
    EXPECT_EQ(child.kind, ModelNode);
    EXPECT_EQ(child.matrix.m[12], 7.0f);
    ASSERT_EQ(child.children.size(), 1u);
    EXPECT_STREQ(child.children[0]->name, "MDL-grandchild");
    EXPECT_STREQ(root->children[1]->name, "MDL-sibling");
}

TEST_F(XsiModels, MeshBraceAtIndentOneIsDroppedByTheTopModel) {
    // The mesh and its closing braces are followed by the end of the model: add a child after it.
    std::string text = xsiText(meshModel("MDL", threePositions, "            0,\n            \"\",\n            \"\",\n"
                                                                "            \"\",\n"));
    text.insert(text.rfind("}\n"), "\tSI_Model MDL-after {\n\t}\n");
    writeSceneFile("data/after_mesh.xsi", text);
    const auto root = loadScene("data/after_mesh.xsi");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->kind, MeshNode);
    ASSERT_EQ(root->children.size(), 1u);
    EXPECT_STREQ(root->children[0]->name, "MDL-after");
}

const std::string lightsFile = xsiText(R"(SI_Model MDL-lights {
    SI_Light LIGHT-point {
        0,
        1.0,
        2.0,
        3.0,
        SI_LightInfo {
            1,
        }
    }
    SI_Light LIGHT-spot {
        2,
        0.0,
        0.0,
        0.0,
        SI_LightInfo {
        }
    }
    SI_Light LIGHT-infinite {
        3,
        0.0,
        0.0,
        0.0,
        0.0,
        0.0,
        0.0,
        }
        }
        }
        SI_LightInfo {
        }
    }
    SI_Model MDL-after-lights {
    }
}
)");

TEST_F(XsiModels, LightsAreNumberedInFileOrderPerFile) {
    writeSceneFile("data/lights.xsi", lightsFile);
    for (int load = 0; load < 2; ++load) {
        const auto root = loadScene("data/lights.xsi");
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(root->kind, ModelNode);
        ASSERT_EQ(root->children.size(), 4u);
        const int kinds[3] = {pointLight, spotLight, directionalLight};
        for (int i = 0; i < 3; ++i) {
            const SceneNode& node = *root->children[static_cast<std::size_t>(i)];
            EXPECT_EQ(node.kind, LightNode);
            EXPECT_STREQ(node.name, "unnamed");
            ASSERT_NE(node.light, nullptr);
            EXPECT_EQ(node.light->glLightIndex, i);
            EXPECT_EQ(node.light->kind, kinds[i]);
            EXPECT_EQ(node.matrix.m[0], 1.0f);
        }
        EXPECT_STREQ(root->children[3]->name, "MDL-after-lights");
    }
}

TEST_F(XsiModels, LightsPastTheEighthAreNamedAndNeverSwitchedOn) {
    std::string text = "SI_Model MDL {\n";
    for (int i = 0; i < 10; ++i)
        text += "    SI_Light LIGHT-" + std::to_string(i) + " {\n        0,\n        0.0,\n        0.0,\n        0.0,\n"
                "        SI_LightInfo {\n        }\n    }\n";
    writeSceneFile("data/many_lights.xsi", xsiText(text + "}\n"));
    std::string printed;
    const auto root = loadSceneQuoting("data/many_lights.xsi", printed);
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->children.size(), 10u);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(root->children[i]->light->glLightIndex, i < 8 ? i : -1) << i;
    EXPECT_NE(printed.find("data/many_lights.xsi: more than 8 lights; light LIGHT-8"), std::string::npos) << printed;
    EXPECT_EQ(countOf(printed, "more than 8 lights"), 2u) << printed;

    // Drawn, the extra lights leave GL without an error and the eight lights on.
    while (glGetError() != GL_NO_ERROR) {
    }
    drawSceneNode(root.get());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    for (int i = 0; i < 8; ++i) EXPECT_TRUE(glIsEnabled(GL_LIGHT0 + i)) << i;
    for (int i = 0; i < 8; ++i) glDisable(GL_LIGHT0 + i);
}

TEST_F(XsiModels, UnknownLightTypeIsOnlySwitchedOn) {
    writeSceneFile("data/odd_light.xsi", xsiText(R"(SI_Model MDL {
    SI_Light LIGHT-odd {
        7,
        0.0,
        0.0,
        0.0,
        SI_LightInfo {
        }
    }
    SI_Light LIGHT-next {
        0,
        0.0,
        0.0,
        0.0,
        SI_LightInfo {
        }
    }
}
)"));
    std::string printed;
    const auto root = loadSceneQuoting("data/odd_light.xsi", printed);
    EXPECT_EQ(countOf(printed, "Unknown type of light!\n"), 1u) << printed;
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->children.size(), 2u);
    EXPECT_EQ(root->children[0]->light->kind, unknownLight);
    EXPECT_EQ(root->children[0]->light->glLightIndex, 0);
    EXPECT_EQ(root->children[1]->light->kind, pointLight);
    EXPECT_EQ(root->children[1]->light->glLightIndex, 1);
}

// ---- damaged geometry -----------------------------------------------------------------------

TEST_F(XsiModels, CountsThatDoNotFitTheFileAreRefused) {
    const std::string shape = "            -4,\n            \"POSITION\",\n            1,2,3,\n"
                              "            2000000000,\n            \"NORMAL\",\n            0,0,1,\n"
                              "            1,\n            \"COLOR\",\n            1,1,1,1,\n";
    writeSceneFile("data/counts.xsi", xsiText(meshModel("MDL", shape,
                                                          "            -1,\n"
                                                          "            \"\",\n"
                                                          "            \"\",\n"
                                                          "            \"\",\n"
                                                          "            0,0,0,\n")));
    std::string printed;
    const auto root = loadSceneQuoting("data/counts.xsi", printed);
    ASSERT_NE(root, nullptr);
    const Mesh& mesh = *root->mesh;
    EXPECT_TRUE(mesh.positions.empty());
    EXPECT_EQ(mesh.positionCount, 0);
    EXPECT_TRUE(mesh.normals.empty());
    EXPECT_EQ(mesh.normalCount, 0);
    EXPECT_EQ(mesh.colours, (Floats{1, 1, 1}));
    EXPECT_EQ(mesh.triangleCount, 0u);
    EXPECT_NE(printed.find("position count -4"), std::string::npos) << printed;
    EXPECT_NE(printed.find("normal count 2000000000"), std::string::npos) << printed;
    EXPECT_NE(printed.find("triangle count -1"), std::string::npos) << printed;

    // A count the rest of the file can hold is taken, even where the file then ends early.
    writeSceneFile("data/tight.xsi", "SI_Model M {\nSI_Mesh {\nSI_Shape {\n1,\n\"\",\n3,\n\"POSITION\",\n1,2,3");
    const auto tight = loadScene("data/tight.xsi");
    ASSERT_NE(tight, nullptr);
    EXPECT_EQ(tight->mesh->positions, (Floats{1, 2, 3, 0, 0, 0, 0, 0, 0}));
}

TEST_F(XsiModels, TrianglesAddressingNoEntryAreDropped) {
    const std::string shape = threePositions +
                              "            2,\n            \"NORMAL\",\n            0,0,1,\n            0,1,0,\n"
                              "            1,\n            \"TEX_COORD_UV0\",\n            \"uv\",\n            0,0,\n";
    writeSceneFile("data/indices.xsi", xsiText(meshModel("MDL-broken", shape,
                                                           "            6,\n"
                                                           "            \"NORMAL|TEX_COORD_UV0|COLOR\",\n"
                                                           "            \"\",\n"
                                                           "            \"\",\n"
                                                           "            0,1,2,\n"  // kept
                                                           "            0,1,3,\n"  // position 3 of 3
                                                           "            2,1,0,\n"  // normal 2 of 2
                                                           "            0,-1,2,\n"  // negative position
                                                           "            1,2,0,\n"  // texture coordinate 1 of 1
                                                           "            2,2,2,\n"  // kept
                                                           "            0,0,1,\n"
                                                           "            0,0,0,\n"
                                                           "            0,0,2,\n"
                                                           "            0,0,0,\n"
                                                           "            0,0,0,\n"
                                                           "            1,1,0,\n"
                                                           // colours: the shape has none, so never drawn
                                                           "            9,9,9,\n"
                                                           "            9,9,9,\n"
                                                           "            9,9,9,\n"
                                                           "            9,9,9,\n"
                                                           "            9,9,9,\n"
                                                           "            8,8,8,\n"
                                                           "            0,0,0,\n"
                                                           "            0,0,0,\n"
                                                           "            0,0,0,\n"
                                                           "            0,0,0,\n"
                                                           "            0,1,0,\n"
                                                           "            0,0,0,\n")));
    std::string printed;
    const auto root = loadSceneQuoting("data/indices.xsi", printed);
    ASSERT_NE(root, nullptr);
    const Mesh& mesh = *root->mesh;
    EXPECT_EQ(mesh.triangleCount, 2u);
    EXPECT_EQ(mesh.positionIndices, (Ints{0, 1, 2, 2, 2, 2}));
    EXPECT_EQ(mesh.normalIndices, (Ints{0, 0, 1, 1, 1, 0}));
    EXPECT_EQ(mesh.colourIndices, (Ints{9, 9, 9, 8, 8, 8}));
    EXPECT_EQ(mesh.textureCoordinateIndices, (Ints{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(countOf(printed, "MDL-broken"), 1u) << printed;
    EXPECT_NE(printed.find("4 triangles"), std::string::npos) << printed;
}

TEST_F(XsiModels, TriangleListCutShortKeepsWhatWasRead) {
    writeSceneFile("data/short.xsi", xsiText("SI_Model MDL {\n    SI_Mesh MSH {\n        SI_Shape SHP {\n"
                                             "            1,\n            \"ORIGINAL\",\n" +
                                             threePositions +
                                             "        }\n        SI_TriangleList TRI {\n"
                                             "            40,\n            \"NORMAL\",\n            \"\",\n"
                                             "            \"\",\n            0,1,2,\n            2,1,0,\n"));
    std::string printed;
    const auto root = loadSceneQuoting("data/short.xsi", printed);
    ASSERT_NE(root, nullptr);
    const Mesh& mesh = *root->mesh;
    EXPECT_EQ(mesh.triangleCount, 2u);
    EXPECT_EQ(mesh.positionIndices, (Ints{0, 1, 2, 2, 1, 0}));
    EXPECT_TRUE(mesh.normalIndices.empty());
    EXPECT_NE(printed.find("2 of 40 triangles"), std::string::npos) << printed;
    EXPECT_NE(mesh.displayList, -1);
}

TEST_F(XsiModels, EveryPrefixOfAFileLoads) {
    const std::string lights =
        lightsFile.substr(lightsFile.find('\n') + 1, lightsFile.rfind('}') - lightsFile.find('\n') - 1);
    const std::string text =
        xsiText("SI_Model MDL-top {\n" + transformBlock({"1", "1", "1", "0", "0", "0", "0", "0", "0"}) +
                "    SI_Model MDL-child {\n"
                "    }\n") +
        lights +
        xsiText(indented(meshModel("MDL-mesh", threePositions + "            1,\n            \"TEX_COORD_UV0\",\n"
                                                                "            \"uv\",\n            0.5,0.5,\n",
                                   "            1,\n            \"TEX_COORD_UV0\",\n            \"\",\n"
                                   "            \"\",\n            0,1,2,\n            0,0,0,\n"),
                         1)) +
        "}\n";
    testing::internal::CaptureStdout();
    for (std::size_t length = 0; length <= text.size(); ++length) {
        writeSceneFile("data/prefix.xsi", text.substr(0, length));
        const auto root = loadScene("data/prefix.xsi");
        if (length > 10) {
            EXPECT_NE(root, nullptr) << length;
        }
    }
    testing::internal::GetCapturedStdout();
}

TEST_F(XsiModels, DeepNestingIsBounded) {
    std::string text;
    const int levels = 200;
    for (int i = 0; i < levels; ++i) text += std::string(static_cast<std::size_t>(i), '\t') + "SI_Model M" + std::to_string(i) + " {\n";
    for (int i = levels - 1; i >= 0; --i) text += std::string(static_cast<std::size_t>(i), '\t') + "}\n";
    text += "\tSI_Model after {\n\t}\n";
    writeSceneFile("data/deep.xsi", text);
    std::string printed;
    const auto root = loadSceneQuoting("data/deep.xsi", printed);
    ASSERT_NE(root, nullptr);
    int depth = 0;
    const SceneNode* node = root.get();
    while (!node->children.empty()) {
        node = node->children[0].get();
        ++depth;
    }
    EXPECT_EQ(depth, maxModelDepth);
    EXPECT_EQ(countOf(printed, "nested deeper"), 1u) << printed;
    EXPECT_EQ(root->children.size(), 1u);  // the top model ended at its own brace
}

// What is said once per file is said again for the next file: the counts are the file's.
TEST_F(XsiModels, DeepNestingIsNamedOncePerFile) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += std::string(static_cast<std::size_t>(i), '\t') + "SI_Model M" + std::to_string(i) + " {\n";
    for (int i = 39; i >= 0; --i) text += std::string(static_cast<std::size_t>(i), '\t') + "}\n";
    writeSceneFile("data/deep.xsi", text);
    for (int load = 0; load < 2; ++load) {
        std::string printed;
        const auto root = loadSceneQuoting("data/deep.xsi", printed);
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(countOf(printed, "nested deeper"), 1u) << "load " << load << "\n" << printed;
    }
}

// The check names a file's first five bad numbers, then how many more it has; each file anew.
TEST_F(XsiModels, TheCheckNamesFiveBadNumbersOfAFileThenCountsTheRest) {
    setConsoleQuiet(true);
    const std::unique_ptr<void, void (*)(void*)> loudAgain(this, [](void*) { setConsoleQuiet(false); });
    writeSceneFile("data/numbers.xsi",
                   xsiText("xsi 0300txt 0032\nSI_Model MDL {\n" +
                           transformBlock({"a", "b", "c", "d", "e", "f", "g", "0", "0"}) + "}\n"));
    for (int load = 0; load < 2; ++load) {
        std::string printed;
        const auto root = loadSceneQuoting("data/numbers.xsi", printed);
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(countOf(printed, "is not a number; the show reads it as 0."), 5u) << "load " << load << "\n" << printed;
        EXPECT_NE(printed.find("Scene file data/numbers.xsi, line 8: \"e,\" is not a number"), std::string::npos)
            << printed;
        EXPECT_EQ(printed.find("\"f,\""), std::string::npos) << printed;
        EXPECT_NE(printed.find("Scene file data/numbers.xsi: 2 more lines with numbers like those above."),
                  std::string::npos)
            << "load " << load << "\n" << printed;
    }
}

}  // namespace
