// The cannon slot's formation, shells, cameras and weights at the times the slot is timed by.
#include "effects/cannon/cannon_path.h"

#include "tests/support/vector_expect.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using ::expectNear;

void expectNear(CannonPoint actual, Vec3 expected, float tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

TEST(CannonPath, FixedCameraSetUpsAndTheGapsBetweenThem) {
    constexpr float s0 = 0.0024726232f;  // sigmoid(0): the cannon views start from it
    constexpr float s9 = 0.9918374f;     // sigmoid(0.9)
    struct Row {
        float lt;
        Vec3 eye, centre;
        float fieldOfView;
    };
    const Row rows[] = {
        {0, {30, 15, -100}, {0, 13, 0}, 120},
        // Exactly on a cut no set-up applies: the default camera for that instant.
        {7600, {0, 0, 0}, {0, 5, 0}, 60},
        {14600, {0, 0, 0}, {0, 5, 0}, 60},
        {42500, {3 + 10 * s0 * s0, 8 + 2 * s0, -4}, {0, 10, 15 * s0 - 25}, 70},
        {46200, {3 * s0 - 12, 8 + 2 * s0, 4 * (1 - s0) - 8 * s0}, {-5, 10, -5 * s0}, 70},
        // The ride with member 26 starts strictly after 49800.
        {49800, {3 * s9 - 12, 8 + 2 * s9, 4 * (1 - s9) - 8 * s9}, {-5, 10, -5 * s9}, 70},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.lt);
        const CameraSetup camera = cannonCamera(row.lt);
        expectNear(camera.eye, row.eye, 1e-4f, "eye");
        expectNear(camera.centre, row.centre, 1e-4f, "centre");
        expectNear(camera.up, {0, 1, 0}, 0, "up");
        EXPECT_FLOAT_EQ(camera.fieldOfView, row.fieldOfView);
    }
}

TEST(CannonPath, RidingCamerasLookAtTheirMemberFromTheirOffset) {
    struct Row {
        float lt;
        int member;
        Vec3 eyeFromCentre;  // the centre is one unit above the member
        float fieldOfView;
    };
    const Row rows[] = {
        {32500, 4, {0, -2, 5}, 40},          // f = 1
        {37600, 4, {1.5f, -1, -3.825f}, 40},  // g = 0.5, f = 2.275
        {60000, 26, {0, 1, -7}, 30},          // both blends complete
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.lt);
        const CameraSetup camera = cannonCamera(row.lt);
        const CannonPoint m = formationPosition(row.member, row.lt);
        expectNear(camera.centre, {m.x, m.y + 1, m.z}, 1e-4f, "centre");
        const float offset[3] = {camera.eye[0] - camera.centre[0], camera.eye[1] - camera.centre[1],
                                 camera.eye[2] - camera.centre[2]};
        expectNear(offset, row.eyeFromCentre, 1e-3f, "eye");
        EXPECT_NEAR(camera.fieldOfView, row.fieldOfView, 1e-3f);
    }
}

TEST(CannonPath, ShakeMovesTheEyeAcrossByTheFlashUpToOne) {
    const float lt = 20000.3f;
    const CameraSetup still = cannonCamera(lt);
    const CameraSetup none = shakeCannonCamera(still, lt, 0);
    const CameraSetup full = shakeCannonCamera(still, lt, 1);
    const CameraSetup over = shakeCannonCamera(still, lt, 3.5f);
    expectNear(none.eye, {still.eye[0], still.eye[1], still.eye[2]}, 0, "no flash");
    EXPECT_NE(full.eye[0], still.eye[0]);
    EXPECT_NE(full.eye[2], still.eye[2]);
    EXPECT_EQ(full.eye[1], still.eye[1]) << "never up or down";
    expectNear(over.eye, {full.eye[0], full.eye[1], full.eye[2]}, 0, "a flash above 1 shakes as 1");
    expectNear(full.centre, {still.centre[0], still.centre[1], still.centre[2]}, 0, "centre");
}

TEST(CannonPath, ShellsLeaveTogetherAndSpeedUpAfterThreeSeconds) {
    EXPECT_FALSE(shellPlacement(14599, shellFireMs, 1.570795f, 0)) << "not fired yet";
    for (int i = 0; i < shellCount; ++i) {
        SCOPED_TRACE(i);
        const ShellAim aim = shellAim(i);
        const auto shell = shellPlacement(shellFireMs, shellFireMs, aim.pitch, aim.yaw);
        ASSERT_TRUE(shell);
        EXPECT_EQ(shell->distance, 0) << "every shell starts at the cannon";
        const float v = shellSpeedFactor(aim.pitch, aim.yaw);
        EXPECT_GE(v, 0.4f);
        EXPECT_LE(v, 1.6f);
    }
    struct Row {
        float now, travel;
    };
    const Row rows[] = {{14600, 0}, {15600, 8}, {17600, 24}, {18600, 92}};
    for (const Row& row : rows) EXPECT_FLOAT_EQ(shellTravel(row.now, shellFireMs), row.travel) << row.now;

    // Shell 0 points straight along -z: pitch pi/2, no yaw.
    const auto first = shellPlacement(17600, shellFireMs, shellAim(0).pitch, shellAim(0).yaw);
    ASSERT_TRUE(first);
    EXPECT_NEAR(first->pitchDegrees, -90, 1e-3f);
    EXPECT_EQ(first->yawDegrees, 0);
    EXPECT_FLOAT_EQ(first->distance, 24 * shellSpeedFactor(shellAim(0).pitch, 0));
}

TEST(CannonPath, FormationIsAWedgeSevenAbreastThatAdvances) {
    struct Row {
        int member;
        float s;
        Vec3 at;
        float tolerance;  // the members' 3-unit wobble
    };
    const Row rows[] = {
        // On arrival the advance is only the wobble; the point of the wedge, column 0 of row 0,
        // leads at -130.
        {3, 7600, {0, 15, -130}, 3},
        {0, 7600, {-30, 10.818154f, -250}, 3},
        {39, 7600, {10, 16.58314f, -570}, 3},
        {3, 17600, {0, 15, -80}, 3},  // 5 units a second
        // Members 2 and 15 are drawn in to the cannon, sinking by 4, before they burst.
        {2, 46000, {0, 10.42955f - 4, 0}, 1e-3f},
        {15, 48600, {0, 14.96f - 4, 0}, 1e-3f},
        // Member 4 is drawn to x = 0 (not in z) and sinks by 4.
        {4, 40000, {0, 16.58314f - 4, -170 + 5 * 32.4f - 450 + 25 * 11.5f + 12}, 3},
        // Member 26 settles by 55900 and stays.
        {26, 55900, {-2, 13.176198f - 4, -8}, 1e-3f},
        {26, 70000, {-2, 13.176198f - 4, -8}, 1e-3f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "member " << row.member << " at " << row.s);
        expectNear(formationPosition(row.member, row.s), row.at, row.tolerance);
    }
}

TEST(CannonPath, FormationJumpsBackAtTheCutAndRisesAtTheEnd) {
    const float before = formationPosition(10, 28499.99f).z, after = formationPosition(10, 28500).z;
    EXPECT_NEAR(after - before, -450, 0.01f);
    // Everyone but member 26 climbs 30 units over each 2000 ms after 53900.
    for (int i : {0, 1, 25, 27, 39}) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(formationPosition(i, 55900).y - formationPosition(i, 53900).y, 30, 1e-3f);
        EXPECT_NEAR(formationPosition(i, 54900).y - formationPosition(i, 53900).y, 15, 1e-3f);
    }
}

TEST(CannonPath, MembersAreDrawnOnlyNearerThan180InZ) {
    struct Row {
        float memberZ, eyeZ;
        bool drawn;
    };
    const Row rows[] = {
        {-180, 0, false}, {180, 0, false}, {-179.99f, 0, true}, {20, -159.99f, true}, {-500, -320, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(formationMemberInView(row.memberZ, row.eyeZ), row.drawn) << row.memberZ << " from " << row.eyeZ;
}

TEST(CannonPath, BurstsFallDueStrictlyAfterTheirTimes) {
    struct Row {
        float lt;
        int due;
    };
    const Row rows[] = {{18200, 0}, {18201, 1}, {19600, 2}, {42000, 8}, {42001, 9}, {48601, 11}};
    for (const Row& row : rows) {
        int due = 0;
        for (const FormationBurst& burst : formationBursts) due += burstDue(burst, row.lt);
        EXPECT_EQ(due, row.due) << row.lt;
    }
    bool seen[formationSize] = {};
    for (const FormationBurst& burst : formationBursts) {
        ASSERT_GE(burst.member, 0);
        ASSERT_LT(burst.member, formationSize);
        EXPECT_FALSE(seen[burst.member]) << "member " << burst.member << " bursts once";
        seen[burst.member] = true;
    }
}

TEST(CannonPath, MuzzleGlowsFromTheShotAndCoolsBy20000) {
    struct Row {
        float lt, heat, turn;
    };
    const Row rows[] = {
        {0, 0, 1},
        {14600, 0.8775f, 0},  // v = -0.35 from the shot on
        {16000, 1, 0},
        {20000, 0, 0},
        {30000, 0, 0},
        {40000, -0.0495356f, 0.9728326f},  // back to the slow sway
    };
    for (const Row& row : rows) {
        const CannonParams params = cannonParams(row.lt);
        EXPECT_NEAR(params.heat, row.heat, 1e-5f) << row.lt;
        EXPECT_NEAR(params.turn, row.turn, 1e-5f) << row.lt;
    }
}

TEST(CannonPath, GlowFadesAndWhiteOutRisesOverTheLast1500Ms) {
    struct Row {
        int t;
        float glow;
        bool whiteOut;
        float white;
    };
    const Row rows[] = {
        {122600, 1, false, 0},
        {176000, 1, false, 0},                  // strictly after 176000
        {176001, 2499.0f / 1500, true, -0.666f},  // above 1: full on the screen's colour buffer
        {177000, 1, true, 0},
        {177750, 0.5f, true, 0.5f},
        {178499, 1.0f / 1500, true, 0.99933f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.t);
        EXPECT_NEAR(glowCompositeAlpha(row.t), row.glow, 1e-5f);
        const std::optional<float> white = whiteOutAlpha(row.t);
        ASSERT_EQ(white.has_value(), row.whiteOut);
        if (white) {
            EXPECT_NEAR(*white, row.white, 1e-3f);
        }
    }
}

TEST(CannonPath, NoiseSweepsInItsWindowsWithBoundsExclusive) {
    struct Row {
        float s, w;
    };
    const Row rows[] = {
        {8000, 0},     {10000, 0.34662232f}, {11000, 0.000637f}, {12000, 0}, {13000, 0},
        {14400, 0},    {15400, 0.5f},        {16400, 0},         {18600, 0.25f},
        {19800, 0.25f}, {20000, 0},          {22500, 0.25f},     {24000, 0.25f}, {24500, 0},
    };
    for (const Row& row : rows) EXPECT_NEAR(noiseSweepWeight(row.s), row.w, 1e-5f) << row.s;
    // 3.14 rather than pi: the sine turns negative just after 11001.
    EXPECT_GT(noiseSweepWeight(11001), 0);
    EXPECT_LT(noiseSweepWeight(11002), 0);
}

}  // namespace
