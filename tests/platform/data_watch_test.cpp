// The data folder's watch, on a real folder.
#include "platform/data_watch.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/support/process.h"

namespace {

// A save counts once, after the folder has been quiet for a moment.
TEST(DataWatch, ReportsASaveOnceItIsQuiet) {
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
