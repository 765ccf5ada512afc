// GLSL program building and uniform setting; locations are looked up on every set.
#include "render/shader_program.h"

#include <GL/glew.h>

#include <string>
#include <vector>

#include "base/print_line.h"
#include "base/startup_phases.h"
#include "render/gl_state.h"
#include "render/texture_registry.h"

namespace {

constexpr int shaderLogSize = 1024;

std::string buildLog;
ShaderBuildLogs stageLogs;

void printShaderLog(GLuint shader, std::string& stageLog) {
    char log[shaderLogSize] = {};
    GLsizei length = 0;
    glGetShaderInfoLog(shader, sizeof log, &length, log);
    if (length <= 0) return;
    buildLog += log;
    stageLog = log;
    char logWithTrailer[shaderLogSize + 16];
    formatText(logWithTrailer, sizeof logWithTrailer, "%s \n ---- \n", log);
    printLine("Shader compilation status:\n%s\n", logWithTrailer);
}

void printProgramLog(GLuint program) {
    GLint length = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    if (length <= 0) return;
    std::vector<char> log(static_cast<std::size_t>(length) + 1, '\0');
    GLsizei written = 0;
    glGetProgramInfoLog(program, length, &written, log.data());
    if (written <= 0) return;
    buildLog += log.data();
    stageLogs.link = log.data();
    printLine("Program Log: %s\n", log.data());
}

GLuint compileShader(GLenum type, const char* source, std::string& stageLog) {
    const GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    printShaderLog(shader, stageLog);
    return shader;
}

}  // namespace

unsigned createShaderProgram(const char* vertexSource, const char* fragmentSource) {
    ScopedPhase phase(StartupPhase::Shaders);
    buildLog.clear();
    stageLogs = ShaderBuildLogs{};
    const GLuint vertexShader =
        compileShader(GL_VERTEX_SHADER, vertexSource != nullptr ? vertexSource : "", stageLogs.vertex);
    const GLuint fragmentShader =
        compileShader(GL_FRAGMENT_SHADER, fragmentSource != nullptr ? fragmentSource : "", stageLogs.fragment);
    const GLuint program = glCreateProgram();
    glAttachShader(program, vertexShader);
    glAttachShader(program, fragmentShader);
    glLinkProgram(program);
    printProgramLog(program);
    return program;
}

bool shaderProgramLinked(unsigned program) {
    GLint linked = GL_FALSE;
    if (program != 0) glGetProgramiv(program, GL_LINK_STATUS, &linked);
    return linked == GL_TRUE;
}

const char* lastShaderBuildLog() { return buildLog.c_str(); }

bool programHasUniform(unsigned program, const char* name) {
    return program != 0 && glGetUniformLocationARB(program, name) >= 0;
}

const ShaderBuildLogs& lastShaderBuildLogs() { return stageLogs; }

void useProgram(unsigned program) { glUseProgram(program); }

void useNoProgram() { glUseProgram(0); }

void setUniformVec4(unsigned program, const char* name, const float* xyzw) {
    const GLint location = glGetUniformLocationARB(program, name);
    glUniform4fARB(location, xyzw[0], xyzw[1], xyzw[2], xyzw[3]);
}

void setSampler2D(unsigned program, const char* name, unsigned glTextureName, int unit) {
    const GLint location = glGetUniformLocationARB(program, name);
    glActiveTextureARB(GL_TEXTURE0 + unit);
    bindTexture2D(glTextureName);
    glUniform1i(location, unit);
    glActiveTextureARB(GL_TEXTURE0);
}

void setSamplerCube(unsigned program, const char* name, int textureIndex, int unit) {
    const GLint location = glGetUniformLocationARB(program, name);
    glActiveTextureARB(GL_TEXTURE0 + unit);
    glDisable(GL_TEXTURE_2D);
    bindCubeMapByIndex(textureIndex);
    glUniform1i(location, unit);
    glDisable(GL_TEXTURE_CUBE_MAP);
    glActiveTextureARB(GL_TEXTURE0);
}
