// Matrix and scalar helpers, element for element as OpenGL reads them.
#include "scene/matrix.h"

#include <climits>
#include <cmath>

void Matrix4::setIdentity() {
    for (int i = 0; i < 16; ++i) m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}

void Matrix4::setTranslation(float x, float y, float z) {
    setIdentity();
    m[12] = x;
    m[13] = y;
    m[14] = z;
}

void Matrix4::setScale(float x, float y, float z) {
    setIdentity();
    m[0] = x;
    m[5] = y;
    m[10] = z;
}

void Matrix4::setRotationX(float a) {
    setIdentity();
    m[5] = cosine(a);
    m[6] = -sine(a);
    m[9] = sine(a);
    m[10] = cosine(a);
}

void Matrix4::setRotationY(float a) {
    setIdentity();
    m[0] = cosine(a);
    m[2] = sine(a);
    m[8] = -sine(a);
    m[10] = cosine(a);
}

void Matrix4::setRotationZ(float a) {
    setIdentity();
    m[0] = cosine(a);
    m[1] = -sine(a);
    m[4] = sine(a);
    m[5] = cosine(a);
}

void Matrix4::multiply(const Matrix4& other) {
    float product[16];
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += m[4 * i + k] * other.m[4 * k + j];
            product[4 * i + j] = sum;
        }
    }
    for (int i = 0; i < 16; ++i) m[i] = product[i];
}

float absf(float x) { return x >= 0.0f ? x : -x; }

int absi(int n) {
    if (n == INT_MIN) return INT_MAX;
    return n >= 0 ? n : -n;
}

float sigmoid(float x) { return 1.0f / (1.0f + std::exp(12.0f * (0.5f - x))); }

float sine(float x) { return static_cast<float>(std::sin(static_cast<double>(x))); }
float cosine(float x) { return static_cast<float>(std::cos(static_cast<double>(x))); }
float squareRoot(float x) { return static_cast<float>(std::sqrt(static_cast<double>(x))); }

float degreesToRadians(float degrees) {
    return static_cast<float>(static_cast<double>(degrees) * static_cast<double>(pi) / 180.0);
}
