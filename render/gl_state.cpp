// GL state helpers. No caching: every call issues its GL calls.
#include "render/gl_state.h"

#include <GL/glew.h>

#include "render/render_destinations.h"

void setViewport(float x, float y, float width, float height) {
    glViewport(static_cast<GLint>(x), static_cast<GLint>(y), static_cast<GLsizei>(width),
               static_cast<GLsizei>(height));
}

void setClearColor(float r, float g, float b) { glClearColor(r, g, b, 1.0f); }
void clearBuffers(unsigned mask) { glClear(mask); }
void enableCap(unsigned capability) { glEnable(capability); }
void disableCap(unsigned capability) { glDisable(capability); }
void pushMatrix() { glPushMatrix(); }
void popMatrix() { glPopMatrix(); }
void translate(float x, float y, float z) { glTranslatef(x, y, z); }
void rotate(float angleDegrees, float x, float y, float z) { glRotatef(angleDegrees, x, y, z); }
void scale(float x, float y, float z) { glScalef(x, y, z); }
void loadIdentity() { glLoadIdentity(); }

void resetModelview() {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void setPerspective(float fieldOfViewDegrees, float aspect, float nearPlane, float farPlane) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfViewDegrees, aspect, nearPlane, farPlane);
}

void setCamera(float eyeX, float eyeY, float eyeZ, float centreX, float centreY, float centreZ,
               float upX, float upY, float upZ) {
    gluLookAt(eyeX, eyeY, eyeZ, centreX, centreY, centreZ, upX, upY, upZ);
    glGetFloatv(GL_MODELVIEW_MATRIX, renderDestinations.viewMatrix);
}

void setBlendMode(BlendMode mode) {
    if (mode == BlendMode::Off) {
        glDisable(GL_BLEND);
        return;
    }
    glEnable(GL_BLEND);
    switch (mode) {
        case BlendMode::AlphaSaturate: glBlendFunc(GL_SRC_ALPHA_SATURATE, GL_ONE_MINUS_SRC_ALPHA); break;
        case BlendMode::Darken: glBlendFunc(GL_ZERO, GL_ONE_MINUS_SRC_COLOR); break;
        case BlendMode::Alpha: glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA); break;
        case BlendMode::Additive: glBlendFunc(GL_SRC_ALPHA, GL_ONE); break;
        default: break;
    }
}

void setCullMode(CullMode mode) {
    if (mode == CullMode::Off) {
        glDisable(GL_CULL_FACE);
        return;
    }
    glEnable(GL_CULL_FACE);
    if (mode == CullMode::Back) glCullFace(GL_BACK);
    else if (mode == CullMode::Front) glCullFace(GL_FRONT);
}

void bindTexture2D(unsigned glTextureName) {
    glDisable(GL_TEXTURE_CUBE_MAP);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_GEN_R);
    glBindTexture(GL_TEXTURE_2D, glTextureName);
}

void bindCubeMapTexture(unsigned glTextureName) {
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_TEXTURE_CUBE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_GEN_R);
    glBindTexture(GL_TEXTURE_CUBE_MAP, glTextureName);
}
