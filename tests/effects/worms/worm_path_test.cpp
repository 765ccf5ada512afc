// The worm scene's camera, worms, flashes and glow weights at the times the slot is timed by.
// Expected values are worked out in double precision; the code computes in single precision.
#include "effects/worms/worm_path.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/demo_clock.h"
#include "effects/common/scene_flash.h"
#include "tests/support/vector_expect.h"

namespace {

TEST(WormPath, CameraGlidesSwingsOutRollsAndWidens) {
    struct Row {
        int t;
        float sceneFlash;
        Vec3 eye, centre, up;
        float fieldOfView;
        const char* what;
    };
    const Row rows[] = {
        {101600, 0, {-10, 10, 0}, {1.41120f, 10.2f, 40}, {0, 1, 0}, 70, "slot start: ox = 10 cos(pi)"},
        {101600, 2, {-10, 10, 0}, {1.41120f, 10.2f, 40}, {0, 1, 0}, 70, "the shake is a sine of lt: none at 0"},
        {102600, 1, {-9.35479f, 10.01938f, 30.19858f}, {-2.84426f, 10.2f, 70}, {0, 1, 0}, 70,
         "the shake moves x and z by sa, y by sb"},
        {105800, 0, {-3.05819f, 10, 126}, {-9.95622f, 10.2f, 166}, {0, 1, 0}, 70, "lt = 4200: no swing yet"},
        {105801, 0, {-2.96110f, 10.01238f, 126.03f}, {-9.95581f, 10.2f, 166.03f}, {-0.00778f, 0.99997f, 0}, 70,
         "the swing starts"},
        {109100, 0, {13.72622f, 11.29613f, 225}, {-0.58152f, 10.2f, 265}, {-0.66485f, 0.74697f, 0}, 100,
         "half way to the wide view"},
        {109800, 0, {21.38284f, 12.5f, 246}, {2.40436f, 10.2f, 286}, {-0.84147f, 0.54030f, 0}, 126.5605f,
         "half way out: rolled by 1 radian"},
        {117200, 0, {34.99948f, 14.99992f, 468}, {-2.79451f, 10.2f, 508}, {-0.00005f, 1, 0}, 130,
         "lt = 15600: the centre has not started to rush"},
        {117300, 0, {34.99955f, 14.99993f, 471}, {-3.20467f, 10.2f, 511.3f}, {-0.00004f, 1, 0}, 130,
         "the centre rushes ahead"},
        {119100, 1, {34.80730f, 14.80163f, 524.80734f}, {-8.91308f, 10.2f, 673.3f}, {0, 1, 0}, 130,
         "still shaking"},
        {119101, 1, {34.99996f, 15, 525.03f}, {-8.91503f, 10.2f, 673.44403f}, {0, 1, 0}, 129.7644f,
         "the last 3500 ms: steady, first drawn towards a field of view of 35"},
        {122600, 0, {35, 15, 630}, {-5.11020f, 10.2f, 1544.8f}, {0, 1, 0}, 134.9876f,
         "the slot's end: towards 135"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.t << ": " << row.what);
        const CameraSetup camera = wormSceneCamera(row.t, row.sceneFlash);
        expectNear(camera.eye, row.eye, 2e-4f, "eye");
        expectNear(camera.centre, row.centre, 2e-4f * std::max(1.0f, row.centre.z / 100.0f), "centre");
        expectNear(camera.up, row.up, 2e-5f, "up");
        EXPECT_NEAR(camera.fieldOfView, row.fieldOfView, 1e-3f);
    }
}

TEST(WormPath, ArchPutsTheHeadAtTheBaseTheTopAndTheFarEnd) {
    struct Row {
        float s, y, z, tilt;
    };
    // A worm 30 high reaching 50: the arch's top lies half the reach back along its -z.
    const Row rows[] = {{0, 0, 0, 0}, {0.5f, 30, -25, 90}, {1, 0, -50, 180}, {-0.5f, -30, -25, -90}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.s);
        const ArchPoint point = wormArchPoint(row.s, 30, 50);
        EXPECT_NEAR(point.y, row.y, 1e-4f);
        EXPECT_NEAR(point.z, row.z, 1e-4f);
        EXPECT_FLOAT_EQ(point.tiltDegrees, row.tilt);
    }
    // The body trails the head, each ring 1/17 of the arch behind the one before.
    EXPECT_FLOAT_EQ(wormSegmentPhase(0.5f, 0), 0.5f);
    EXPECT_NEAR(wormSegmentPhase(0.5f, 14), 0.5f - 14.0f / 17.0f, 1e-6f);
}

TEST(WormPath, WormsRiseInTurnToTheirHighestPhaseAndSinkBack) {
    // The first worm sways from the start and never gets beyond a little past the top.
    const WormSpec& first = wormTable[0];
    float lowest = 10, highest = -10;
    for (int lt = 0; lt <= wormSlotEndMs - wormSlotStartMs; lt += 10) {
        ASSERT_TRUE(wormShown(first, static_cast<float>(lt)));
        const float h = wormPhase(first, static_cast<float>(lt));
        lowest = std::min(lowest, h);
        highest = std::max(highest, h);
    }
    EXPECT_NEAR(lowest, -0.75f, 1e-3f);
    EXPECT_NEAR(highest, 0.55f, 1e-3f);

    struct Row {
        int worm;
        float startLt;
    };
    const Row rows[] = {{1, 4300}, {2, 9000}, {3, 11000}, {4, 12200}, {5, 13300}, {6, 14600}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.worm + 1);
        const WormSpec& worm = wormTable[row.worm];
        EXPECT_FALSE(wormShown(worm, row.startLt));
        EXPECT_TRUE(wormShown(worm, row.startLt + 1));
        EXPECT_NEAR(wormPhase(worm, row.startLt), -0.1f, 1e-6f);
        EXPECT_NEAR(wormPhase(worm, row.startLt + 5236), 0.85f, 1e-6f);
        EXPECT_NEAR(wormPhase(worm, row.startLt + 10472), -0.1f, 1e-3f);
    }
}

TEST(WormPath, RisenWormsFlashOverTheirWindows) {
    struct Row {
        int t;
        float flash;
        const char* what;
    };
    const Row rows[] = {
        {103000, 0, "the first worm's flash is the pass chain's"},
        {105900, 0, "worm 2's window is open but the worm has not risen"},
        {105901, 1099.0f / 1600.0f, "so its flash starts at about 0.69"},
        {106999, 0, "1/1600 is below the threshold"},
        {107000, 0, "the window is over"},
        {110600, 0, "worm 3 rises exactly when its window opens: not yet"},
        {110601, 799.0f / 800.0f, "worm 3"},
        {111391, 9.0f / 800.0f, "just above the threshold"},
        {111392, 0, "0.01 is not above it"},
        {112601, 999.0f / 1000.0f, "worm 4"},
        {113801, 799.0f / 800.0f, "worm 5"},
        {114901, 699.0f / 700.0f, "worm 6"},
        {116201, 999.0f / 1000.0f, "worm 7"},
        {117200, 0, "the last window is over"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.t << ": " << row.what);
        demoClock.musicMs = row.t;
        sceneFlashes.sceneFlashAccumulator = 0.25f;
        addRisenWormFlashes(wormLocalTime(row.t));
        EXPECT_FLOAT_EQ(sceneFlashes.sceneFlashAccumulator, 0.25f + row.flash);
    }
}

TEST(WormPath, SlotGlowsAreClampedAndTheWhiteOutFillsTheLastTwoSeconds) {
    struct FlashRow {
        float sceneFlash, alpha;
    };
    const FlashRow flashes[] = {{0, 0}, {1, 0.3f}, {3, 0.9f}, {3.3f, 0.99f}, {3.4f, 1}, {9, 1}, {-1, 0}};
    for (const FlashRow& row : flashes) EXPECT_FLOAT_EQ(wormSlotFlashAlpha(row.sceneFlash), row.alpha) << row.sceneFlash;

    struct WhiteOutRow {
        int t;
        bool shown;
    };
    const WhiteOutRow whiteOuts[] = {{101600, false}, {120600, false}, {120601, true}, {122599, true}, {122600, false}};
    for (const WhiteOutRow& row : whiteOuts) EXPECT_EQ(wormSlotWhiteOutShown(row.t), row.shown) << row.t;
}

}  // namespace
