// GLSL 1.10 as the data set writes it, rewritten into GLSL ES 1.00 for WebGL 2: the fixed
// pipeline's built-in attributes, matrices, light positions and varyings become the GL layer's
// own variables, named ffp_ (WebGL reserves webgl_), and a precision line is added. No GL here,
// so it is tested without a browser.
#pragma once

#include <string>
#include <string_view>

enum class ShaderStage { Vertex, Fragment };

// Attribute locations the layer binds before every link.
constexpr unsigned webglVertexAttribute = 0;
constexpr unsigned webglNormalAttribute = 1;
constexpr unsigned webglColorAttribute = 2;
constexpr unsigned webglTexCoordAttribute = 3;
constexpr unsigned webglInstanceMatrixAttribute = 4;  // four columns: 4 to 7

// The built-in state a rewritten program reads, as bits: the layer sets only what is read.
enum BuiltinUse : unsigned {
    usesModelView = 1u << 0,
    usesProjection = 1u << 1,
    usesModelViewProjection = 1u << 2,
    usesNormalMatrix = 1u << 3,
    usesModelViewInverse = 1u << 4,
    usesLightPositions = 1u << 5,
};

// The fixed varyings, as bits: gl_FrontColor (gl_Color in a fragment stage), gl_TexCoord[0 to 3].
constexpr unsigned frontColourVarying = 1u << 0;
constexpr unsigned texCoordVarying0 = 1u << 1;  // then 1 to 3 in the next bits

struct RewrittenShader {
    std::string text;
    unsigned builtins = 0;  // BuiltinUse bits
    unsigned varyings = 0;  // the fixed varyings the text uses, declared in it
};

// The names the layer's uniforms and attributes have in rewritten text.
extern const char* const webglModelViewName;
extern const char* const webglProjectionName;
extern const char* const webglModelViewProjectionName;
extern const char* const webglNormalMatrixName;
extern const char* const webglModelViewInverseName;
extern const char* const webglInstanceMatrixName;
// "ffp_LightSource%d_position"; lights 0 to 7.
std::string webglLightPositionName(int light);

// The ES text of a desktop shader. With instanced, the modelview matrix of a vertex shader is a
// per-instance attribute instead of a uniform (the layer's batched draws). Only the fixed
// varyings the text uses are declared (each costs every fragment its interpolation), and those
// of alsoDeclare: a vertex stage must declare what its fragment stage reads, written or not.
RewrittenShader rewriteShader(std::string_view source, ShaderStage stage, bool instanced = false,
                              unsigned alsoDeclare = 0);
