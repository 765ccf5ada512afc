// The authoring mode's parts that need no window: seeks, title, the reload's rule, the watch.
#include "app/dev_controls.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/check_process.h"
#include "app/data_watch.h"
#include "tests/support/process.h"

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
    formatDevTitle(title, sizeof title, {83250, 16.66, false, false});
    EXPECT_STREQ(title, "adf  83.250 s  slot 2  16.7 ms");
    formatDevTitle(title, sizeof title, {209999, 40.0, true, true});
    EXPECT_STREQ(title, "adf  209.999 s  slot 5  40.0 ms  paused  checking data");
}

// Problems the running version already had do not stop a reload; new ones do.
TEST(DevControls, OnlyNewProblemLinesRefuseAReload) {
    const std::vector<std::string> known = {"Cannot open texture \"data/a.jpg\"", "Missing uniform x"};
    EXPECT_TRUE(newProblemLines(known, {"Missing uniform x"}).empty());
    EXPECT_EQ(newProblemLines(known, {"Missing uniform x", "GLSL error in data/b.xsi"}),
              std::vector<std::string>{"GLSL error in data/b.xsi"});
}

// A save counts once, after the folder has been quiet for a moment.
TEST(DevControls, DataWatchReportsASaveOnceItIsQuiet) {
    const std::string dir = makeTempDir("data_watch_");
    DataWatch watch;
    ASSERT_TRUE(startDataWatch(watch, dir.c_str()));
    EXPECT_FALSE(pollDataWatch(watch, 0));
    std::FILE* file = std::fopen((dir + "/scene.xsi").c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("saved", file);
    std::fclose(file);
    EXPECT_FALSE(pollDataWatch(watch, 1000000));
    EXPECT_FALSE(pollDataWatch(watch, 1000000 + dataWatchQuietUs - 1));
    EXPECT_TRUE(pollDataWatch(watch, 1000000 + dataWatchQuietUs));
    EXPECT_FALSE(pollDataWatch(watch, 9000000));
}

}  // namespace
