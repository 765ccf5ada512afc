// The procession's clock arithmetic: local time, anchor and camera, the balls of acts B and C,
// the members drawn and the composite window.
#include "effects/procession/procession_path.h"

#include <gtest/gtest.h>

namespace {

void expectNear3(const float (&actual)[3], float x, float y, float z, float tolerance, const char* what) {
    EXPECT_NEAR(actual[0], x, tolerance) << what << ".x";
    EXPECT_NEAR(actual[1], y, tolerance) << what << ".y";
    EXPECT_NEAR(actual[2], z, tolerance) << what << ".z";
}

TEST(ProcessionPath, LocalTimeOfEachAct) {
    const struct {
        std::int32_t t;
        float lt;
        bool overrunSet;
        float overrun;
    } cases[] = {
        {45500, 0, false, 0},     {72099, 26599, false, 0}, {72100, 0, false, 0},
        {86700, 0, false, 0},     {90099, 679.8f, false, 0},
        {90100, 680, true, 0},    // slow motion ends: 0.2 * 3400 and 3400 - 2720 agree
        {91100, 1680, true, 1000}, {101599, 12179, true, 11499},
    };
    for (const auto& c : cases) {
        const ProcessionLocalTime local = processionLocalTime(c.t);
        EXPECT_FLOAT_EQ(local.lt, c.lt) << "t = " << c.t;
        EXPECT_EQ(local.overrunSet, c.overrunSet) << "t = " << c.t;
        EXPECT_FLOAT_EQ(local.overrun, c.overrun) << "t = " << c.t;
    }
}

TEST(ProcessionPath, AnchorAndCameraAtTheStartOfTheSlot) {
    const ProcessionVec3 anchor = processionPoint(0, 0, 45500);
    EXPECT_FLOAT_EQ(anchor.x, 0);
    EXPECT_FLOAT_EQ(anchor.y, 10);
    EXPECT_FLOAT_EQ(anchor.z, 0);
    const CameraSetup camera = processionCamera(45500, 0, 0);
    expectNear3(camera.eye, 4, 10.04f, 5, 0.001f, "eye");
    expectNear3(camera.centre, 0, 11, 2.5f, 1e-5f, "centre");
    expectNear3(camera.up, 0, 1, 0, 0, "up");
    EXPECT_EQ(camera.fieldOfView, 25);
}

TEST(ProcessionPath, SwoopEndsBehindTheAnchorAndActBRestarts) {
    // One ms before act B: the swoop weight is 0.999 and the shake at most 0.1.
    const float lt = processionLocalTime(72099).lt;
    const ProcessionVec3 p = processionPoint(0, lt, 72099);
    EXPECT_NEAR(p.y, 8, 0.002f) << "sunk by 2";
    const CameraSetup swoop = processionCamera(72099, lt, 0);
    EXPECT_NEAR(swoop.eye[0] - p.x, 0, 0.11f);
    EXPECT_NEAR(swoop.eye[1] - p.y, 1, 0.11f);
    EXPECT_NEAR(swoop.eye[2] - p.z, -5, 0.11f);
    EXPECT_NEAR(swoop.centre[2], p.z, 0.01f);
    // The field of view follows the swoop weight q = (1 - r / 2000)^2, r ms before act B.
    const struct {
        std::int32_t t;
        float fieldOfView;
    } zoom[] = {{70100, 25}, {71100, 25 * 0.75f + 90 * 0.25f}, {72099, 89.935f}};
    for (const auto& z : zoom)
        EXPECT_NEAR(processionCamera(z.t, processionLocalTime(z.t).lt, 0).fieldOfView, z.fieldOfView, 0.001f)
            << "t = " << z.t;

    const ProcessionVec3 restart = processionPoint(0, processionLocalTime(72100).lt, 72100);
    EXPECT_FLOAT_EQ(restart.y, 8);
    EXPECT_FLOAT_EQ(restart.z, 0);
    EXPECT_EQ(processionCamera(72100, 0, 0).fieldOfView, 90);
}

TEST(ProcessionPath, MembersStartBehindTheAnchorAndOvertakeIt) {
    const ProcessionVec3 first = processionPoint(1, 0, 50000);
    EXPECT_FLOAT_EQ(first.z, -340);
    EXPECT_FLOAT_EQ(first.y, 10) << "odd members ride at the anchor's height";
    const ProcessionVec3 later = processionPoint(1, 20000, 50000);
    EXPECT_GT(later.z - first.z, 0.03f * 20000) << "faster than the anchor";
    EXPECT_NE(processionPoint(2, 0, 50000).y, 10) << "even members ride higher or lower";
}

TEST(ProcessionPath, DroppingBallFallsLandsAndFlashes) {
    const DropBallRest ball1 = processionDropBall(0);
    const struct {
        float lt;
        float height;
    } heights[] = {{0, 7 + 150 + 1}, {500, 7 + 75 + 1}, {1000, 8}, {5000, 8}};
    for (const auto& h : heights) {
        const DropBallPose pose = dropBallPose(ball1.x, ball1.y, ball1.z, ball1.hitTime, h.lt);
        EXPECT_FLOAT_EQ(pose.position[1], h.height) << "lt = " << h.lt;
        EXPECT_FLOAT_EQ(pose.position[0], -5);
        EXPECT_FLOAT_EQ(pose.position[2], 18);
    }
    const DropBallPose landed = dropBallPose(ball1.x, ball1.y, ball1.z, ball1.hitTime, 1000);
    EXPECT_EQ(landed.flashStartMs, 73100);
    EXPECT_EQ(landed.flashEndMs, 74100);
    EXPECT_FLOAT_EQ(landed.angleDegrees, 6.164414f) << "sqrt(18 + 100 * 200 / 1000)";
}

TEST(ProcessionPath, ProceduralBallsEightToEleven) {
    const struct {
        float x, y, z;
        float hitTime;
    } expected[] = {
        {6.66f, 9.64f, 290.97f, 9027},
        {17.01f, 5.78f, 347.60f, 9156},
        {-5.40f, 4.11f, 348.47f, 9722},
        {-5.58f, 8.98f, 374.99f, 11596},
    };
    for (int j = 0; j < 4; ++j) {
        const DropBallRest ball = processionDropBall(7 + j);
        EXPECT_NEAR(ball.x, expected[j].x, 0.006f) << "ball " << 8 + j;
        EXPECT_NEAR(ball.y, expected[j].y, 0.006f) << "ball " << 8 + j;
        EXPECT_NEAR(ball.z, expected[j].z, 0.006f) << "ball " << 8 + j;
        EXPECT_EQ(ball.hitTime, expected[j].hitTime) << "ball " << 8 + j;
    }
}

TEST(ProcessionPath, ActCBallHeightsAndBursts) {
    EXPECT_FLOAT_EQ(actCBall1Height(680, 0), 19 - 3.74f);
    EXPECT_NEAR(actCBall1Height(679.8f, 0), actCBall1Height(680, 0), 0.002f) << "continuous as slow motion ends";
    EXPECT_FLOAT_EQ(actCBall1Height(780, 100), 19 - 0.0055f * 980) << "three times as fast after it";

    EXPECT_GT(actCBall2Height(3666), 4);
    EXPECT_EQ(actCBall2Height(3667), 4) << "rests on the ground";
    EXPECT_EQ(actCBall2Height(9000), 4);
    EXPECT_GE(actCBall2Height(3577), actCBurstHeight);
    EXPECT_LT(actCBall2Height(3578), actCBurstHeight) << "bursts";
    EXPECT_EQ(actCBall3Height(20000), 5);
}

TEST(ProcessionPath, MembersDrawnByWholeUnitsOfDistance) {
    const struct {
        float memberZ;
        bool drawn;
    } cases[] = {{100 - 119.9f, true}, {100 + 119.9f, true}, {100 - 120.2f, false}, {100 + 120.2f, false},
                 {100, true}, {1e30f, false}};
    for (const auto& c : cases) EXPECT_EQ(processionMemberNear(100, c.memberZ), c.drawn) << c.memberZ;
}

TEST(ProcessionPath, CompositeWindows) {
    const struct {
        std::int32_t t;
        bool drawn;
    } cases[] = {{45500, false}, {45501, true}, {72099, true}, {72100, false}, {79299, false},
                 {79300, true},  {86699, true}, {86700, false}, {101599, false}};
    for (const auto& c : cases) EXPECT_EQ(slot2CompositeDrawn(c.t), c.drawn) << "t = " << c.t;
}

}  // namespace
