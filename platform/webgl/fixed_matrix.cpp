// Mesa's matrix code keeps float intermediates and adds its products left to right; GLU works in
// double and hands Mesa floats. Both orders are kept here, since a different rounding moves
// silhouettes by a pixel across a whole frame.
#include "platform/webgl/fixed_matrix.h"

#include <cmath>
#include <cstring>
#include <utility>

namespace {

constexpr double pi = 3.14159265358979323846;

float& at(FixedMatrix& m, int row, int column) { return m.m[column * 4 + row]; }
float at(const FixedMatrix& m, int row, int column) { return m.m[column * 4 + row]; }

void multiplyInto(FixedMatrix& m, const FixedMatrix& by) { m = multiplyMatrices(m, by); }

// GLU's float vector helpers: the sum of squares in float, its root in double.
void normalise(float v[3]) {
    const float r = static_cast<float>(std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]));
    if (r == 0.0f) return;
    v[0] /= r;
    v[1] /= r;
    v[2] /= r;
}

void cross(const float a[3], const float b[3], float out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

}  // namespace

FixedMatrix identityMatrix() { return {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}}; }

FixedMatrix multiplyMatrices(const FixedMatrix& a, const FixedMatrix& b) {
    FixedMatrix p;
    for (int i = 0; i < 4; ++i) {
        const float ai0 = at(a, i, 0), ai1 = at(a, i, 1), ai2 = at(a, i, 2), ai3 = at(a, i, 3);
        for (int j = 0; j < 4; ++j)
            at(p, i, j) = ai0 * at(b, 0, j) + ai1 * at(b, 1, j) + ai2 * at(b, 2, j) + ai3 * at(b, 3, j);
    }
    return p;
}

void translateMatrix(FixedMatrix& m, float x, float y, float z) {
    float* v = m.m;
    v[12] = v[0] * x + v[4] * y + v[8] * z + v[12];
    v[13] = v[1] * x + v[5] * y + v[9] * z + v[13];
    v[14] = v[2] * x + v[6] * y + v[10] * z + v[14];
    v[15] = v[3] * x + v[7] * y + v[11] * z + v[15];
}

void scaleMatrix(FixedMatrix& m, float x, float y, float z) {
    for (int i = 0; i < 4; ++i) {
        m.m[i] *= x;
        m.m[4 + i] *= y;
        m.m[8 + i] *= z;
    }
}

void rotateMatrix(FixedMatrix& m, float angleDegrees, float x, float y, float z) {
    const float s = std::sin(static_cast<float>(angleDegrees * pi / 180.0));
    const float c = std::cos(static_cast<float>(angleDegrees * pi / 180.0));
    FixedMatrix r = identityMatrix();
    // Turns about one axis take Mesa's short way, without normalising the axis.
    if (x == 0.0f && y == 0.0f && z != 0.0f) {
        at(r, 0, 0) = c;
        at(r, 1, 1) = c;
        at(r, 0, 1) = z < 0.0f ? s : -s;
        at(r, 1, 0) = z < 0.0f ? -s : s;
    } else if (x == 0.0f && z == 0.0f && y != 0.0f) {
        at(r, 0, 0) = c;
        at(r, 2, 2) = c;
        at(r, 0, 2) = y < 0.0f ? -s : s;
        at(r, 2, 0) = y < 0.0f ? s : -s;
    } else if (y == 0.0f && z == 0.0f && x != 0.0f) {
        at(r, 1, 1) = c;
        at(r, 2, 2) = c;
        at(r, 1, 2) = x < 0.0f ? s : -s;
        at(r, 2, 1) = x < 0.0f ? -s : s;
    } else {
        const float length = std::sqrt(x * x + y * y + z * z);
        if (length <= 1.0e-4f) return;
        x /= length;
        y /= length;
        z /= length;
        const float xx = x * x, yy = y * y, zz = z * z, xy = x * y, yz = y * z, zx = z * x;
        const float xs = x * s, ys = y * s, zs = z * s, oneC = 1.0f - c;
        at(r, 0, 0) = (oneC * xx) + c;
        at(r, 0, 1) = (oneC * xy) - zs;
        at(r, 0, 2) = (oneC * zx) + ys;
        at(r, 1, 0) = (oneC * xy) + zs;
        at(r, 1, 1) = (oneC * yy) + c;
        at(r, 1, 2) = (oneC * yz) - xs;
        at(r, 2, 0) = (oneC * zx) - ys;
        at(r, 2, 1) = (oneC * yz) + xs;
        at(r, 2, 2) = (oneC * zz) + c;
    }
    multiplyInto(m, r);
}

void orthoMatrix(FixedMatrix& m, double left, double right, double bottom, double top, double nearPlane,
                 double farPlane) {
    const float l = static_cast<float>(left), r = static_cast<float>(right), b = static_cast<float>(bottom),
                t = static_cast<float>(top), n = static_cast<float>(nearPlane), f = static_cast<float>(farPlane);
    FixedMatrix o = identityMatrix();
    at(o, 0, 0) = 2.0f / (r - l);
    at(o, 0, 3) = -(r + l) / (r - l);
    at(o, 1, 1) = 2.0f / (t - b);
    at(o, 1, 3) = -(t + b) / (t - b);
    at(o, 2, 2) = -2.0f / (f - n);
    at(o, 2, 3) = -(f + n) / (f - n);
    multiplyInto(m, o);
}

void perspectiveMatrix(FixedMatrix& m, double fieldOfViewDegrees, double aspect, double nearPlane, double farPlane) {
    const double radians = fieldOfViewDegrees / 2 * pi / 180;
    const double deltaZ = farPlane - nearPlane;
    const double sine = std::sin(radians);
    if (deltaZ == 0 || sine == 0 || aspect == 0) return;
    const double cotangent = std::cos(radians) / sine;
    double p[16] = {};
    p[0] = cotangent / aspect;
    p[5] = cotangent;
    p[10] = -(farPlane + nearPlane) / deltaZ;
    p[11] = -1;
    p[14] = -2 * nearPlane * farPlane / deltaZ;
    FixedMatrix f;
    for (int i = 0; i < 16; ++i) f.m[i] = static_cast<float>(p[i]);
    multiplyInto(m, f);
}

void lookAtMatrix(FixedMatrix& m, double eyeX, double eyeY, double eyeZ, double centreX, double centreY,
                  double centreZ, double upX, double upY, double upZ) {
    float forward[3] = {static_cast<float>(centreX - eyeX), static_cast<float>(centreY - eyeY),
                        static_cast<float>(centreZ - eyeZ)};
    float up[3] = {static_cast<float>(upX), static_cast<float>(upY), static_cast<float>(upZ)};
    float side[3];
    normalise(forward);
    cross(forward, up, side);
    normalise(side);
    cross(side, forward, up);
    FixedMatrix view = identityMatrix();
    for (int i = 0; i < 3; ++i) {
        at(view, 0, i) = side[i];
        at(view, 1, i) = up[i];
        at(view, 2, i) = -forward[i];
    }
    multiplyInto(m, view);
    translateMatrix(m, static_cast<float>(-eyeX), static_cast<float>(-eyeY), static_cast<float>(-eyeZ));
}

FixedMatrix invertMatrix(const FixedMatrix& m) {
    // Gauss-Jordan with partial pivoting, in float as the driver does.
    float work[4][8];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            work[r][c] = at(m, r, c);
            work[r][c + 4] = r == c ? 1.0f : 0.0f;
        }
    for (int c = 0; c < 4; ++c) {
        int pivot = c;
        for (int r = c + 1; r < 4; ++r)
            if (std::fabs(work[r][c]) > std::fabs(work[pivot][c])) pivot = r;
        if (work[pivot][c] == 0.0f) return identityMatrix();
        if (pivot != c)
            for (int k = 0; k < 8; ++k) std::swap(work[c][k], work[pivot][k]);
        const float scale = 1.0f / work[c][c];
        for (int k = 0; k < 8; ++k) work[c][k] *= scale;
        for (int r = 0; r < 4; ++r) {
            if (r == c || work[r][c] == 0.0f) continue;
            const float factor = work[r][c];
            for (int k = 0; k < 8; ++k) work[r][k] -= factor * work[c][k];
        }
    }
    FixedMatrix inverse;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) at(inverse, r, c) = work[r][c + 4];
    return inverse;
}

void normalMatrix(const FixedMatrix& inverse, float normal[9]) {
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 3; ++row) normal[column * 3 + row] = at(inverse, column, row);
}

void transformPoint(const FixedMatrix& m, const float in[4], float out[4]) {
    for (int i = 0; i < 4; ++i) out[i] = m.m[i] * in[0] + m.m[4 + i] * in[1] + m.m[8 + i] * in[2] + m.m[12 + i] * in[3];
}
