// The fixed pipeline's matrix arithmetic as Mesa and its GLU do it, float for float, so that a
// browser build transforms vertices as the native frames were drawn. Matrices are column-major,
// as glLoadMatrixf takes them. No GL here: the native tests compare it with Mesa's own results.
#pragma once

struct FixedMatrix {
    float m[16];
};

FixedMatrix identityMatrix();

// a x b, as glMultMatrixf(b) does to a.
FixedMatrix multiplyMatrices(const FixedMatrix& a, const FixedMatrix& b);

// What glTranslatef, glScalef, glRotatef, glOrtho, gluPerspective and gluLookAt do to m.
void translateMatrix(FixedMatrix& m, float x, float y, float z);
void scaleMatrix(FixedMatrix& m, float x, float y, float z);
void rotateMatrix(FixedMatrix& m, float angleDegrees, float x, float y, float z);
void orthoMatrix(FixedMatrix& m, double left, double right, double bottom, double top, double nearPlane,
                 double farPlane);
void perspectiveMatrix(FixedMatrix& m, double fieldOfViewDegrees, double aspect, double nearPlane, double farPlane);
void lookAtMatrix(FixedMatrix& m, double eyeX, double eyeY, double eyeZ, double centreX, double centreY,
                  double centreZ, double upX, double upY, double upZ);

// The inverse (identity when m has none) and the normal matrix: the inverse's upper 3x3,
// transposed, column-major.
FixedMatrix invertMatrix(const FixedMatrix& m);
void normalMatrix(const FixedMatrix& inverse, float normal[9]);

// m x (x, y, z, w): where glLightfv puts a light's position.
void transformPoint(const FixedMatrix& m, const float in[4], float out[4]);
