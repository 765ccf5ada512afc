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

std::vector<ActiveUniform> activeUniforms(unsigned program) {
    std::vector<ActiveUniform> found;
    if (!shaderProgramLinked(program)) return found;
    GLint count = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
    for (GLint i = 0; i < count; ++i) {
        char name[256] = {};
        GLsizei length = 0;
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(program, static_cast<GLuint>(i), sizeof name, &length, &size, &type, name);
        std::string plain(name, static_cast<std::size_t>(length > 0 ? length : 0));
        if (plain.rfind("gl_", 0) == 0) continue;
        if (const std::size_t bracket = plain.find('['); bracket != std::string::npos) plain.resize(bracket);
        UniformKind kind = UniformKind::Other;
        switch (type) {
            case GL_FLOAT: kind = UniformKind::Float; break;
            case GL_FLOAT_VEC2: kind = UniformKind::Vec2; break;
            case GL_FLOAT_VEC3: kind = UniformKind::Vec3; break;
            case GL_FLOAT_VEC4: kind = UniformKind::Vec4; break;
            case GL_SAMPLER_2D: kind = UniformKind::Sampler2D; break;
            case GL_SAMPLER_CUBE: kind = UniformKind::SamplerCube; break;
            default: break;
        }
        found.push_back({plain, kind, size});
    }
    return found;
}

const char* uniformKindName(UniformKind kind) {
    switch (kind) {
        case UniformKind::Float: return "float";
        case UniformKind::Vec2: return "vec2";
        case UniformKind::Vec3: return "vec3";
        case UniformKind::Vec4: return "vec4";
        case UniformKind::Sampler2D: return "sampler2D";
        case UniformKind::SamplerCube: return "samplerCube";
        case UniformKind::Other: break;
    }
    return "another type";
}
