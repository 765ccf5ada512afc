// The authoring mode's parts that need no window: seeks, title, the reload's rule.
#include "app/authoring/dev_controls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/authoring/check_problems.h"

namespace {

// Every seek key lands on its own target, kept inside the show; other keys do not seek.
TEST(DevControls, SeeksLandInsideTheShow) {
    const struct {
        ShowKey key;
        std::int32_t fromMs, toMs;  // -1: no seek
    } cases[] = {
        {ShowKey::Right, 100000, 101000},    {ShowKey::Left, 100000, 99000},
        {ShowKey::PageDown, 100000, 110000}, {ShowKey::PageUp, 100000, 90000},
        {ShowKey::FineOn, 100000, 100100},   {ShowKey::FineBack, 100000, 99900},
        {ShowKey::Left, 400, 0},             {ShowKey::PageDown, 205000, 209999},
        {ShowKey::FrameOn, 100000, 100017},  {ShowKey::FrameBack, 100000, 99983},
        {ShowKey::FrameOn, 100005, 100017},  {ShowKey::FrameBack, 100005, 100000},
        {ShowKey::FrameBack, 0, 0},          {ShowKey::FrameOn, 209999, 209999},
        {ShowKey::SlotBack, 110000, 101600}, {ShowKey::SlotBack, 101600, 45500},
        {ShowKey::SlotBack, 30000, 0},       {ShowKey::SlotOn, 110000, 122600},
        {ShowKey::SlotOn, 190000, 190000},   {ShowKey::SlotOn, 0, 45500},
        {ShowKey::Space, 100000, -1},        {ShowKey::Reload, 100000, -1},
        {ShowKey::LoopStart, 100000, -1},
    };
    for (const auto& c : cases) {
        std::int32_t target = -1;
        const bool seeks = keySeekTargetMs(c.key, c.fromMs, target);
        EXPECT_EQ(seeks ? target : -1, c.toMs) << "key " << static_cast<int>(c.key) << " from " << c.fromMs;
    }
    // Quick presses land exactly: five times 1 s on from 40 s is 45 s, fourteen 10 s back from
    // the end is 69.999 s.
    std::int32_t at = 40000;
    for (int i = 0; i < 5; ++i) keySeekTargetMs(ShowKey::Right, at, at);
    EXPECT_EQ(at, 45000);
    at = 209999;
    for (int i = 0; i < 14; ++i) keySeekTargetMs(ShowKey::PageUp, at, at);
    EXPECT_EQ(at, 69999);
}

// Presses of one key in a row are one run however many come; a run lands where its presses one
// by one would.
TEST(DevControls, KeyPressesMergeIntoRunsThatLandAsEachPressWould) {
    std::vector<KeyPressRun> presses;
    for (int i = 0; i < 1000; ++i) addKeyPress(presses, ShowKey::Right);
    addKeyPress(presses, ShowKey::Left);
    addKeyPress(presses, ShowKey::Right);
    ASSERT_EQ(presses.size(), 3u);
    EXPECT_EQ(presses[0].count, 1000u);
    EXPECT_EQ(presses[1].key, ShowKey::Left);
    EXPECT_EQ(presses[2].count, 1u);

    const struct {
        ShowKey key;
        std::uint32_t count;
        std::int32_t fromMs;
    } cases[] = {
        {ShowKey::Right, 20, 0},        {ShowKey::PageDown, 30, 100000}, {ShowKey::Left, 7, 3000},
        {ShowKey::FineBack, 40000, 1000}, {ShowKey::FrameOn, 5, 100000}, {ShowKey::FrameBack, 70, 500},
        {ShowKey::SlotOn, 3, 0},        {ShowKey::SlotBack, 9, 150000},  {ShowKey::Space, 4, 1000},
    };
    for (const auto& c : cases) {
        std::int32_t one = c.fromMs;
        bool seeks = true;
        for (std::uint32_t i = 0; i < c.count && seeks; ++i) seeks = keySeekTargetMs(c.key, one, one);
        std::int32_t run = c.fromMs;
        EXPECT_EQ(keyRunSeekTargetMs({c.key, c.count}, c.fromMs, run), seeks) << static_cast<int>(c.key);
        EXPECT_EQ(run, one) << "key " << static_cast<int>(c.key) << " x" << c.count << " from " << c.fromMs;
    }
}

TEST(DevControls, TitleShowsTimeSlotFrameTimeAndWhatHolds) {
    char title[160];
    formatDevTitle(title, sizeof title, {83250, 2, 16.66, false, false, false, {}});
    EXPECT_STREQ(title, "adf  83.250 s  slot 2  16.7 ms");
    formatDevTitle(title, sizeof title, {209999, 5, 40.0, true, true, true, {10000, 20000}});
    EXPECT_STREQ(title, "adf  209.999 s  slot 5  40.0 ms  paused  checking data  on disk: refused  loop 10.000-20.000 s");
    formatDevTitle(title, sizeof title, {1000, 1, 16.7, false, false, false, {20000, 10000}});
    EXPECT_STREQ(title, "adf  1.000 s  slot 1  16.7 ms") << "a loop that ends before it starts is off";
}

// Problems the running version already had do not stop a reload; new ones do.
TEST(DevControls, OnlyNewProblemLinesRefuseAReload) {
    EXPECT_EQ(checkProblemLines("Missing uniform x\n\nGLSL error\n1 problem in data\n"),
              (std::vector<std::string>{"Missing uniform x", "GLSL error"}));
    const std::vector<std::string> known = {"Cannot open texture \"data/a.jpg\"", "Missing uniform x"};
    EXPECT_TRUE(newProblemLines(known, {"Missing uniform x"}).empty());
    EXPECT_EQ(newProblemLines(known, {"Missing uniform x", "GLSL error in data/b.xsi"}),
              std::vector<std::string>{"GLSL error in data/b.xsi"});
}

// A compiler's message the running version had is still known when an edit above it moves it to
// another line of its file; another message on the same line is new.
TEST(DevControls, AMovedCompilerMessageIsNoNewProblem) {
    const std::vector<std::string> known = {"data/bg.xsi:22: fragment shader: error: syntax error"};
    EXPECT_TRUE(newProblemLines(known, {"data/bg.xsi:25: fragment shader: error: syntax error"}).empty());
    const std::vector<std::string> fresh = {"data/bg.xsi:22: fragment shader: error: undeclared x",
                                            "data/sky.xsi:22: fragment shader: error: syntax error"};
    EXPECT_EQ(newProblemLines(known, fresh), fresh);
}

}  // namespace
