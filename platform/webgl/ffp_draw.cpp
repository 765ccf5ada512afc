// Immediate mode into a streaming buffer, display lists as static buffers, and the batch that
// turns many replays of one list (a particle each) into one instanced draw.
#include "platform/webgl/ffp_context.h"

#include <cstring>

#include "platform/webgl/glsl_rewrite.h"

namespace {

void pointAttribute(GLuint location, int size, int offsetFloats) {
    glEnableVertexAttribArray(location);
    glVertexAttribPointer(location, size, GL_FLOAT, GL_FALSE, sizeof(FfpVertex),
                          reinterpret_cast<const void*>(static_cast<std::size_t>(offsetFloats) * sizeof(float)));
}

// Attributes from the bound buffer where set, the current values elsewhere.
void pointAttributes(const FfpAttributesSet& set) {
    const FfpVertex& c = ffp().current;
    pointAttribute(webglVertexAttribute, 4, 0);
    if (set.texCoord) pointAttribute(webglTexCoordAttribute, 4, 4);
    else {
        glDisableVertexAttribArray(webglTexCoordAttribute);
        glVertexAttrib4fv(webglTexCoordAttribute, c.texCoord);
    }
    if (set.normal) pointAttribute(webglNormalAttribute, 3, 8);
    else {
        glDisableVertexAttribArray(webglNormalAttribute);
        glVertexAttrib4f(webglNormalAttribute, c.normal[0], c.normal[1], c.normal[2], 1.0f);
    }
    if (set.colour) pointAttribute(webglColorAttribute, 4, 11);
    else {
        glDisableVertexAttribArray(webglColorAttribute);
        glVertexAttrib4fv(webglColorAttribute, c.colour);
    }
}

// Quads become two triangles each, split as Mesa's draw module splits them. Quads and triangles
// are what the rooms draw; other modes are left out.
void appendPrimitive(std::vector<FfpVertex>& out, GLenum primitive, const std::vector<FfpVertex>& in) {
    if (primitive == GL_QUADS) {
        for (std::size_t q = 0; q + 3 < in.size(); q += 4) {
            for (std::size_t k : {0, 1, 3, 1, 2, 3}) out.push_back(in[q + k]);
        }
    } else if (primitive == GL_TRIANGLES) {
        out.insert(out.end(), in.begin(), in.begin() + static_cast<std::ptrdiff_t>(in.size() / 3 * 3));
    }
}

void vertex(float x, float y, float z) {
    FfpState& s = ffp();
    if (!s.inBegin) return;
    FfpVertex v = s.current;
    v.position[0] = x, v.position[1] = y, v.position[2] = z, v.position[3] = 1.0f;
    s.primitiveVertices.push_back(v);
}

void drawArrays(GLuint program, GLsizei count) {
    if (program == 0 || count == 0) return;  // no fixed-function drawing in WebGL
    ffpUploadBuiltins(program);
    glDrawArrays(GL_TRIANGLES, 0, count);
}

}  // namespace

FfpState& ffp() {
    static FfpState state;
    return state;
}

extern "C" {

void glBegin(GLenum mode) {
    FfpState& s = ffp();
    if (s.compiling == 0) ffpFlushBatch();
    s.inBegin = true;
    s.primitive = mode;
    s.primitiveVertices.clear();
}

void glEnd(void) {
    FfpState& s = ffp();
    if (!s.inBegin) return;
    s.inBegin = false;
    if (s.compiling != 0) {
        appendPrimitive(s.listVertices, s.primitive, s.primitiveVertices);
        return;
    }
    std::vector<FfpVertex>& triangles = s.streamVertices;
    triangles.clear();
    appendPrimitive(triangles, s.primitive, s.primitiveVertices);
    if (triangles.empty() || s.program == 0) return;
    if (s.streamBuffer == 0) glGenBuffers(1, &s.streamBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, s.streamBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(triangles.size() * sizeof(FfpVertex)), triangles.data(),
                 GL_STREAM_DRAW);
    pointAttributes({true, true, true});
    drawArrays(s.program, static_cast<GLsizei>(triangles.size()));
}

void glVertex2i(GLint x, GLint y) { vertex(static_cast<float>(x), static_cast<float>(y), 0.0f); }
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) { vertex(x, y, z); }

void glTexCoord2f(GLfloat s, GLfloat t) {
    FfpState& state = ffp();
    float* c = state.current.texCoord;
    c[0] = s, c[1] = t, c[2] = 0.0f, c[3] = 1.0f;
    if (state.compiling != 0) state.listSet.texCoord = true;
}

void glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    FfpState& state = ffp();
    float* n = state.current.normal;
    n[0] = x, n[1] = y, n[2] = z;
    if (state.compiling != 0) state.listSet.normal = true;
}

void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    FfpState& state = ffp();
    float* c = state.current.colour;
    c[0] = r, c[1] = g, c[2] = b, c[3] = a;
    if (state.compiling != 0) state.listSet.colour = true;
}

void glColor3f(GLfloat r, GLfloat g, GLfloat b) { glColor4f(r, g, b, 1.0f); }

GLuint glGenLists(GLsizei range) {
    FfpState& s = ffp();
    if (range <= 0) return 0;
    const GLuint first = s.nextList;
    s.nextList += static_cast<GLuint>(range);
    return first;
}

void glNewList(GLuint list, GLenum) {
    FfpState& s = ffp();
    if (list == 0 || s.compiling != 0) return;
    ffpFlushBatch();
    s.compiling = list;
    s.listVertices.clear();
    s.listSet = {};
}

void glEndList(void) {
    FfpState& s = ffp();
    if (s.compiling == 0) return;
    FfpDisplayList& list = s.lists[s.compiling];
    if (list.buffer == 0) glGenBuffers(1, &list.buffer);
    glBindBuffer(GL_ARRAY_BUFFER, list.buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(s.listVertices.size() * sizeof(FfpVertex)),
                 s.listVertices.data(), GL_STATIC_DRAW);
    list.vertexCount = static_cast<GLsizei>(s.listVertices.size());
    list.set = s.listSet;
    list.last = s.current;
    s.compiling = 0;
}

void glCallList(GLuint name) {
    FfpState& s = ffp();
    const auto found = s.lists.find(name);
    if (found == s.lists.end() || s.program == 0) return;
    const FfpDisplayList& list = found->second;
    // Many replays of one list by a program that reads no more than the modelview and the
    // projection wait to go out as one instanced draw.
    if (ffpInstancedVariant(s.program) != 0) {
        if (s.batchList != name || s.batchProgram != s.program) {
            ffpFlushBatch();
            s.batchList = name;
            s.batchProgram = s.program;
        }
        s.batchInstances.insert(s.batchInstances.end(), ffpModelView().m, ffpModelView().m + 16);
        s.batchInstances.insert(s.batchInstances.end(), s.current.colour, s.current.colour + 4);
    } else {
        ffpFlushBatch();
        glBindBuffer(GL_ARRAY_BUFFER, list.buffer);
        pointAttributes(list.set);
        drawArrays(s.program, list.vertexCount);
    }
    // What the list set is current after it, as after a replay in GL.
    if (list.set.texCoord) std::memcpy(s.current.texCoord, list.last.texCoord, sizeof s.current.texCoord);
    if (list.set.normal) std::memcpy(s.current.normal, list.last.normal, sizeof s.current.normal);
    if (list.set.colour) std::memcpy(s.current.colour, list.last.colour, sizeof s.current.colour);
}

}  // extern "C"

void ffpFlushBatch() {
    FfpState& s = ffp();
    if (s.batchInstances.empty()) return;
    const auto found = s.lists.find(s.batchList);
    const GLuint variant = ffpInstancedVariant(s.batchProgram);
    const std::size_t instances = s.batchInstances.size() / 20;
    if (found != s.lists.end() && variant != 0) {
        const FfpDisplayList& list = found->second;
        FfpProgram& base = ffpProgram(s.batchProgram);
        glUseProgram(variant);
        if (base.instancedProjection >= 0)
            glUniformMatrix4fv(base.instancedProjection, 1, GL_FALSE, ffpProjection().m);
        for (const auto& [uniformName, value] : base.uniformValues) {
            auto location = base.instancedLocations.find(uniformName);
            if (location == base.instancedLocations.end())
                location = base.instancedLocations.emplace(uniformName, glGetUniformLocation(variant, uniformName.c_str()))
                               .first;
            if (location->second < 0) continue;
            if (value.integer) glUniform1i(location->second, static_cast<GLint>(value.value[0]));
            else glUniform4fv(location->second, 1, value.value);
        }
        glBindBuffer(GL_ARRAY_BUFFER, list.buffer);
        pointAttributes(list.set);
        if (s.instanceBuffer == 0) glGenBuffers(1, &s.instanceBuffer);
        glBindBuffer(GL_ARRAY_BUFFER, s.instanceBuffer);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(s.batchInstances.size() * sizeof(float)),
                     s.batchInstances.data(), GL_STREAM_DRAW);
        constexpr GLsizei stride = 20 * sizeof(float);
        for (GLuint column = 0; column < 4; ++column) {
            const GLuint location = webglInstanceMatrixAttribute + column;
            glEnableVertexAttribArray(location);
            glVertexAttribPointer(location, 4, GL_FLOAT, GL_FALSE, stride,
                                  reinterpret_cast<const void*>(static_cast<std::size_t>(column) * 16));
            glVertexAttribDivisor(location, 1);
        }
        const bool instanceColour = !list.set.colour;
        if (instanceColour) {
            glEnableVertexAttribArray(webglColorAttribute);
            glVertexAttribPointer(webglColorAttribute, 4, GL_FLOAT, GL_FALSE, stride,
                                  reinterpret_cast<const void*>(static_cast<std::size_t>(16 * sizeof(float))));
            glVertexAttribDivisor(webglColorAttribute, 1);
        }
        glDrawArraysInstanced(GL_TRIANGLES, 0, list.vertexCount, static_cast<GLsizei>(instances));
        for (GLuint column = 0; column < 4; ++column) {
            glVertexAttribDivisor(webglInstanceMatrixAttribute + column, 0);
            glDisableVertexAttribArray(webglInstanceMatrixAttribute + column);
        }
        if (instanceColour) glVertexAttribDivisor(webglColorAttribute, 0);
        glUseProgram(s.program);
    }
    s.batchInstances.clear();
    s.batchList = 0;
    s.batchProgram = 0;
}

void ffpUploadBuiltins(GLuint name) {
    FfpState& s = ffp();
    FfpProgram& program = ffpProgram(name);
    if (program.uploadedSerial == s.serial) return;
    program.uploadedSerial = s.serial;
    const unsigned needs = program.builtins;
    if (needs & (usesModelViewProjection | usesNormalMatrix | usesModelViewInverse)) {
        if (s.derivedSerial != s.serial) {
            s.derivedSerial = s.serial;
            // Mesa's order: the projection times the modelview.
            s.modelViewProjection = multiplyMatrices(ffpProjection(), ffpModelView());
            s.inverse = invertMatrix(ffpModelView());
            normalMatrix(s.inverse, s.normal);
        }
    }
    if (program.modelView >= 0) glUniformMatrix4fv(program.modelView, 1, GL_FALSE, ffpModelView().m);
    if (program.projection >= 0) glUniformMatrix4fv(program.projection, 1, GL_FALSE, ffpProjection().m);
    if (program.modelViewProjection >= 0)
        glUniformMatrix4fv(program.modelViewProjection, 1, GL_FALSE, s.modelViewProjection.m);
    if (program.normal >= 0) glUniformMatrix3fv(program.normal, 1, GL_FALSE, s.normal);
    if (program.inverse >= 0) glUniformMatrix4fv(program.inverse, 1, GL_FALSE, s.inverse.m);
    for (int light = 0; light < 8; ++light)
        if (program.lights[light] >= 0) glUniform4fv(program.lights[light], 1, s.lights[light]);
}
