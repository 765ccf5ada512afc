// The authoring mode's parts that need no window: seeks, title, the reload's rule.
#include "app/authoring/dev_controls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/authoring/check_problems.h"

namespace {

TEST(DevControls, SeeksLandInsideTheShow) {
    const struct {
        ShowKey key;
        std::int32_t fromMs, toMs;
    } cases[] = {
        {ShowKey::Right, 100000, 101000},    {ShowKey::Left, 100000, 99000},
        {ShowKey::PageDown, 100000, 110000}, {ShowKey::PageUp, 100000, 90000},
        {ShowKey::Left, 400, 0},             {ShowKey::PageDown, 205000, 209999},
        {ShowKey::Space, 100000, 100000},    {ShowKey::Reload, 100000, 100000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(seekTargetMs(c.fromMs, seekDeltaMs(c.key)), c.toMs)
            << "key " << static_cast<int>(c.key) << " from " << c.fromMs;
}

TEST(DevControls, TitleShowsTimeSlotFrameTimeAndWhatHolds) {
    char title[160];
    formatDevTitle(title, sizeof title, {83250, 2, 16.66, false, false});
    EXPECT_STREQ(title, "adf  83.250 s  slot 2  16.7 ms");
    formatDevTitle(title, sizeof title, {209999, 5, 40.0, true, true});
    EXPECT_STREQ(title, "adf  209.999 s  slot 5  40.0 ms  paused  checking data");
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
