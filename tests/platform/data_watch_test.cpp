// The run folder's watch, on a real folder: saves, the music, a data folder replaced by another.
#include "platform/data_watch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/process.h"

namespace {

std::vector<std::string> changesAfter(DataWatch& watch, const std::string& dir, const std::string& script) {
    const CommandResult run = runCommand("cd '" + dir + "' && " + script);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    std::vector<std::string> names;
    readDataWatch(watch, names);
    return names;
}

bool has(const std::vector<std::string>& names, const std::string& name) {
    for (const std::string& entry : names)
        if (entry == name) return true;
    return false;
}

TEST(DataWatch, NamesWhatChangedAndFollowsAReplacedDataFolder) {
    const std::string dir = makeTempDir("data_watch_");
    ASSERT_EQ(runCommand("mkdir '" + dir + "/data'").exitCode, 0);
    DataWatch watch;
    ASSERT_TRUE(startDataWatch(watch, dir.c_str()));
    EXPECT_TRUE(changesAfter(watch, dir, "true").empty());
    EXPECT_TRUE(has(changesAfter(watch, dir, "echo saved > data/bg.xsi"), "data/bg.xsi"));
    EXPECT_TRUE(has(changesAfter(watch, dir, "echo tune > biisi.mp3"), "biisi.mp3"));
    EXPECT_TRUE(has(changesAfter(watch, dir, "mkdir data.new && mv data data.old && mv data.new data"), "data"));
    // The new data folder is the one watched now.
    EXPECT_TRUE(has(changesAfter(watch, dir, "echo saved > data/ball.xsi"), "data/ball.xsi"));
    EXPECT_TRUE(changesAfter(watch, dir, "echo old > data.old/ball.xsi").empty());
}

}  // namespace
