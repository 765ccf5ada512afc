// Materials on Mesa: slots, lookups, and the apply/release state machine.
#include "render/material.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "render/shader_library.h"
#include "render/shader_program.h"
#include "render/texture_registry.h"
#include "tests/support/gl_context.h"

namespace {

const char whiteVertex[] = "void main() { gl_Position = ftransform(); }";
const char whiteFragment[] = "void main() { gl_FragColor = vec4(1.0); }";

GLint integer(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

float uniformX(unsigned program, const char* name) {
    float value[4] = {};
    glGetUniformfv(program, glGetUniformLocation(program, name), value);
    return value[0];
}

class Materials : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(requireShaderLibrary());
        releaseMaterial(nullptr);
        overrideMaterial = nullptr;
    }
};

TEST_F(Materials, BuiltInsHaveTheirSlotsInOrder) {
    ASSERT_GE(shaderLibrary.materials.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        const Material& material = builtInMaterial(static_cast<BuiltInMaterial>(i));
        EXPECT_EQ(material.depthTest, i == ScrolledTexture ? 1 : 0) << i;
        EXPECT_STREQ(material.name, "");
        GLint linked = 0;
        glGetProgramiv(material.program, GL_LINK_STATUS, &linked);
        EXPECT_EQ(linked, GL_TRUE) << i;
    }
    const Material& scrolled = builtInMaterial(ScrolledTexture);
    EXPECT_EQ(scrolled.findTexture("tex"), scrolled.textures[0].get());
    EXPECT_EQ(scrolled.findUniform("uvShift"), scrolled.uniforms[1].get());
    EXPECT_EQ(scrolled.findUniform("Alpha"), nullptr);  // names compare case-sensitively
    EXPECT_EQ(scrolled.findTexture("uvShift"), nullptr);
    EXPECT_EQ(builtInMaterial(TexturedAlpha).textures[0]->textureIndex, 0);
    EXPECT_EQ(builtInMaterial(BlurMask).uniforms[0]->value[0], 0.01f);
    EXPECT_EQ(builtInMaterial(Gradient).uniforms[1]->value[1], 1.0f);
    EXPECT_TRUE(builtInMaterial(PolarQuad).uniforms.empty());
    EXPECT_TRUE(builtInMaterial(PolarQuad).textures.empty());
}

TEST_F(Materials, FindByNameGivesTheFirstOfTwins) {
    const int first = addBuiltInMaterial(whiteVertex, whiteFragment);
    const int second = addBuiltInMaterial(whiteVertex, whiteFragment);
    std::snprintf(shaderLibrary.materials[static_cast<std::size_t>(first)]->name, materialNameSize, "twin");
    std::snprintf(shaderLibrary.materials[static_cast<std::size_t>(second)]->name, materialNameSize, "twin");
    EXPECT_EQ(findMaterialByName("twin"), shaderLibrary.materials[static_cast<std::size_t>(first)].get());
    EXPECT_EQ(findMaterialByName("Twin"), nullptr);
}

TEST_F(Materials, SlotNamesAreBoundedCopies) {
    Material& material = *shaderLibrary.materials[static_cast<std::size_t>(
        addBuiltInMaterial(whiteVertex, whiteFragment))];
    const std::string longName(200, 'u');
    MaterialUniform* uniform = material.addUniform(1, 2, 3, 4, longName.c_str());
    EXPECT_EQ(std::strlen(uniform->name), static_cast<std::size_t>(materialNameSize - 1));
    EXPECT_EQ(setUniformValue(nullptr, 1, 2, 3, 4), nullptr);  // a failed lookup stores nothing
    EXPECT_EQ(setTextureSlot(nullptr, 3), nullptr);
}

TEST_F(Materials, ApplyingTheCurrentMaterialAgainSendsNothing) {
    Material& material = builtInMaterial(TexturedDim);
    MaterialUniform* alpha = material.findUniform("alpha");
    setUniformValue(alpha, 0.25f, 0, 0, 0);
    material.apply();
    EXPECT_EQ(currentMaterial, &material);
    EXPECT_EQ(uniformX(material.program, "alpha"), 0.25f);
    setUniformValue(alpha, 0.75f, 0, 0, 0);
    material.apply();
    EXPECT_EQ(uniformX(material.program, "alpha"), 0.25f) << "not sent before a release";
    releaseMaterial(&material);
    material.apply();
    EXPECT_EQ(uniformX(material.program, "alpha"), 0.75f);
}

TEST_F(Materials, OverrideReplacesTheProgramWhileTheRequestIsRemembered) {
    Material& mesh = builtInMaterial(ScrolledTexture);  // depth test on
    overrideMaterial = &builtInMaterial(Gradient);
    glEnable(GL_DEPTH_TEST);
    mesh.apply();
    EXPECT_EQ(currentMaterial, &mesh);
    EXPECT_EQ(static_cast<unsigned>(integer(GL_CURRENT_PROGRAM)), builtInMaterial(Gradient).program);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST)) << "the override's depth flag counts";
    float colour[4] = {};
    glGetUniformfv(builtInMaterial(Gradient).program,
                   glGetUniformLocation(builtInMaterial(Gradient).program, "background_color2"), colour);
    EXPECT_EQ(colour[0], 1.0f);
    overrideMaterial = nullptr;
    releaseMaterial(&mesh);
    mesh.apply();
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(Materials, CubeMapsComeAfterTheTwoDimensionalUnits) {
    const unsigned program = createShaderProgram(
        "void main() { gl_Position = ftransform(); }",
        "uniform sampler2D a;\nuniform sampler2D b;\nuniform samplerCube c;\n"
        "void main() { gl_FragColor = texture2D(a, vec2(0.0)) + texture2D(b, vec2(0.0)) + textureCube(c, vec3(1.0)); }");
    Material& material = *shaderLibrary.materials[static_cast<std::size_t>(
        addBuiltInMaterial(whiteVertex, whiteFragment))];
    material.program = program;
    const int first = createEmptyTexture(2, 2), second = createEmptyTexture(2, 2);
    const int cube = loadCubeMap(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 1);
    material.addTexture(first, "a");
    material.addTexture(second, "b");
    material.addCubeTexture(cube, "c");
    material.apply();
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    GLint unit = -1;
    glGetUniformiv(program, glGetUniformLocation(program, "c"), &unit);
    EXPECT_EQ(unit, 2);
    glGetUniformiv(program, glGetUniformLocation(program, "b"), &unit);
    EXPECT_EQ(unit, 1);
    const struct {
        GLenum unit, binding;
        unsigned name;
    } expected[] = {{GL_TEXTURE0, GL_TEXTURE_BINDING_2D, textureNames[first]},
                    {GL_TEXTURE1, GL_TEXTURE_BINDING_2D, textureNames[second]},
                    {GL_TEXTURE2, GL_TEXTURE_BINDING_CUBE_MAP, textureNames[cube]}};
    for (const auto& e : expected) {
        glActiveTexture(e.unit);
        EXPECT_EQ(static_cast<unsigned>(integer(e.binding)), e.name);
    }
    glActiveTexture(GL_TEXTURE0);

    // Release switches unit 0 off and leaves the higher units as they are.
    glEnable(GL_BLEND);
    glEnable(GL_LIGHTING);
    releaseMaterial(&material);
    EXPECT_EQ(currentMaterial, nullptr);
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(integer(GL_CURRENT_PROGRAM), 0);
    glActiveTexture(GL_TEXTURE1);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(static_cast<unsigned>(integer(GL_TEXTURE_BINDING_2D)), textureNames[second]);
    glActiveTexture(GL_TEXTURE0);
}

}  // namespace
