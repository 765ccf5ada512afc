// Shader text rewritten as it reaches WebGL, the layer's attribute locations bound before every
// link, and the uniforms the rooms set remembered by name for the batched variants.
#include "platform/webgl/ffp_context.h"

#include <string>

#include "platform/webgl/glsl_rewrite.h"

namespace {

void bindLayerAttributes(GLuint program, bool instanced) {
    glBindAttribLocation(program, webglVertexAttribute, "ffp_Vertex");
    glBindAttribLocation(program, webglNormalAttribute, "ffp_Normal");
    glBindAttribLocation(program, webglColorAttribute, "ffp_Color");
    glBindAttribLocation(program, webglTexCoordAttribute, "ffp_MultiTexCoord0");
    if (instanced) glBindAttribLocation(program, webglInstanceMatrixAttribute, webglInstanceMatrixName);
}

ShaderStage stageOf(GLenum type) { return type == GL_VERTEX_SHADER ? ShaderStage::Vertex : ShaderStage::Fragment; }

// The attached shaders' own records.
std::vector<GLuint> attachedShaders(GLuint program) {
    GLuint names[8] = {};
    GLsizei count = 0;
    glGetAttachedShaders(program, 8, &count, names);
    return std::vector<GLuint>(names, names + count);
}

}  // namespace

FfpProgram& ffpProgram(GLuint program) { return ffp().programs[program]; }

GLuint ffpInstancedVariant(GLuint name) {
    FfpProgram& program = ffpProgram(name);
    if (program.instancedTried) return program.instanced;
    program.instancedTried = true;
    // Only a program that reads nothing of the modelview but the matrix itself can take it per
    // instance; the projection stays a uniform.
    if ((program.builtins & ~(usesModelView | usesProjection)) != 0 || (program.builtins & usesModelView) == 0)
        return 0;
    const GLuint variant = glCreateProgram();
    std::vector<GLuint> made;
    for (const GLuint shader : attachedShaders(name)) {
        const FfpShader& record = ffp().shaders[shader];
        if (record.type != GL_VERTEX_SHADER) {
            glAttachShader(variant, shader);
            continue;
        }
        const std::string text = rewriteShader(record.source, ShaderStage::Vertex, true, program.fragmentVaryings).text;
        const GLuint copy = glCreateShader(GL_VERTEX_SHADER);
        const char* source = text.c_str();
        glShaderSource(copy, 1, &source, nullptr);
        glCompileShader(copy);
        glAttachShader(variant, copy);
        made.push_back(copy);
    }
    bindLayerAttributes(variant, true);
    glLinkProgram(variant);
    for (const GLuint shader : made) glDeleteShader(shader);
    GLint linked = GL_FALSE;
    glGetProgramiv(variant, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        glDeleteProgram(variant);
        return 0;
    }
    program.instanced = variant;
    program.instancedProjection = glGetUniformLocation(variant, webglProjectionName);
    return variant;
}

extern "C" {

GLuint ffpCreateShader(GLenum type) {
    const GLuint shader = glCreateShader(type);
    ffp().shaders[shader].type = type;
    return shader;
}

void ffpShaderSource(GLuint shader, GLsizei count, const GLchar* const* strings, const GLint* lengths) {
    std::string source;
    for (GLsizei i = 0; i < count; ++i) {
        if (strings[i] == nullptr) continue;
        if (lengths != nullptr && lengths[i] >= 0) source.append(strings[i], static_cast<std::size_t>(lengths[i]));
        else source += strings[i];
    }
    FfpShader& record = ffp().shaders[shader];
    record.source = source;
    const std::string text = rewriteShader(source, stageOf(record.type)).text;
    const char* rewritten = text.c_str();
    glShaderSource(shader, 1, &rewritten, nullptr);
}

void ffpLinkProgram(GLuint name) {
    ffpFlushBatch();
    FfpProgram& program = ffpProgram(name);
    program = FfpProgram{};
    // The vertex stage declares what the fragment stage reads, as GLSL ES wants.
    unsigned fragmentReads = 0;
    for (const GLuint shader : attachedShaders(name)) {
        const FfpShader& record = ffp().shaders[shader];
        const RewrittenShader rewritten = rewriteShader(record.source, stageOf(record.type));
        program.builtins |= rewritten.builtins;
        if (record.type == GL_FRAGMENT_SHADER) fragmentReads |= rewritten.varyings;
    }
    program.fragmentVaryings = fragmentReads;
    for (const GLuint shader : attachedShaders(name)) {
        const FfpShader& record = ffp().shaders[shader];
        if (record.type != GL_VERTEX_SHADER) continue;
        const RewrittenShader rewritten = rewriteShader(record.source, ShaderStage::Vertex);
        if ((fragmentReads & ~rewritten.varyings) == 0) continue;
        const std::string text = rewriteShader(record.source, ShaderStage::Vertex, false, fragmentReads).text;
        const char* source = text.c_str();
        glShaderSource(shader, 1, &source, nullptr);
        glCompileShader(shader);
    }
    bindLayerAttributes(name, false);
    glLinkProgram(name);
    GLint linked = GL_FALSE;
    glGetProgramiv(name, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) return;
    program.modelView = glGetUniformLocation(name, webglModelViewName);
    program.projection = glGetUniformLocation(name, webglProjectionName);
    program.modelViewProjection = glGetUniformLocation(name, webglModelViewProjectionName);
    program.normal = glGetUniformLocation(name, webglNormalMatrixName);
    program.inverse = glGetUniformLocation(name, webglModelViewInverseName);
    for (int light = 0; light < 8; ++light)
        program.lights[light] = glGetUniformLocation(name, webglLightPositionName(light).c_str());
}

void ffpUseProgram(GLuint program) {
    FfpState& s = ffp();
    if (program == s.program) return;
    ffpFlushBatch();
    s.program = program;
    glUseProgram(program);
}

GLint ffpGetUniformLocation(GLuint program, const GLchar* name) {
    const GLint location = glGetUniformLocation(program, name);
    if (location >= 0) ffpProgram(program).uniformNames[location] = name;
    return location;
}

namespace {

void remember(GLint location, bool integer, const float value[4]) {
    if (location < 0 || ffp().program == 0) return;
    FfpProgram& program = ffpProgram(ffp().program);
    const auto name = program.uniformNames.find(location);
    if (name == program.uniformNames.end()) return;
    FfpUniformValue& stored = program.uniformValues[name->second];
    stored.integer = integer;
    for (int i = 0; i < 4; ++i) stored.value[i] = value[i];
}

}  // namespace

void ffpUniform1i(GLint location, GLint value) {
    ffpFlushBatch();
    const float stored[4] = {static_cast<float>(value), 0, 0, 0};
    remember(location, true, stored);
    glUniform1i(location, value);
}

void ffpUniform4f(GLint location, GLfloat x, GLfloat y, GLfloat z, GLfloat w) {
    ffpFlushBatch();
    const float stored[4] = {x, y, z, w};
    remember(location, false, stored);
    glUniform4f(location, x, y, z, w);
}

}  // extern "C"
