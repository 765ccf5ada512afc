// GLSL programs: building one from a vertex and a fragment source with their logs printed, making
// one current, and setting vec4 uniforms and samplers by name on the current program.
#pragma once

#include <string>
#include <vector>

// Compiles and links; the program name is returned whatever the logs say.
unsigned createShaderProgram(const char* vertexSource, const char* fragmentSource);

// Whether the program linked (so both its shaders compiled).
bool shaderProgramLinked(unsigned program);

// The driver's logs of the last createShaderProgram, shaders then program; empty when silent.
const char* lastShaderBuildLog();

// Whether the linked program has an active uniform of that name (one it does not use is dropped).
bool programHasUniform(unsigned program, const char* name);

// A uniform the linked program uses, as GL reports it after linking (built-ins left out).
enum class UniformKind { Float, Vec2, Vec3, Vec4, Sampler2D, SamplerCube, Other };
struct ActiveUniform {
    std::string name;  // without an array's "[0]"
    UniformKind kind;
    int size;          // array length, 1 for a plain uniform
};
std::vector<ActiveUniform> activeUniforms(unsigned program);
const char* uniformKindName(UniformKind kind);  // as GLSL spells it

// The same logs one by one, for messages that say which stage a line is about.
struct ShaderBuildLogs {
    std::string vertex;
    std::string fragment;
    std::string link;
};
const ShaderBuildLogs& lastShaderBuildLogs();

void useProgram(unsigned program);
void useNoProgram();

// Names that are not active uniforms of the program are dropped by GL, silently.
void setUniformVec4(unsigned program, const char* name, const float* xyzw);

// Binds a GL texture name on the unit and points the sampler at it; unit 0 is active on return.
void setSampler2D(unsigned program, const char* name, unsigned glTextureName, int unit);

// The same for a cube map given by texture registry index; the unit's fixed-pipeline enables end
// up off while the cube map stays bound there.
void setSamplerCube(unsigned program, const char* name, int textureIndex, int unit);
