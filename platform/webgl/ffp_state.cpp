// The fixed pipeline's switches kept as state, glPushAttrib over what the layer keeps, and the
// WebGL calls that change what a waiting batch would be drawn with.
#include "platform/webgl/ffp_context.h"

#include <cstring>
#include <vector>

namespace {

// Switches WebGL itself has; the others (texturing, texgen, lighting, fog) are only kept.
bool webglHas(GLenum capability) {
    switch (capability) {
        case GL_BLEND:
        case GL_CULL_FACE:
        case GL_DEPTH_TEST:
        case GL_DITHER:
        case GL_POLYGON_OFFSET_FILL:
        case GL_SAMPLE_ALPHA_TO_COVERAGE:
        case GL_SAMPLE_COVERAGE:
        case GL_SCISSOR_TEST:
        case GL_STENCIL_TEST:
            return true;
        default:
            return false;
    }
}

void setSwitch(GLenum capability, bool on) {
    ffpFlushBatch();
    ffp().switches[capability] = on;
    if (!webglHas(capability)) return;
    if (on) glEnable(capability);
    else glDisable(capability);
}

struct SavedAttributes {
    std::map<GLenum, bool> switches;
    GLenum blendSource, blendDestination;
    GLboolean depthMask;
    GLenum cullFace;
    float colour[4];
};

std::vector<SavedAttributes> attributeStack;

}  // namespace

extern "C" {

GLenum glewInit(void) { return GLEW_OK; }

GLboolean glewIsSupported(const char* name) {
    return name != nullptr && std::strcmp(name, "GL_VERSION_2_0") == 0 ? GL_TRUE : GL_FALSE;
}

void ffpEnable(GLenum capability) { setSwitch(capability, true); }
void ffpDisable(GLenum capability) { setSwitch(capability, false); }

void glTexGeni(GLenum, GLenum, GLint) {}  // generated coordinates only feed fixed-function drawing
void glWindowPos2i(GLint, GLint) {}        // the browser's window has no bitmap font to place
void glPushClientAttrib(GLbitfield) {}
void glPopClientAttrib(void) {}
void glPixelZoom(GLfloat, GLfloat) {}
void glDrawPixels(GLsizei, GLsizei, GLenum, GLenum, const void*) {}

void glPushAttrib(GLbitfield) {
    const FfpState& s = ffp();
    SavedAttributes saved{s.switches, s.blendSource, s.blendDestination, s.depthMask, s.cullFace, {}};
    std::memcpy(saved.colour, s.current.colour, sizeof saved.colour);
    attributeStack.push_back(saved);
}

void glPopAttrib(void) {
    if (attributeStack.empty()) return;
    const SavedAttributes saved = attributeStack.back();
    attributeStack.pop_back();
    for (const auto& [capability, on] : saved.switches) setSwitch(capability, on);
    ffpBlendFunc(saved.blendSource, saved.blendDestination);
    ffpDepthMask(saved.depthMask);
    ffpCullFace(saved.cullFace);
    std::memcpy(ffp().current.colour, saved.colour, sizeof saved.colour);
}

void ffpBlendFunc(GLenum source, GLenum destination) {
    ffpFlushBatch();
    ffp().blendSource = source;
    ffp().blendDestination = destination;
    glBlendFunc(source, destination);
}

void ffpDepthMask(GLboolean flag) {
    ffpFlushBatch();
    ffp().depthMask = flag;
    glDepthMask(flag);
}

void ffpCullFace(GLenum face) {
    ffpFlushBatch();
    ffp().cullFace = face;
    glCullFace(face);
}

void ffpBindFramebuffer(GLenum target, GLuint framebuffer) {
    ffpFlushBatch();
    glBindFramebuffer(target, framebuffer);
}

void ffpFramebufferTexture2D(GLenum target, GLenum attachment, GLenum textureTarget, GLuint texture, GLint level) {
    ffpFlushBatch();
    glFramebufferTexture2D(target, attachment, textureTarget, texture, level);
}

void ffpFramebufferRenderbuffer(GLenum target, GLenum attachment, GLenum renderbufferTarget, GLuint renderbuffer) {
    ffpFlushBatch();
    glFramebufferRenderbuffer(target, attachment, renderbufferTarget, renderbuffer);
}

void ffpBindTexture(GLenum target, GLuint texture) {
    ffpFlushBatch();
    glBindTexture(target, texture);
}

void ffpActiveTexture(GLenum unit) {
    ffpFlushBatch();
    glActiveTexture(unit);
}

void ffpTexParameteri(GLenum target, GLenum name, GLint value) {
    ffpFlushBatch();
    glTexParameteri(target, name, value);
}

void ffpViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    ffpFlushBatch();
    glViewport(x, y, width, height);
}

void ffpClear(GLbitfield mask) {
    ffpFlushBatch();
    glClear(mask);
}

void ffpFlush(void) {
    ffpFlushBatch();
    glFlush();
}

void ffpFinish(void) {
    ffpFlushBatch();
    glFinish();
}

}  // extern "C"
