// The cloud flight's camera, sheets, glows and fade at the times the show is timed by.
#include "effects/clouds/cloud_flight_path.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

int sheetsDrawnAt(float t) {
    int drawn = 0;
    for (int i = 0; i < cloudSheetCount; ++i) drawn += cloudSheet(i, t, 0).has_value();
    return drawn;
}

TEST(CloudFlightPath, EyeBandsCutStrictlyAfterTheirTimes) {
    struct Row {
        float t;
        EyeOffset offset;
    };
    // By hand from the band formulas; 0.005 t is the base point's z.
    const Row rows[] = {
        {0, {0, 2, -7}},
        {4100, {1.8849783f, 2, -7}},  // the first band still: 2 sin(1.23) sigmoid(2.05)
        {4101, {1.8719302f, 2, 5}},   // 2 sin(0.45111) + 1
        {7700, {2.4985938f, 2, 5}},
        {7701, {-4, 2, 1.8470075f}},  // 2.5 sin(2.3103)
        {11200, {-4, 2, -0.5416880f}},
        {11201, {1.8915163f, 1.5f, -4.0046509f}},  // 0.15 x 56.005 x sigmoid(-0.125) behind
        {31499, {1.9875404f, 1.5f, -27.624250f}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.t);
        const EyeOffset e = cloudFlightEyeOffset(row.t);
        EXPECT_NEAR(e.x, row.offset.x, 1e-4f);
        EXPECT_NEAR(e.y, row.offset.y, 1e-4f);
        EXPECT_NEAR(e.z, row.offset.z, 1e-3f);

        const CameraSetup camera = cloudFlightCamera(row.t, 0);
        const float baseZ = 0.005f * row.t;
        EXPECT_NEAR(camera.eye[0], row.offset.x, 1e-4f);
        EXPECT_NEAR(camera.eye[1], row.offset.y, 1e-4f);
        EXPECT_NEAR(camera.eye[2], baseZ + row.offset.z, 1e-3f);
        EXPECT_EQ(camera.centre[0], 0);
        EXPECT_EQ(camera.centre[1], 1);
        EXPECT_NEAR(camera.centre[2], baseZ, 1e-4f);
        EXPECT_EQ(camera.up[1], 1);
        EXPECT_EQ(camera.fieldOfView, 30);
    }
}

TEST(CloudFlightPath, ShakeFollowsTheFlashUpToOne) {
    const float t = 2345;
    const CameraSetup still = cloudFlightCamera(t, 0);
    const CameraSetup full = cloudFlightCamera(t, 1);
    const float fullX = full.eye[0] - still.eye[0], fullZ = full.eye[2] - still.eye[2];
    ASSERT_GT(std::fabs(fullX) + std::fabs(fullZ), 0.1f);
    EXPECT_LE(std::fabs(fullX), 1);
    EXPECT_EQ(full.eye[1], still.eye[1]) << "no shake in height";
    EXPECT_EQ(full.centre[2], still.centre[2]) << "the centre does not shake";

    struct Row {
        float flash, share;
    };
    for (const Row& row : {Row{0, 0}, Row{0.5f, 0.5f}, Row{1, 1}, Row{3, 1}}) {
        SCOPED_TRACE(row.flash);
        const CameraSetup shaken = cloudFlightCamera(t, row.flash);
        EXPECT_NEAR(shaken.eye[0] - still.eye[0], row.share * fullX, 1e-5f);
        EXPECT_NEAR(shaken.eye[2] - still.eye[2], row.share * fullZ, 1e-5f);
    }
}

TEST(CloudFlightPath, CloudSheetsAppearFromFourHundredFiftyMsOn) {
    struct Row {
        float t;
        int drawn;
    };
    const Row rows[] = {{0, 0}, {449, 0}, {450, 1}, {1000, 7}, {4000, 35}, {31499, 172}};
    for (const Row& row : rows) EXPECT_EQ(sheetsDrawnAt(row.t), row.drawn) << "t = " << row.t;
    EXPECT_TRUE(cloudSheet(1, 450, 0).has_value()) << "candidate 1 comes first";
    EXPECT_FALSE(cloudSheet(-1, 31499, 0).has_value());
    EXPECT_FALSE(cloudSheet(cloudSheetCount, 1e9f, 0).has_value());
}

TEST(CloudFlightPath, StartTimesMoveBackUntilFourSecondsThenStay) {
    EXPECT_NEAR(cloudSheetStart(1, 0), 899.2469f, 1e-3f);  // 500 sin(5.6378) + 200 + 1000
    EXPECT_EQ(cloudSheetStart(0, 0), 1000);
    for (int i : {0, 1, 57, 199}) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(cloudSheetStart(i, 1000) - cloudSheetStart(i, 2000), 1000, 1e-3f);
        EXPECT_NEAR(cloudSheetStart(i, 4000), cloudSheetStart(i, 0) - 4000, 1e-3f);
        EXPECT_EQ(cloudSheetStart(i, 5000), cloudSheetStart(i, 4000));
        EXPECT_EQ(cloudSheetStart(i, 31499), cloudSheetStart(i, 4000));
    }
}

TEST(CloudFlightPath, CloudSheetsFadeInOverTwoSecondsAndDipOnTheBeat) {
    struct Row {
        int i;
        float t, beatFlash, alpha;
    };
    // Sheet 0 starts at 1000 - t, so its age is 2t - 1000.
    const Row rows[] = {
        {0, 1000, 0, 0.5f}, {0, 1000, 1, 0.4f}, {0, 1500, 0, 1}, {0, 9000, 0.5f, 0.9f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.t);
        const auto sheet = cloudSheet(row.i, row.t, row.beatFlash);
        ASSERT_TRUE(sheet.has_value());
        EXPECT_FLOAT_EQ(sheet->alpha, row.alpha);
    }

    // Sheet 1 by hand: x = 6 sin(7.6378), z = 2.4 sin(7.6378) + 1, half = 15 sin(14.4134).
    const auto sheet = cloudSheet(1, 10000, 0);
    ASSERT_TRUE(sheet.has_value());
    EXPECT_NEAR(sheet->x, 5.86034f, 1e-3f);
    EXPECT_EQ(sheet->y, -0.5f);
    EXPECT_NEAR(sheet->z, 3.34414f, 1e-3f);
    EXPECT_NEAR(sheet->halfSize, 14.43134f, 1e-3f);
}

TEST(CloudFlightPath, HazeShowsNearTheEyeAndWidensFromOneHundredNinetySixSeconds) {
    struct Row {
        int now;
        float distance;  // sheet z minus eye z
        bool drawn;
        float alpha, size;
    };
    const Row rows[] = {
        {190000, 1.5f, false, 0, 0},
        {190000, 2, true, 0.3f, 5},
        {190000, 4, true, 1.5f, 5},  // the tent's peak
        {190000, -4, true, 1.5f, 5},
        {190000, 6.5f, true, 0, 5},
        {190000, 8, true, -0.9f, 5},  // drawn, but darkens nothing
        {190000, 8.6f, false, 0, 0},
        {196000, 4, true, 1.35f, 5},  // scaled by 0.9 at once
        {200000, 4, true, 2, 6.5384617f},
        {200000, 11, true, -1.6f, 6.5384617f},  // the band has widened past 8.5
        {208000, 4, false, 0, 0},
        {208000, 1, false, 0, 0},
        {209000, 1, true, 0.10625f, 10},  // only sheets nearer than 1.5 stay, faintly
        {209000, 3, false, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.now << " at " << row.distance);
        const auto sheet = hazeSheet(100, 100.0f - row.distance, row.now);
        ASSERT_EQ(sheet.has_value(), row.drawn);
        if (!sheet) continue;
        EXPECT_NEAR(sheet->alpha, row.alpha, 1e-5f);
        EXPECT_FLOAT_EQ(sheet->size, row.size);
    }

    const auto first = hazeSheet(50, 46, 190000);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->turnDegrees, 80841624.0f);  // 32312.23 x 2500 + 61050, rounded once
    // 0.0001 x 11500, and no whole turns on top, which only cost precision.
    EXPECT_FLOAT_EQ(first->scroll, 1.15f);
    EXPECT_FALSE(hazeSheet(49, 45, 190000).has_value());
    EXPECT_FALSE(hazeSheet(151, 147, 190000).has_value());
}

TEST(CloudFlightPath, GlowsAndTheFadeToBlack) {
    struct Row {
        int now;
        float glow;
        bool faded;
        float fade;
    };
    const Row rows[] = {
        {182599, 0, false, 0}, {182600, 1, false, 0},    {183100, 0.5f, false, 0}, {183600, 0, false, 0},
        {186700, 0.5f, false, 0}, {190200, 0.5f, false, 0}, {193000, 1, false, 0},    {193750, 0.25f, false, 0},
        {207000, 0, false, 0},   {207001, 0, true, 0.0025f}, {207200, 0, true, 0.5f}, {208000, 0, true, 1},
        {209999, 0, true, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.now);
        EXPECT_FLOAT_EQ(cloudFlightGlowWeight(row.now), row.glow);
        const auto fade = finalFadeWeight(row.now);
        ASSERT_EQ(fade.has_value(), row.faded);
        if (fade) {
            EXPECT_FLOAT_EQ(*fade, row.fade);
        }
    }
}

}  // namespace
