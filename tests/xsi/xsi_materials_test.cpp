// Material and image libraries of scene files on Mesa: GLSL collection, slots, duplicates,
// texture binding with its filter rule, cube faces, and damaged or overlong input.
#include "xsi/xsi_materials.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/print_line.h"
#include "render/shader_library.h"
#include "render/texture_registry.h"
#include "tests/support/png_files.h"
#include "tests/xsi/xsi_test_files.h"

namespace {

using Bytes = std::vector<unsigned char>;

// The sources a program was linked from, by shader type.
struct ProgramSources {
    std::string vertex;
    std::string fragment;
};

ProgramSources sourcesOf(unsigned program) {
    ProgramSources sources;
    GLuint shaders[4] = {};
    GLsizei count = 0;
    glGetAttachedShaders(program, 4, &count, shaders);
    for (GLsizei i = 0; i < count; ++i) {
        GLint type = 0, length = 0;
        glGetShaderiv(shaders[i], GL_SHADER_TYPE, &type);
        glGetShaderiv(shaders[i], GL_SHADER_SOURCE_LENGTH, &length);
        std::string text(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
        glGetShaderSource(shaders[i], static_cast<GLsizei>(text.size()), nullptr, text.data());
        text.resize(std::string(text.c_str()).size());
        (type == GL_VERTEX_SHADER ? sources.vertex : sources.fragment) = text;
    }
    return sources;
}

bool linked(unsigned program) {
    GLint status = 0;
    if (program != 0) glGetProgramiv(program, GL_LINK_STATUS, &status);
    return status == GL_TRUE;
}

GLint minFilterOf(int textureIndex) {
    glBindTexture(GL_TEXTURE_2D, textureNames[textureIndex]);
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    return filter;
}

// A material block with a minimal working program and the given extra shader blocks.
std::string simpleMaterial(const std::string& name, const std::string& blocks = "") {
    return "    XSI_Material " + name + " {\n" + R"(        XSI_Shader GLSLProgram {
            "Softimage.GLSLProgram.1",
            "GLSL_Program","Text","void main()
            {
                gl_Position = ftransform();
            }",
            "GLSL_ProgramF","Text","void main()
            {
                gl_FragColor = vec4(1.0);
            }",
        }
)" + blocks + "    }\n";
}

std::string library(const std::string& materials) { return "SI_MaterialLibrary MATLIB {\n" + materials + "}\n"; }

std::string uniformBlock(const std::string& variable, const std::string& x) {
    return R"(        XSI_Shader Uniform {
            "Softimage.GLSLUniform.1",
            "Variable","Text",")" +
           variable + R"(",
            "element0","Float",)" +
           x + ",\n        }\n";
}

using XsiMaterials = XsiSceneTest;

TEST_F(XsiMaterials, ProgramUniformsAndTexturesOfAMaterial) {
    ASSERT_TRUE(writeTestPng("data/xm_stone.png", 2, 2, 3, Bytes(12, 200)));
    ASSERT_TRUE(writeTestPng("data/xm_moss.png", 2, 2, 4, Bytes(16, 100)));
    writeSceneFile("data/full.xsi", xsiText(R"(xsi 0300txt 0032

SI_MaterialLibrary MATLIB-Scene {
    1,
    XSI_Material xm_full {
        "Softimage.GLSLProgram",
        XSI_MaterialInfo {
            "Variable","Text","ignored",
        }
        XSI_Shader GLSLProgram {
            "Softimage.GLSLProgram.1",
            "GLSL_Program","Text","varying vec2 uv;
            void main()
            {
                uv = gl_MultiTexCoord0.xy;
                gl_Position = ftransform();
            }",
            "GLSL_ProgramF","Text","uniform vec4 colour;
            uniform sampler2D stone;
            uniform sampler2D moss;
            varying vec2 uv;
            void main()
            {
                gl_FragColor = colour * texture2D(stone, uv) * texture2D(moss, uv);
            }",
        }
        XSI_Shader Uniform {
            "Softimage.GLSLUniform.1",
            5,
            "Variable","Text","colour",
            "element0","Float",1.000000,
            "element1","Float",0.250000,
            "element2","Float",-0.5,
        }
        XSI_Shader Stone {
            "Softimage.OGL13Texture.1",
            "UniformName","Text","stone",
            "Image","xm_stone_image","IMAGE",
        }
        SI_FCurve fade {
            "element0","Float",7.0,
        }
        XSI_Shader Moss {
            "Softimage.OGL13Texture.2",
            "UniformName","Text","moss",
            "Image","xm_moss_image","IMAGE",
        }
    }
}

XSI_ImageLibrary {
    2,
    XSI_Image xm_stone_image {
        "C:\Art\Textures\xm_stone.png",
        "RGB",
    }
    XSI_Image xm_moss_image {
        "textures/xm_moss.png",
    }
}
)"));
    const std::size_t before = shaderLibrary.materials.size();
    std::string printed;
    const auto root = loadSceneQuoting("data\\full.xsi", printed);
    EXPECT_EQ(root, nullptr);
    ASSERT_EQ(shaderLibrary.materials.size(), before + 1);
    const Material& material = *shaderLibrary.materials.back();
    EXPECT_STREQ(material.name, "xm_full");
    EXPECT_EQ(material.depthTest, 1);
    EXPECT_TRUE(linked(material.program));

    ASSERT_EQ(material.uniforms.size(), 1u);
    EXPECT_STREQ(material.uniforms[0]->name, "colour");
    EXPECT_EQ(material.uniforms[0]->value[0], 1.0f);
    EXPECT_EQ(material.uniforms[0]->value[1], 0.25f);
    EXPECT_EQ(material.uniforms[0]->value[2], -0.5f);
    EXPECT_EQ(material.uniforms[0]->value[3], 0.0f);  // not given

    ASSERT_EQ(material.textures.size(), 2u);
    EXPECT_STREQ(material.textures[0]->uniformName, "stone");
    EXPECT_STREQ(material.textures[0]->imageName, "xm_stone.png");
    EXPECT_STREQ(material.textures[1]->uniformName, "moss");
    EXPECT_STREQ(material.textures[1]->imageName, "xm_moss.png");
    for (const auto& texture : material.textures) {
        ASSERT_GE(texture->textureIndex, 0);
        EXPECT_EQ(minFilterOf(texture->textureIndex), GL_LINEAR);
    }
    EXPECT_STREQ(textureRegistry.textures[static_cast<std::size_t>(material.textures[0]->textureIndex)].name,
                 "data/xm_stone.png");
    EXPECT_TRUE(material.cubeTextures.empty());
    EXPECT_NE(printed.find("data/xm_stone.png\ndata/xm_moss.png\n"), std::string::npos) << printed;
    EXPECT_TRUE(xsiImages.empty());
}

TEST_F(XsiMaterials, GlslSourcesFollowTheBraceRules) {
    writeSceneFile("data/braces.xsi", xsiText(R"(
SI_MaterialLibrary {
    XSI_Material xm_braces {
        XSI_Shader GLSLProgram {
            "GLSL_Program","Text","varying vec4 c;
            void main()
            {
                c = gl_Color;
                gl_Position = ftransform();
            }",
        }
        XSI_Shader GLSLProgramF {
            "GLSL_ProgramF","Text","varying vec4 c;
            struct Tint { vec4 v;
            };
            void main()
            {
                gl_FragColor = c;
            }
            ",
        }
    }
}
)"));
    const std::size_t before = shaderLibrary.materials.size();
    loadScene("data/braces.xsi");
    ASSERT_EQ(shaderLibrary.materials.size(), before + 1);
    const Material& material = *shaderLibrary.materials.back();
    ASSERT_TRUE(linked(material.program));
    const ProgramSources sources = sourcesOf(material.program);
    // The first line is field 2 of the parameter line, without a line feed of its own; a closing
    // brace with the quote adds only the brace, a lone quote adds nothing.
    EXPECT_EQ(sources.vertex,
              "varying vec4 c;\t\t\tvoid main()\n\t\t\t{\n\t\t\t\tc = gl_Color;\n\t\t\t\tgl_Position = ftransform();\n}");
    EXPECT_EQ(sources.fragment,
              "varying vec4 c;\t\t\tstruct Tint { vec4 v;\n\t\t\t};\n\t\t\tvoid main()\n\t\t\t{\n"
              "\t\t\t\tgl_FragColor = c;\n\t\t\t}\n");
}

TEST_F(XsiMaterials, UnindentedBraceInASourceEndsThePass) {
    writeSceneFile("data/cut.xsi", xsiText(R"(SI_MaterialLibrary {
    XSI_Material xm_cut_first {
        XSI_Shader GLSLProgram {
            "GLSL_Program","Text","void main()
{
    gl_Position = ftransform();
}
",
            "GLSL_ProgramF","Text","void main()
            {
                gl_FragColor = vec4(1.0);
            }",
        }
    }
    XSI_Material xm_cut_second {
    }
}
)"));
    loadScene("data/cut.xsi");
    const Material* first = findMaterialByName("xm_cut_first");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->program, 0u);  // its fragment source was never reached
    EXPECT_EQ(findMaterialByName("xm_cut_second"), nullptr);
}

TEST_F(XsiMaterials, ClosingBracesCloseBlocksInTheirOrder) {
    writeSceneFile("data/blocks.xsi", xsiText(library(
        // Phong and skipped blocks close on their own brace: the uniform after them still counts.
        simpleMaterial("xm_phong", R"(        XSI_Shader Phong {
            "Softimage.material-phong.1",
            "Variable","Text","nope",
        }
        XSI_MaterialInfo {
        }
)" + uniformBlock("after_phong", "2.0")) +
        // A block of a kind no flag stands for: its brace ends the material.
        simpleMaterial("xm_lambert", R"(        XSI_Shader Lambert {
            "Softimage.material-lambert.1",
        }
)" + uniformBlock("after_lambert", "3.0")) +
        // No fragment source: no program.
        "    XSI_Material xm_vertex_only {\n" + uniformBlock("lonely", "4.0") + "    }\n")));
    loadScene("data/blocks.xsi");

    const Material* phong = findMaterialByName("xm_phong");
    ASSERT_NE(phong, nullptr);
    EXPECT_TRUE(linked(phong->program));
    ASSERT_EQ(phong->uniforms.size(), 1u);
    EXPECT_STREQ(phong->uniforms[0]->name, "after_phong");
    EXPECT_EQ(phong->uniforms[0]->value[0], 2.0f);

    const Material* lambert = findMaterialByName("xm_lambert");
    ASSERT_NE(lambert, nullptr);
    EXPECT_TRUE(lambert->uniforms.empty());

    const Material* vertexOnly = findMaterialByName("xm_vertex_only");
    ASSERT_NE(vertexOnly, nullptr);
    EXPECT_EQ(vertexOnly->program, 0u);
    ASSERT_EQ(vertexOnly->uniforms.size(), 1u);
    EXPECT_EQ(vertexOnly->uniforms[0]->value[0], 4.0f);
}

TEST_F(XsiMaterials, SecondDefinitionOfANameIsSkipped) {
    writeSceneFile("data/first.xsi", xsiText(library(simpleMaterial("xm_dup_a", uniformBlock("value", "1.0")))));
    writeSceneFile("data/second.xsi", xsiText(library(simpleMaterial("xm_dup_a", uniformBlock("value", "2.0")) +
                                                      simpleMaterial("xm_dup_b", uniformBlock("value", "3.0")))));
    const std::size_t before = shaderLibrary.materials.size();
    std::string printed;
    loadSceneQuoting("data/first.xsi", printed);
    EXPECT_EQ(countOf(printed, "Duplicate shader"), 0u) << printed;
    loadSceneQuoting("data/second.xsi", printed);
    EXPECT_EQ(countOf(printed, "Duplicate shader, skipping.\n\n"), 1u) << printed;
    ASSERT_EQ(shaderLibrary.materials.size(), before + 2);
    const Material* a = findMaterialByName("xm_dup_a");
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(a->uniforms.size(), 1u);
    EXPECT_EQ(a->uniforms[0]->value[0], 1.0f);
    const Material* b = findMaterialByName("xm_dup_b");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->uniforms[0]->value[0], 3.0f);
    EXPECT_TRUE(linked(b->program));

    // The same file again adds nothing.
    loadSceneQuoting("data/second.xsi", printed);
    EXPECT_EQ(countOf(printed, "Duplicate shader, skipping.\n\n"), 2u);
    EXPECT_EQ(shaderLibrary.materials.size(), before + 2);
}

TEST_F(XsiMaterials, DesertSandFilesAloneAreMipmapped) {
    for (const char* name : {"data/desert_sand.png", "data/desert_sand_NRM.png", "data/desert_sand2.png"})
        ASSERT_TRUE(writeTestPng(name, 4, 4, 3, Bytes(48, 90)));
    const std::string slot = R"(        XSI_Shader T {
            "Softimage.OGL13Texture.1",
            "UniformName","Text","tex",
            "Image","IMG","IMAGE",
        }
)";
    std::string slots;
    for (const char* image : {"xm_sand", "xm_sand_nrm", "xm_sand2"}) {
        std::string block = slot;
        block.replace(block.find("IMG"), 3, image);
        slots += block;
    }
    writeSceneFile("data/sand.xsi", xsiText(library("    XSI_Material xm_sand {\n" + slots + "    }\n") + R"(
XSI_ImageLibrary {
    XSI_Image xm_sand {
        "C:\Softimage\Pictures\desert_sand.png",
    }
    XSI_Image xm_sand_nrm {
        "Pictures/desert_sand_NRM.png",
    }
    XSI_Image xm_sand2 {
        "desert_sand2.png",
    }
}
)"));
    std::string printed;
    loadSceneQuoting("data/sand.xsi", printed);
    const Material* material = findMaterialByName("xm_sand");
    ASSERT_NE(material, nullptr);
    ASSERT_EQ(material->textures.size(), 3u);
    EXPECT_EQ(minFilterOf(material->textures[0]->textureIndex), GL_LINEAR_MIPMAP_NEAREST);
    EXPECT_EQ(minFilterOf(material->textures[1]->textureIndex), GL_LINEAR_MIPMAP_NEAREST);
    EXPECT_EQ(minFilterOf(material->textures[2]->textureIndex), GL_LINEAR);
    EXPECT_STREQ(material->textures[0]->imageName, "desert_sand.png");
    EXPECT_NE(printed.find("data/desert_sand.png\ndata/desert_sand_NRM.png\ndata/desert_sand2.png\n"), std::string::npos)
        << printed;
}

TEST_F(XsiMaterials, UnmatchedImagesAndLaterFiles) {
    ASSERT_TRUE(writeTestPng("data/xm_late_a.png", 2, 2, 3, Bytes(12, 1)));
    ASSERT_TRUE(writeTestPng("data/xm_late_b.png", 2, 2, 3, Bytes(12, 2)));
    writeSceneFile("data/early.xsi", xsiText(library(R"(    XSI_Material xm_late {
        XSI_Shader T {
            "Softimage.OGL13Texture.1",
            "UniformName","Text","found",
            "Image","xm_late_image","IMAGE",
        }
        XSI_Shader U {
            "Softimage.OGL13Texture.1",
            "UniformName","Text","lost",
            "Image","xm_nowhere","IMAGE",
        }
    }
)") + R"(XSI_ImageLibrary {
    XSI_Image xm_late_image {
        "xm_late_a.png",
    }
}
)"));
    loadScene("data/early.xsi");
    const Material* material = findMaterialByName("xm_late");
    ASSERT_NE(material, nullptr);
    const int first = material->textures[0]->textureIndex;
    EXPECT_STREQ(textureRegistry.textures[static_cast<std::size_t>(first)].name, "data/xm_late_a.png");
    EXPECT_STREQ(material->textures[1]->imageName, "xm_nowhere");
    EXPECT_EQ(material->textures[1]->textureIndex, 0);

    // A bound slot now carries its file name, and an image of that name in a later file rebinds it.
    writeSceneFile("data/later.xsi", xsiText(R"(XSI_ImageLibrary {
    XSI_Image xm_late_a.png {
        "elsewhere\xm_late_b.png",
    }
}
)"));
    std::string printed;
    loadSceneQuoting("data/later.xsi", printed);
    EXPECT_EQ(countOf(printed, "data/xm_late_b.png\n"), 1u) << printed;
    EXPECT_STREQ(material->textures[0]->imageName, "xm_late_b.png");
    EXPECT_STREQ(textureRegistry.textures[static_cast<std::size_t>(material->textures[0]->textureIndex)].name,
                 "data/xm_late_b.png");
}

TEST_F(XsiMaterials, CubeFacesGoToTheirGlFaces) {
    const char* faces[6] = {"left", "right", "top", "bottom", "back", "front"};
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(writeTestPng("data/xm_cube_" + std::string(faces[i]) + ".png", 2, 2, 3,
                                 Bytes(12, static_cast<unsigned char>(20 * (i + 1)))));
    std::string text = R"(SI_MaterialLibrary {
    XSI_Material xm_cube {
        XSI_Shader Env {
            "Softimage.OGL13CubicTexture.1",
            "UniformName","Text","environment",
)";
    for (const char* face : faces) text += "            \"" + std::string(face) + "\",\"xm_img_" + face + "\",\n";
    text += R"(        }
        XSI_Shader Half {
            "Softimage.OGL13CubicTexture.1",
            "UniformName","Text","half",
            "left","xm_img_left",
            "front","xm_img_unknown",
        }
    }
}
XSI_ImageLibrary {
)";
    for (const char* face : faces)
        text += "    XSI_Image xm_img_" + std::string(face) + " {\n        \"D:\\sky\\xm_cube_" + face + ".png\",\n    }\n";
    text += "}\n";
    writeSceneFile("data/cube.xsi", xsiText(text));
    std::string printed;
    loadSceneQuoting("data/cube.xsi", printed);

    const Material* material = findMaterialByName("xm_cube");
    ASSERT_NE(material, nullptr);
    ASSERT_EQ(material->cubeTextures.size(), 2u);
    const MaterialCubeTexture& cube = *material->cubeTextures[0];
    EXPECT_STREQ(cube.uniformName, "environment");
    for (int i = 0; i < 6; ++i) EXPECT_EQ(std::string(cube.faceNames[i]), "data/xm_cube_" + std::string(faces[i]) + ".png");
    EXPECT_STREQ(textureRegistry.textures[static_cast<std::size_t>(cube.textureIndex)].name, "");

    // GL faces +X, -X, +Y, -Y, +Z, -Z hold right, left, top, bottom, back, front.
    const int expectedFace[6] = {1, 0, 2, 3, 4, 5};
    glBindTexture(GL_TEXTURE_CUBE_MAP, textureNames[cube.textureIndex]);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (int target = 0; target < 6; ++target) {
        Bytes texel(12);
        glGetTexImage(GL_TEXTURE_CUBE_MAP_POSITIVE_X + target, 0, GL_RGB, GL_UNSIGNED_BYTE, texel.data());
        EXPECT_EQ(texel[0], 20 * (expectedFace[target] + 1)) << "GL face " << target;
    }

    const MaterialCubeTexture& half = *material->cubeTextures[1];
    EXPECT_STREQ(half.faceNames[0], "data/xm_cube_left.png");
    EXPECT_STREQ(half.faceNames[5], "xm_img_unknown");  // matched no image: kept as it was
    EXPECT_STREQ(half.faceNames[1], "");
    EXPECT_NE(half.textureIndex, cube.textureIndex);
    // 2D paths are printed; cube faces are not.
    EXPECT_EQ(printed.find("data/xm_cube_left.png"), std::string::npos) << printed;
}

// The check's console: a program that does not build is named with its driver's messages on the
// lines of the file, and a missing face names the file and material that ask for it, once,
// though every later file's images rebuild the cube map.
TEST_F(XsiMaterials, ADetailedConsoleNamesWhereEachProblemIs) {
    setConsoleDetailed(true);
    const std::unique_ptr<void, void (*)(void*)> plainAgain(this, [](void*) { setConsoleDetailed(false); });
    ASSERT_TRUE(writeTestPng("data/xm_face.png", 2, 2, 3, Bytes(12, 7)));
    std::string text = R"(xsi 0300txt 0032
SI_MaterialLibrary {
    XSI_Material xm_broken {
        XSI_Shader GLSLProgram {
            "GLSL_Program","Text","
            void main()
            {
                gl_Position = ftransform();
            }
            ",
            "GLSL_ProgramF","Text","
            void main()
            {
                gl_FragColor = vec4(1.0) +;
            }
            ",
        }
    }
    XSI_Material xm_faces {
        XSI_Shader Env {
            "Softimage.OGL13CubicTexture.1",
            "UniformName","Text","environment",
)";
    for (const char* face : {"left", "right", "top", "bottom", "back"})
        text += "            \"" + std::string(face) + "\",\"xm_present\",\n";
    text += R"(            "front","xm_gone",
        }
    }
}
XSI_ImageLibrary {
    XSI_Image xm_present {
        "xm_face.png",
    }
    XSI_Image xm_gone {
        "C:\sky\xm_gone.png",
    }
}
)";
    writeSceneFile("data/faces.xsi", xsiText(text));
    writeSceneFile("data/after.xsi", "xsi 0300txt 0032\n" + xsiText(library(simpleMaterial("xm_after"))));
    std::string printed, later;
    loadSceneQuoting("data\\faces.xsi", printed);
    loadSceneQuoting("data\\after.xsi", later);
    printed += later;

    EXPECT_EQ(countOf(printed, "File data/xm_gone.png not found! Scene file data/faces.xsi, material xm_faces, asks "
                               "for it.\n"),
              1u) << printed;
    EXPECT_NE(printed.find("Scene file data/faces.xsi, material xm_broken: its GLSL program does not build, so its "
                           "meshes draw without their shader.\ndata/faces.xsi:14: fragment shader: "),
              std::string::npos) << printed;
}

// ---- damaged and overlong input -------------------------------------------------------------

TEST_F(XsiMaterials, OverlongGlslSourceLeavesTheFixedPipeline) {
    std::string padding;
    for (int i = 0; i < 1200; ++i) padding += "            // padding line\n";
    writeSceneFile("data/long.xsi", xsiText(R"(SI_MaterialLibrary {
    XSI_Material xm_long {
        XSI_Shader GLSLProgram {
            "GLSL_Program","Text","void main()
)" + padding + R"(            {
                gl_Position = ftransform();
            }",
            "GLSL_ProgramF","Text","void main()
            {
                gl_FragColor = vec4(1.0);
            }",
        }
)" + uniformBlock("still_read", "5.0") + "    }\n" +
                                            simpleMaterial("xm_after_long") + "}\n"));
    std::string printed;
    loadSceneQuoting("data/long.xsi", printed);
    EXPECT_EQ(countOf(printed, "GLSL source longer than 16383 characters"), 1u) << printed;
    const Material* material = findMaterialByName("xm_long");
    ASSERT_NE(material, nullptr);
    EXPECT_EQ(material->program, 0u);
    ASSERT_EQ(material->uniforms.size(), 1u);
    EXPECT_STREQ(material->uniforms[0]->name, "still_read");
    const Material* after = findMaterialByName("xm_after_long");
    ASSERT_NE(after, nullptr);
    EXPECT_TRUE(linked(after->program));
}

TEST_F(XsiMaterials, SourceJustInsideTheBufferIsKept) {
    // First line plus lines up to exactly 16383 characters in all.
    const std::string firstLine = "void main() {";
    std::string body;
    const std::string line = "//" + std::string(97, '-');  // 100 characters with its line feed
    while (firstLine.size() + body.size() + 100 + 30 <= glslSourceSize - 1) body += line + "\n";
    const std::size_t fill = glslSourceSize - 1 - firstLine.size() - body.size() - std::string("gl_Position = ftransform();\n}").size();
    body += std::string(fill - 1, ' ') + "\n";
    body += "gl_Position = ftransform();\n";
    writeSceneFile("data/edge.xsi", "SI_MaterialLibrary {\n\tXSI_Material xm_edge {\n\t\t\"GLSL_Program\",\"Text\",\"" +
                                        firstLine + "\n" + body + "}\",\n" + "\t\t\"GLSL_ProgramF\",\"Text\",\"" +
                                        "void main() { gl_FragColor = vec4(1.0); }\n\t\t\",\n\t\t}\n\t}\n}\n");
    std::string printed;
    loadSceneQuoting("data/edge.xsi", printed);
    EXPECT_EQ(printed.find("GLSL source longer"), std::string::npos) << printed;
    const Material* material = findMaterialByName("xm_edge");
    ASSERT_NE(material, nullptr);
    ASSERT_TRUE(linked(material->program));
    EXPECT_EQ(sourcesOf(material->program).vertex.size(), glslSourceSize - 1);
}

TEST_F(XsiMaterials, OverlongNamesAreCutAlike) {
    const std::string longMaterial = "xm_" + std::string(120, 'm');
    const std::string longImage = "xm_" + std::string(120, 'i');
    ASSERT_TRUE(writeTestPng("data/xm_cut.png", 2, 2, 3, Bytes(12, 5)));
    const std::string text = xsiText(library("    XSI_Material " + longMaterial + R"( {
        XSI_Shader T {
            "Softimage.OGL13Texture.1",
            "UniformName","Text",")" + std::string(150, 'u') + R"(",
            "Image",")" + longImage + R"(","IMAGE",
        }
    }
)") + "XSI_ImageLibrary {\n    XSI_Image " + longImage + " {\n        \"C:\\" + std::string(90, 'd') +
                                     "\\xm_cut.png\",\n    }\n}\n");
    writeSceneFile("data/names.xsi", text);
    std::string printed;
    loadSceneQuoting("data/names.xsi", printed);
    EXPECT_GE(countOf(printed, "cut"), 3u) << printed;
    const Material* material = findMaterialByName(longMaterial.substr(0, 79).c_str());
    ASSERT_NE(material, nullptr);
    ASSERT_EQ(material->textures.size(), 1u);
    EXPECT_EQ(std::string(material->textures[0]->uniformName), std::string(79, 'u'));
    // The image name and the slot's name are cut alike, so they still match; the path keeps its
    // end, the only part that is used.
    EXPECT_STREQ(material->textures[0]->imageName, "xm_cut.png");

    // The cut name still recognises the material when the file is read again.
    loadSceneQuoting("data/names.xsi", printed);
    EXPECT_EQ(countOf(printed, "Duplicate shader, skipping."), 1u) << printed;
}

TEST_F(XsiMaterials, FilesEndingInsideAnyBlockLoad) {
    const std::string text = xsiText(library(simpleMaterial("xm_prefix", uniformBlock("u", "1.0") + R"(        XSI_Shader T {
            "Softimage.OGL13Texture.1",
            "UniformName","Text","tex",
            "Image","xm_prefix_image","IMAGE",
        }
        XSI_Shader C {
            "Softimage.OGL13CubicTexture.1",
            "left","xm_prefix_image",
        }
)")) + R"(XSI_ImageLibrary {
    XSI_Image xm_prefix_image {
        "xm_prefix_missing.png",
    }
}
)");
    testing::internal::CaptureStdout();
    for (std::size_t length = 0; length <= text.size(); length += 7) {
        writeSceneFile("data/prefix.xsi", text.substr(0, length));
        const auto root = loadScene("data/prefix.xsi");
        EXPECT_EQ(root, nullptr);
        EXPECT_TRUE(xsiImages.empty());
    }
    testing::internal::GetCapturedStdout();
    EXPECT_NE(findMaterialByName("xm_prefix"), nullptr);
}

}  // namespace
