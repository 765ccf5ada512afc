// Building programs and setting uniforms and samplers, on Mesa, with the console captured.
#include "render/shader_program.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "render/gl_state.h"
#include "render/texture_registry.h"
#include "tests/support/gl_context.h"

namespace {

const char plainVertex[] = "void main() { gl_Position = ftransform(); }\n";
const char plainFragment[] = "uniform vec4 colour;\nvoid main() { gl_FragColor = colour; }\n";

class ShaderPrograms : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(requireGlContext()); }
};

TEST_F(ShaderPrograms, CleanProgramPrintsNothing) {
    testing::internal::CaptureStdout();
    const unsigned program = createShaderProgram(plainVertex, plainFragment);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    GLint linked = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
}

TEST_F(ShaderPrograms, BrokenShaderPrintsBothLogsAndStillGivesAProgram) {
    testing::internal::CaptureStdout();
    const unsigned program = createShaderProgram("void main() { gl_Position = ftransform() }\n", plainFragment);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(program, 0u);

    // Shader log: the heading line, the compiler's text, its trailer and two empty lines.
    const std::string heading = "Shader compilation status:\n";
    ASSERT_EQ(output.rfind(heading, 0), 0u) << output;
    const std::size_t trailer = output.find(" \n ---- \n\n\n");
    ASSERT_NE(trailer, std::string::npos) << output;
    const std::string compilerText = output.substr(heading.size(), trailer - heading.size());
    EXPECT_NE(compilerText.find("error"), std::string::npos) << compilerText;

    GLint length = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    if (length > 1) {
        std::string log(static_cast<std::size_t>(length), '\0');
        glGetProgramInfoLog(program, length, nullptr, log.data());
        log.resize(log.find('\0'));
        EXPECT_EQ(output.substr(trailer + 11), "Program Log: " + log + "\n\n");
    }
}

TEST_F(ShaderPrograms, VeryLongLogsAreCutNotOverrun) {
    std::string vertex = "void main() {\n";
    for (int i = 0; i < 400; ++i) vertex += "  undeclared" + std::to_string(i) + " = 1.0;\n";
    vertex += "}\n";
    testing::internal::CaptureStdout();
    createShaderProgram(vertex.c_str(), plainFragment);
    const std::string output = testing::internal::GetCapturedStdout();
    ASSERT_EQ(output.rfind("Shader compilation status:\n", 0), 0u);
    const std::size_t shaderPart = std::min(output.find("Program Log: "), output.size());
    EXPECT_LE(shaderPart, 1024u) << "at most 1023 characters and the line feed";
}

TEST_F(ShaderPrograms, UniformsAreSetByNameOnTheCurrentProgram) {
    const unsigned program = createShaderProgram(plainVertex, plainFragment);
    useProgram(program);
    const float colour[4] = {0.25f, 0.5f, 0.75f, 1.0f};
    setUniformVec4(program, "colour", colour);
    float readBack[4] = {};
    glGetUniformfv(program, glGetUniformLocation(program, "colour"), readBack);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(readBack[i], colour[i]);
    const float other[4] = {9, 9, 9, 9};
    setUniformVec4(program, "gl_Position", other);  // not a uniform: dropped silently
    setUniformVec4(program, "missing", other);
    glGetUniformfv(program, glGetUniformLocation(program, "colour"), readBack);
    EXPECT_EQ(readBack[0], 0.25f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<unsigned>(current), program);
    useNoProgram();
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
}

TEST_F(ShaderPrograms, SamplersBindTheirUnitAndReturnToUnitZero) {
    const unsigned program = createShaderProgram(
        "void main() { gl_Position = ftransform(); }\n",
        "uniform sampler2D flat;\nuniform samplerCube sky;\n"
        "void main() { gl_FragColor = texture2D(flat, vec2(0.5)) + textureCube(sky, vec3(1.0)); }\n");
    useProgram(program);
    GLuint flat = 0;
    glGenTextures(1, &flat);
    setSampler2D(program, "flat", flat, 3);
    GLint value = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &value);
    EXPECT_EQ(value, GL_TEXTURE0);
    glGetUniformiv(program, glGetUniformLocation(program, "flat"), &value);
    EXPECT_EQ(value, 3);
    glActiveTexture(GL_TEXTURE3);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
    EXPECT_EQ(static_cast<unsigned>(value), flat);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    glActiveTexture(GL_TEXTURE0);

    const int cube = loadCubeMap(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 1);
    glActiveTexture(GL_TEXTURE2);
    glEnable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE1);
    setSamplerCube(program, "sky", cube, 2);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &value);
    EXPECT_EQ(value, GL_TEXTURE0);
    glGetUniformiv(program, glGetUniformLocation(program, "sky"), &value);
    EXPECT_EQ(value, 2);
    glActiveTexture(GL_TEXTURE2);
    glGetIntegerv(GL_TEXTURE_BINDING_CUBE_MAP, &value);
    EXPECT_EQ(static_cast<unsigned>(value), textureNames[cube]);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_CUBE_MAP));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_R));
    glActiveTexture(GL_TEXTURE0);
}

}  // namespace
