// The sky ascent's camera, dome, balls and cloud layers at the times the show is timed by.
#include "effects/sky/sky_ascent_path.h"

#include "tests/support/vector_expect.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(SkyAscentPath, CameraClimbsIsCutBackThenZoomsAndTilts) {
    struct Row {
        float t;
        Vec3 eye, centre;
        float fieldOfView;
    };
    const Row rows[] = {
        {0, {0, -14, -2}, {0, -10, -2}, 70},
        {14000, {0, 0, -2}, {0, 4, -2.8715758f}, 70},
        {27799, {0, 13.799f, -2}, {0, 17.799f, -1.1156602f}, 70},
        {27800, {0, 0, 0}, {0, 4, 0}, 70},
        {43500, {0, 0, 0}, {0, 4, 0}, 70},
        {44500, {0, 0, 0}, {0.75f, 4, 0.75f}, 57.5f},
        {45500, {0, 0, 0}, {3, 4, 3}, 20},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.t);
        const CameraSetup camera = skyAscentCamera(row.t);
        expectNear(camera.eye, row.eye, 1e-4f, "eye");
        expectNear(camera.centre, row.centre, 1e-4f, "centre");
        expectNear(camera.up, {1, 0, 0}, 0, "up");
        EXPECT_FLOAT_EQ(camera.fieldOfView, row.fieldOfView);
    }
}

TEST(SkyAscentPath, DomeShrinksAllAlongAndStretchesInTheLastSecond) {
    struct Row {
        float t;
        float shrink;
        bool stretched;
        Vec3 stretch;
    };
    const Row rows[] = {
        {0, 1.1555556f, false, {1, 1, 1}},
        {14000, 1, false, {1, 1, 1}},
        {44500, 0.6611111f, false, {1, 1, 1}},
        {45000, 0.6555556f, true, {21, 1, 3}},
        {45500, 0.65f, true, {41, 1, 5}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.t);
        const SkyDomeScale dome = skyDomeScale(row.t);
        EXPECT_FLOAT_EQ(dome.shrink, row.shrink);
        EXPECT_EQ(dome.stretched, row.stretched);
        if (dome.stretched) expectNear(dome.stretch, row.stretch, 1e-4f, "stretch");
    }
}

TEST(SkyAscentPath, BallADriftsUnturnedAndBallBTurnsTwentyDegreesASecond) {
    struct Row {
        BallPlacement (*ball)(float);
        float t;
        Vec3 position;
        float angle, scale;
    };
    const Row rows[] = {
        {skyBallA, 12000, {11, 22, -3}, 0, 3.8f},
        {skyBallA, 14000, {-19, 22, -3}, 0, 3.8f},
        {skyBallB, 28000, {-15, 27, -3}, 0, 3},
        {skyBallB, 29000, {-30, 27, -3}, 20, 3},
        {skyBallB, 27000, {0, 27, -3}, -20, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.t);
        const BallPlacement ball = row.ball(row.t);
        expectNear(ball.position, row.position, 1e-4f, "position");
        EXPECT_NEAR(ball.angleDegrees, row.angle, 1e-4f);
        expectNear(ball.axis, {1, 0, 0}, 0, "axis");
        EXPECT_FLOAT_EQ(ball.scale, row.scale);
    }
}

TEST(SkyAscentPath, FallingBallsShowOnceBelow190) {
    struct Row {
        float t;
        std::vector<int> present;
    };
    const Row rows[] = {
        {27799, {}},
        {27800, {0, 1, 2, 3, 4, 5, 6}},
        {28800, {0, 1, 2, 3, 4, 5, 6}},  // ball 7 has come down from 195 to 190, not yet below it
        {28801, {0, 1, 2, 3, 4, 5, 6, 7}},
        {34000, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
        {45500, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.t);
        std::vector<int> present;
        for (int i = -1; i <= fallingBallCount; ++i)
            if (fallingBall(row.t, i)) present.push_back(i);
        EXPECT_EQ(present, row.present);
    }
}

TEST(SkyAscentPath, FallingBallsCircleTheAxisTumblingAndRushPastAtTheEnd) {
    struct Row {
        float t;
        int i;
        Vec3 position, axis;
        float angle;
    };
    const Row rows[] = {
        {27800, 0, {7, 20, 0}, {0, 1, 0}, -8},
        {29000, 1, {-6.1003539f, 39, -3.4330281f}, {0.9828095f, -0.3633504f, -0.9900238f}, 40},
        {40500, 2, {-0.7178684f, 5.3385883f, 6.9630931f}, {0.3628976f, -0.7359530f, 0.2789886f}, 500},
        {42000, 4, {6.5929642f, 34.8f, -2.3521955f}, {-0.6763170f, 0.0832536f, -0.5358224f}, 560},
        {45500, 9, {6.6442262f, -37.217126f, -2.2032382f}, {-0.1002251f, 0.2037251f, -0.2940516f}, 700},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.i);
        const std::optional<BallPlacement> ball = fallingBall(row.t, row.i);
        ASSERT_TRUE(ball);
        expectNear(ball->position, row.position, 0.02f, "position");
        expectNear(ball->axis, row.axis, 0.01f, "axis");
        EXPECT_NEAR(ball->angleDegrees, row.angle, 1e-3f);
        EXPECT_FLOAT_EQ(ball->scale, 1);
    }
}

TEST(SkyAscentPath, CloudLayersShowBetweenOneAndAHalfAndFourUnitsFromTheEye) {
    struct Layer {
        int n;
        float alpha;
    };
    struct Row {
        float eyeHeight;
        std::vector<Layer> layers;
    };
    const Row rows[] = {
        {0, {{2, 0.6f}, {3, 1.2f}}},
        {2, {{4, 0.6f}, {5, 1.2f}}},
        {0.25f, {{2, 0.3f}, {3, 1.5f}, {4, 0.3f}}},
        {-0.3f, {{2, 0.96f}, {3, 0.84f}}},
        {50, {{47, 1.2f}, {48, 0.6f}, {52, 0.6f}, {53, 1.2f}}},
        {-14, {}},
        {-2, {{1, 1.2f}}},  // no layer 0
        {103, {{100, 1.2f}}},  // nor 101
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.eyeHeight);
        std::vector<int> shown;
        std::vector<float> alphas;
        for (int n = 0; n <= cloudLayerTop + 1; ++n)
            if (const std::optional<float> alpha = cloudLayerAlpha(n, row.eyeHeight)) {
                shown.push_back(n);
                alphas.push_back(*alpha);
            }
        std::vector<int> expectedShown;
        for (const Layer& layer : row.layers) expectedShown.push_back(layer.n);
        ASSERT_EQ(shown, expectedShown);
        for (std::size_t k = 0; k < alphas.size(); ++k) EXPECT_NEAR(alphas[k], row.layers[k].alpha, 1e-5f);
    }
}

}  // namespace
