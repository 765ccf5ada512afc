#include "scene/matrix.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

void expectElements(const Matrix4& matrix, const float (&expected)[16]) {
    for (int i = 0; i < 16; ++i) EXPECT_EQ(matrix.m[i], expected[i]) << "element " << i;
}

TEST(Matrix4, SetOperationsWriteTheirElementsOverTheIdentity) {
    Matrix4 m;
    m.setTranslation(1.0f, 2.0f, 3.0f);
    m.setIdentity();
    expectElements(m, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    m.setTranslation(1.5f, -2.0f, 3.0f);
    expectElements(m, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1.5f, -2.0f, 3.0f, 1});
    m.setScale(2.0f, 3.0f, 4.0f);
    expectElements(m, {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1});

    const float a = 0.7f, c = static_cast<float>(std::cos(0.7)), s = static_cast<float>(std::sin(0.7));
    m.setRotationX(a);
    expectElements(m, {1, 0, 0, 0, 0, c, -s, 0, 0, s, c, 0, 0, 0, 0, 1});
    m.setRotationY(a);
    expectElements(m, {c, 0, s, 0, 0, 1, 0, 0, -s, 0, c, 0, 0, 0, 0, 1});
    m.setRotationZ(a);
    expectElements(m, {c, -s, 0, 0, s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
}

TEST(Matrix4, QuarterTurnAboutZ) {
    Matrix4 m;
    m.setRotationZ(static_cast<float>(M_PI / 2));
    EXPECT_NEAR(m.m[0], 0.0f, 1e-7f);
    EXPECT_EQ(m.m[1], -1.0f);
    EXPECT_EQ(m.m[4], 1.0f);
    EXPECT_NEAR(m.m[5], 0.0f, 1e-7f);
    EXPECT_EQ(m.m[12], 0.0f);
    EXPECT_EQ(m.m[13], 0.0f);
    EXPECT_EQ(m.m[14], 0.0f);
}

Matrix4 fromElements(const float (&elements)[16]) {
    Matrix4 matrix;
    for (int i = 0; i < 16; ++i) matrix.m[i] = elements[i];
    return matrix;
}

// Column-major, worked out by hand: x' = m0 x + m4 y + m8 z + m12, and so on.
constexpr float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
constexpr float move123[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1};
constexpr float scale234[16] = {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1};
constexpr float quarterTurnX[16] = {1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1};  // y -> z, z -> -y

TEST(Matrix4, MultiplyAppliesThisFirstThenOther) {
    const struct {
        const char* name;
        const float (&first)[16];
        const float (&then)[16];
        float expected[16];
    } cases[] = {
        {"move, then scale: the move is scaled", move123, scale234,
         {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 2, 6, 12, 1}},
        {"scale, then move", scale234, move123, {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 1, 2, 3, 1}},
        {"move, then turn: the move is turned", move123, quarterTurnX,
         {1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 1, -3, 2, 1}},
        {"turn, then move", quarterTurnX, move123, {1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 1, 2, 3, 1}},
        {"scale, then turn", scale234, quarterTurnX, {2, 0, 0, 0, 0, 0, 3, 0, 0, -4, 0, 0, 0, 0, 0, 1}},
        {"turn, then scale", quarterTurnX, scale234, {2, 0, 0, 0, 0, 0, 4, 0, 0, -3, 0, 0, 0, 0, 0, 1}},
        {"identity, then move", identity, move123, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Matrix4 m = fromElements(c.first);
        m.multiply(fromElements(c.then));
        expectElements(m, c.expected);
    }
}

TEST(Matrix4, MultiplyByItselfSquares) {
    Matrix4 m = fromElements(move123);
    m.multiply(m);
    expectElements(m, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 2, 4, 6, 1});

    // These two come out wrong if the product is written over the operands while still read.
    m = fromElements(quarterTurnX);
    m.multiply(m);
    expectElements(m, {1, 0, 0, 0, 0, -1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1});
    m = fromElements({2, 1, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 3, 0, 0, 1});  // x doubled and added to y, then 3 along x
    m.multiply(m);
    expectElements(m, {4, 3, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 9, 3, 0, 1});
}

TEST(Matrix4, NodeCompositionScalesThenRotatesThenTranslates) {
    // A vertex at (1, 0, 0), scaled by 2, rotated by -90 degrees about Z, moved by (0, 0, 5).
    Matrix4 m, rz, t;
    m.setScale(2.0f, 2.0f, 2.0f);
    rz.setRotationZ(static_cast<float>(M_PI / 2));
    t.setTranslation(0.0f, 0.0f, 5.0f);
    m.multiply(rz);
    m.multiply(t);
    // Column-major: x' = m0 x + m4 y + m8 z + m12, and so on.
    EXPECT_NEAR(m.m[0] * 1 + m.m[12], 0.0f, 1e-6f);
    EXPECT_NEAR(m.m[1] * 1 + m.m[13], -2.0f, 1e-6f);
    EXPECT_NEAR(m.m[2] * 1 + m.m[14], 5.0f, 1e-6f);
}

TEST(ScalarHelpers, AbsoluteValues) {
    EXPECT_EQ(absf(-2.5f), 2.5f);
    EXPECT_EQ(absf(3.0f), 3.0f);
    EXPECT_EQ(absi(-7), 7);
    EXPECT_EQ(absi(7), 7);
    EXPECT_EQ(absi(INT_MIN), INT_MAX);  // -INT_MIN does not exist as an int
}

TEST(ScalarHelpers, SigmoidIsAStepAroundOneHalf) {
    EXPECT_FLOAT_EQ(sigmoid(0.5f), 0.5f);
    EXPECT_NEAR(sigmoid(0.0f), 0.00247f, 1e-5f);
    EXPECT_NEAR(sigmoid(1.0f), 0.99753f, 1e-5f);
    for (float d : {0.05f, 0.2f, 0.5f, 1.5f}) EXPECT_NEAR(sigmoid(0.5f + d) + sigmoid(0.5f - d), 1.0f, 1e-6f);
}

TEST(ScalarHelpers, TrigonometryIsDoubleRoundedToFloat) {
    EXPECT_EQ(sine(1.0f), static_cast<float>(std::sin(1.0)));
    EXPECT_EQ(cosine(1.0f), static_cast<float>(std::cos(1.0)));
    EXPECT_EQ(squareRoot(2.0f), static_cast<float>(std::sqrt(2.0)));
}

TEST(ScalarHelpers, DegreesUseTheShowsPi) {
    EXPECT_EQ(degreesToRadians(180.0f), 3.14159f);
    EXPECT_EQ(degreesToRadians(90.0f), static_cast<float>(90.0 * 3.141590118408203 / 180.0));
    EXPECT_NE(degreesToRadians(90.0f), static_cast<float>(M_PI / 2));
}

}  // namespace
