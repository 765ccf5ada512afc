// The data set's copies: a copy holds what the run folder held, and nothing but the copies this
// program made is ever removed.
#include "app/authoring/data_copies.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/process.h"

namespace {

namespace fs = std::filesystem;

void write(const fs::path& file, const char* text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
}

TEST(DataCopies, ACopyIsTheVersionOnDiskAndOnlyCopiesAreRemoved) {
    const fs::path run = makeTempDir("data_copies_");
    write(run / "data" / "bg.xsi", "sky");
    write(run.parent_path() / (run.filename().string() + ".mp3"), "tune");
    // A run folder of links, as the tests and authors make them, is the same as its copy.
    fs::create_symlink(run.parent_path() / (run.filename().string() + ".mp3"), run / "biisi.mp3");
    DataCopies copies;
    std::string copy, error;
    ASSERT_TRUE(makeDataCopies(copies, error)) << error;
    ASSERT_TRUE(copyDataSet(copies, run.string(), copy, error)) << error;
    EXPECT_TRUE(sameDataSet(run.string(), copy));
    write(run / "data" / "bg.xsi", "sky at dusk");
    EXPECT_FALSE(sameDataSet(run.string(), copy)) << "a save after the copy";
    std::string second;
    ASSERT_TRUE(copyDataSet(copies, run.string(), second, error)) << error;

    // A show restarted in the second copy keeps it and drops the first.
    DataCopies adopted;
    adoptDataCopies(adopted, second);
    EXPECT_EQ(adopted.root, copies.root);
    removeDataCopies(adopted, second);
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_TRUE(fs::exists(second));

    // A folder that is not one of ours is adopted as none: its neighbours stay.
    const fs::path neighbour = run.parent_path() / (run.filename().string() + "-neighbour");
    write(neighbour / "keep", "mine");
    DataCopies foreign;
    adoptDataCopies(foreign, run.string());
    EXPECT_TRUE(foreign.root.empty());
    removeDataCopies(foreign, run.string());
    removeDataCopies(foreign, "");
    EXPECT_TRUE(fs::exists(neighbour / "keep"));
    EXPECT_TRUE(fs::exists(run / "biisi.mp3"));

    removeDataCopies(copies, "");
    EXPECT_FALSE(fs::exists(copies.root));
    fs::remove_all(neighbour);
    fs::remove(run.parent_path() / (run.filename().string() + ".mp3"));
}

}  // namespace
