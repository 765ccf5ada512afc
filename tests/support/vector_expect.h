// Comparing the three floats of a position or direction with expected values, in tables.
#pragma once

#include <gtest/gtest.h>

struct Vec3 {
    float x, y, z;
};

inline void expectNear(const float (&actual)[3], Vec3 expected, float tolerance, const char* what) {
    EXPECT_NEAR(actual[0], expected.x, tolerance) << what;
    EXPECT_NEAR(actual[1], expected.y, tolerance) << what;
    EXPECT_NEAR(actual[2], expected.z, tolerance) << what;
}
