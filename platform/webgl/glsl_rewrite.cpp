// Identifiers are replaced whole, token by token, so gl_ModelViewMatrix never eats the start of
// gl_ModelViewMatrixInverse; declarations are added only for what the text uses.
#include "platform/webgl/glsl_rewrite.h"

#include <cctype>
#include <cstdio>
#include <set>

const char* const webglModelViewName = "ffp_ModelViewMatrix";
const char* const webglProjectionName = "ffp_ProjectionMatrix";
const char* const webglModelViewProjectionName = "ffp_ModelViewProjectionMatrix";
const char* const webglNormalMatrixName = "ffp_NormalMatrix";
const char* const webglModelViewInverseName = "ffp_ModelViewMatrixInverse";
const char* const webglInstanceMatrixName = "ffp_InstanceModelView";

std::string webglLightPositionName(int light) {
    char name[40];
    std::snprintf(name, sizeof name, "ffp_LightSource%d_position", light);
    return name;
}

namespace {

bool identifierStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool identifierPart(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

struct Builtin {
    const char* name;
    const char* vertexDeclaration;  // how the vertex stage gets it; nullptr: not in this stage
    const char* fragmentDeclaration;
    unsigned use;
};

// The built-ins the data set's programs use, and what stands for them.
const Builtin builtins[] = {
    {"gl_Vertex", "attribute vec4 ffp_Vertex;", nullptr, 0},
    {"gl_Normal", "attribute vec3 ffp_Normal;", nullptr, 0},
    {"gl_MultiTexCoord0", "attribute vec4 ffp_MultiTexCoord0;", nullptr, 0},
    {"gl_ModelViewMatrix", "uniform mat4 ffp_ModelViewMatrix;", "uniform mat4 ffp_ModelViewMatrix;",
     usesModelView},
    {"gl_ProjectionMatrix", "uniform mat4 ffp_ProjectionMatrix;", "uniform mat4 ffp_ProjectionMatrix;",
     usesProjection},
    {"gl_ModelViewProjectionMatrix", "uniform mat4 ffp_ModelViewProjectionMatrix;",
     "uniform mat4 ffp_ModelViewProjectionMatrix;", usesModelViewProjection},
    {"gl_NormalMatrix", "uniform mat3 ffp_NormalMatrix;", "uniform mat3 ffp_NormalMatrix;", usesNormalMatrix},
    {"gl_ModelViewMatrixInverse", "uniform mat4 ffp_ModelViewMatrixInverse;",
     "uniform mat4 ffp_ModelViewMatrixInverse;", usesModelViewInverse},
    {"gl_FrontColor", "varying vec4 ffp_FrontColor;", nullptr, 0},
};

constexpr int texCoordVaryings = 4;  // gl_TexCoord[0] to [3]

}  // namespace

RewrittenShader rewriteShader(std::string_view source, ShaderStage stage, bool instanced, unsigned alsoDeclare) {
    const bool vertex = stage == ShaderStage::Vertex;
    RewrittenShader result;
    std::string body;
    std::set<std::string> declarations;
    std::set<int> lights;
    body.reserve(source.size() + 256);
    std::size_t i = 0;
    while (i < source.size()) {
        const char c = source[i];
        // A #version line names desktop GLSL; the rewritten text has its own.
        if (c == '#' && source.substr(i, 8) == "#version") {
            while (i < source.size() && source[i] != '\n') ++i;
            continue;
        }
        if (!identifierStart(c) || (i > 0 && identifierPart(source[i - 1]))) {
            body += c;
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < source.size() && identifierPart(source[end])) ++end;
        const std::string word(source.substr(i, end - i));
        i = end;
        if (word.rfind("gl_", 0) != 0 && word != "ftransform") {
            body += word;
            continue;
        }
        if (word == "ftransform") {
            // ftransform() is the modelview-projection product of the vertex.
            std::size_t j = i;
            while (j < source.size() && std::isspace(static_cast<unsigned char>(source[j]))) ++j;
            if (j < source.size() && source[j] == '(') {
                std::size_t k = j + 1;
                while (k < source.size() && std::isspace(static_cast<unsigned char>(source[k]))) ++k;
                if (k < source.size() && source[k] == ')') {
                    body += "(ffp_ModelViewProjectionMatrix * ffp_Vertex)";
                    declarations.insert("uniform mat4 ffp_ModelViewProjectionMatrix;");
                    declarations.insert("attribute vec4 ffp_Vertex;");
                    result.builtins |= usesModelViewProjection;
                    i = k + 1;
                    continue;
                }
            }
            body += word;
            continue;
        }
        if (word == "gl_Color") {
            if (vertex) {
                declarations.insert("attribute vec4 ffp_Color;");
                body += "ffp_Color";
            } else {
                body += "ffp_FrontColor";
                result.varyings |= frontColourVarying;
            }
            continue;
        }
        if (word == "gl_TexCoord") {
            // gl_TexCoord[N] with a literal N, the only form the fixed varyings take here.
            std::size_t j = i;
            if (j + 2 < source.size() && source[j] == '[' && std::isdigit(static_cast<unsigned char>(source[j + 1])) &&
                source[j + 2] == ']' && source[j + 1] - '0' < texCoordVaryings) {
                body += "ffp_TexCoord";
                body += source[j + 1];
                result.varyings |= texCoordVarying0 << (source[j + 1] - '0');
                i = j + 3;
                continue;
            }
            body += word;
            continue;
        }
        if (word == "gl_LightSource") {
            // gl_LightSource[N].position: the light's eye-space position.
            const std::string_view rest = source.substr(i);
            if (rest.size() >= 12 && rest[0] == '[' && std::isdigit(static_cast<unsigned char>(rest[1])) &&
                rest[1] - '0' < 8 && rest[2] == ']' && rest.substr(3, 9) == ".position" &&
                !(rest.size() > 12 && identifierPart(rest[12]))) {
                const int light = rest[1] - '0';
                lights.insert(light);
                body += webglLightPositionName(light);
                result.builtins |= usesLightPositions;
                i += 12;
                continue;
            }
            body += word;
            continue;
        }
        bool replaced = false;
        for (const Builtin& builtin : builtins) {
            if (word != builtin.name) continue;
            const char* declaration = vertex ? builtin.vertexDeclaration : builtin.fragmentDeclaration;
            if (declaration == nullptr) break;
            std::string name = "ffp_" + word.substr(3);
            if (word == "gl_FrontColor") result.varyings |= frontColourVarying;
            if (instanced && vertex && builtin.use == usesModelView) {
                declarations.insert(std::string("attribute mat4 ") + webglInstanceMatrixName + ";");
                name = webglInstanceMatrixName;
            } else {
                declarations.insert(declaration);
                result.builtins |= builtin.use;
            }
            body += name;
            replaced = true;
            break;
        }
        if (!replaced) body += word;  // gl_Position, gl_FragColor and the like stay
    }
    declarations.erase("varying vec4 ffp_FrontColor;");  // with the other varyings below
    std::string head = "#version 100\nprecision highp float;\n";
    for (const std::string& declaration : declarations) head += declaration + "\n";
    for (int light : lights) head += "uniform vec4 " + webglLightPositionName(light) + ";\n";
    const unsigned declared = result.varyings | alsoDeclare;
    if (declared & frontColourVarying) head += "varying vec4 ffp_FrontColor;\n";
    for (int n = 0; n < texCoordVaryings; ++n)
        if (declared & (texCoordVarying0 << n)) head += "varying vec4 ffp_TexCoord" + std::to_string(n) + ";\n";
    // The original line numbers stay: compiler messages name the author's lines.
    head += "#line 1\n";
    result.text = head + body;
    return result;
}
