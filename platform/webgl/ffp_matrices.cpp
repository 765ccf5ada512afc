// The matrix stacks, GLU's camera calls and the light positions, on Mesa's arithmetic.
#include "platform/webgl/ffp_context.h"

#include <cstring>

namespace {

constexpr std::size_t stackDepth = 32;  // as Mesa's modelview stack

FixedMatrix& top() { return ffp().stacks[ffp().matrixMode].back(); }

void changed() { ffpMatricesChanged(ffp().matrixMode == 1); }

}  // namespace

const FixedMatrix& ffpModelView() { return ffp().stacks[0].back(); }
const FixedMatrix& ffpProjection() { return ffp().stacks[1].back(); }

void ffpMatricesChanged(bool projection) {
    // A batch carries its modelviews but shares one projection.
    if (projection) ffpFlushBatch();
    ++ffp().serial;
}

extern "C" {

void glMatrixMode(GLenum mode) { ffp().matrixMode = mode == GL_PROJECTION ? 1 : 0; }

void glLoadIdentity(void) {
    top() = identityMatrix();
    changed();
}

void glLoadMatrixf(const GLfloat* m) {
    std::memcpy(top().m, m, sizeof top().m);
    changed();
}

void glMultMatrixf(const GLfloat* m) {
    FixedMatrix by;
    std::memcpy(by.m, m, sizeof by.m);
    top() = multiplyMatrices(top(), by);
    changed();
}

void glPushMatrix(void) {
    auto& stack = ffp().stacks[ffp().matrixMode];
    if (stack.size() < stackDepth) stack.push_back(stack.back());
}

void glPopMatrix(void) {
    auto& stack = ffp().stacks[ffp().matrixMode];
    if (stack.size() > 1) stack.pop_back();
    changed();
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    translateMatrix(top(), x, y, z);
    changed();
}

void glScalef(GLfloat x, GLfloat y, GLfloat z) {
    scaleMatrix(top(), x, y, z);
    changed();
}

void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    rotateMatrix(top(), angle, x, y, z);
    changed();
}

void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top_, GLdouble nearPlane, GLdouble farPlane) {
    orthoMatrix(top(), left, right, bottom, top_, nearPlane, farPlane);
    changed();
}

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    perspectiveMatrix(top(), fovy, aspect, zNear, zFar);
    changed();
}

void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX, GLdouble centreY, GLdouble centreZ,
               GLdouble upX, GLdouble upY, GLdouble upZ) {
    lookAtMatrix(top(), eyeX, eyeY, eyeZ, centreX, centreY, centreZ, upX, upY, upZ);
    changed();
}

void glLightfv(GLenum light, GLenum name, const GLfloat* values) {
    const int index = static_cast<int>(light) - GL_LIGHT0;
    if (index < 0 || index >= 8 || name != GL_POSITION) return;
    ffpFlushBatch();
    transformPoint(ffpModelView(), values, ffp().lights[index]);
    ++ffp().serial;
}

void ffpGetFloatv(GLenum name, GLfloat* values) {
    if (name == GL_MODELVIEW_MATRIX) std::memcpy(values, ffpModelView().m, sizeof(float) * 16);
    else if (name == GL_PROJECTION_MATRIX) std::memcpy(values, ffpProjection().m, sizeof(float) * 16);
    else glGetFloatv(name, values);
}

}  // extern "C"
