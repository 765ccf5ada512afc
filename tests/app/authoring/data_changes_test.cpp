// Which saves reload the show, and when.
#include "app/authoring/data_changes.h"

#include <gtest/gtest.h>

namespace {

TEST(DataChanges, OnlyFilesTheShowReadsCount) {
    const struct {
        const char* name;
        bool read;
    } cases[] = {
        {"data/bg.xsi", true},         {"data/postproc.XSI", true}, {"data/cloudy.jpg", true},
        {"data/noise.png", true},      {"biisi.mp3", true},         {"data", true},
        {"data/.bg.xsi.swp", false},   {"data/bg.xsi~", false},     {"data/notes.txt", false},
        {"data/4913", false},          {"notes.txt", false},        {"demo", false},
        {"data/sub/x.jpg", true},
    };
    for (const auto& c : cases) EXPECT_EQ(showReadsFile(c.name), c.read) << c.name;
}

// A save counts once, after the folder has been quiet for a moment.
TEST(DataChanges, ASaveCountsOnceTheFolderIsQuiet) {
    ChangeQuiet quiet;
    EXPECT_FALSE(quietAfterChanges(quiet, false, 0));
    EXPECT_FALSE(quietAfterChanges(quiet, true, 1000000));
    EXPECT_FALSE(quietAfterChanges(quiet, false, 1000000 + dataQuietUs - 1));
    EXPECT_TRUE(quietAfterChanges(quiet, false, 1000000 + dataQuietUs));
    EXPECT_FALSE(quietAfterChanges(quiet, false, 9000000));
}

}  // namespace
