// The GL layer's own state: what WebGL 2 does not keep for the fixed pipeline, and the batch of
// draws waiting to go out as one. Internal to platform/webgl/.
#pragma once

#define FFP_LAYER_IMPLEMENTATION
#include <GL/glew.h>

#include <map>
#include <string>
#include <vector>

#include "platform/webgl/fixed_matrix.h"

// One vertex as immediate mode gives it: every attribute's value at glVertex.
struct FfpVertex {
    float position[4];
    float texCoord[4];
    float normal[3];
    float colour[4];
};
constexpr int ffpVertexFloats = 15;
static_assert(sizeof(FfpVertex) == ffpVertexFloats * sizeof(float));

// Which attributes a display list set itself; the others come from the current values at replay.
struct FfpAttributesSet {
    bool texCoord = false, normal = false, colour = false;
};

struct FfpDisplayList {
    GLuint buffer = 0;
    GLsizei vertexCount = 0;
    FfpAttributesSet set;
    FfpVertex last{};  // the values set last inside it, current after a replay
};

struct FfpUniformValue {
    bool integer = false;
    float value[4] = {};
};

struct FfpProgram {
    unsigned builtins = 0;          // BuiltinUse bits of its stages
    unsigned fragmentVaryings = 0;  // the fixed varyings its fragment stage reads
    GLint modelView = -1, projection = -1, modelViewProjection = -1, normal = -1, inverse = -1;
    GLint lights[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
    unsigned uploadedSerial = 0;  // the matrix state its uniforms hold
    // Set by the rooms through the layer, by name, so a batched variant gets the same values.
    std::map<GLint, std::string> uniformNames;
    std::map<std::string, FfpUniformValue> uniformValues;
    bool instancedTried = false;
    GLuint instanced = 0;  // the variant whose modelview is a per-instance attribute, or 0
    GLint instancedProjection = -1;
    std::map<std::string, GLint> instancedLocations;
};

struct FfpShader {
    GLenum type = 0;
    std::string source;  // as the author wrote it
};

struct FfpState {
    // Matrices: [0] modelview, [1] projection; serial counts changes for the uniform uploads.
    std::vector<FixedMatrix> stacks[2] = {{identityMatrix()}, {identityMatrix()}};
    int matrixMode = 0;
    unsigned serial = 1;
    unsigned derivedSerial = 0;
    FixedMatrix modelViewProjection = identityMatrix(), inverse = identityMatrix();
    float normal[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    float lights[8][4] = {};

    FfpVertex current{{0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 1}, {1, 1, 1, 1}};
    bool inBegin = false;
    GLenum primitive = 0;
    std::vector<FfpVertex> primitiveVertices;  // of the glBegin open now
    std::vector<FfpVertex> streamVertices;     // its triangles, for the streaming buffer
    GLuint streamBuffer = 0;

    // Display lists: the one being compiled, and all by name.
    GLuint compiling = 0;
    std::vector<FfpVertex> listVertices;
    FfpAttributesSet listSet;
    std::map<GLuint, FfpDisplayList> lists;
    GLuint nextList = 1;

    // Switches that WebGL has not, and those it has (kept for glPushAttrib).
    std::map<GLenum, bool> switches;
    GLenum blendSource = GL_ONE, blendDestination = GL_ZERO;
    GLboolean depthMask = GL_TRUE;
    GLenum cullFace = GL_BACK;

    GLuint program = 0;
    std::map<GLuint, FfpProgram> programs;
    std::map<GLuint, FfpShader> shaders;

    // Replays of one list by one batchable program, each with its modelview and colour.
    GLuint batchList = 0;
    GLuint batchProgram = 0;
    std::vector<float> batchInstances;  // 16 + 4 floats each
    GLuint instanceBuffer = 0;
};

FfpState& ffp();

// Draws the waiting batch; every call that changes what a draw would see calls it first.
void ffpFlushBatch();

const FixedMatrix& ffpModelView();
const FixedMatrix& ffpProjection();
void ffpMatricesChanged(bool projection);

// Brings the program's built-in uniforms up to the current matrices and lights.
void ffpUploadBuiltins(GLuint program);

// The program record of a linked program (created on first use), and its batched variant.
FfpProgram& ffpProgram(GLuint program);
GLuint ffpInstancedVariant(GLuint program);
