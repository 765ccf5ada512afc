// Float math of the scenes: the column-major 4x4 matrix handed to OpenGL as it is, and the
// scalar helpers. Angles of the set operations are radians.
#pragma once

constexpr float pi = 3.14159f;  // the show's own single-precision pi

struct Matrix4 {
    float m[16] = {};  // column-major: element 4c + r is row r, column c

    void setIdentity();
    void setTranslation(float x, float y, float z);
    void setScale(float x, float y, float z);
    void setRotationX(float a);
    void setRotationY(float a);
    void setRotationZ(float a);
    // this = this x other (row-major reading of the arrays); OpenGL applies this first, then other.
    void multiply(const Matrix4& other);
};

float absf(float x);
int absi(int n);  // saturates at the largest int for the smallest one
float sigmoid(float x);  // smooth step around 0.5: 1 / (1 + e^(12 (0.5 - x)))
float sine(float x);
float cosine(float x);
float squareRoot(float x);
float degreesToRadians(float degrees);
