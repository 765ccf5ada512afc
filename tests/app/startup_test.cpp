#include "app/startup.h"

#include <gtest/gtest.h>

#include "app/window.h"

namespace {

WindowSize sizeFor(std::initializer_list<const char*> args) {
    std::vector<char*> argv;
    for (const char* arg : args) argv.push_back(const_cast<char*>(arg));
    argv.push_back(nullptr);
    return chooseWindowSize(static_cast<int>(args.size()), argv.data());
}

TEST(WindowSizeFromCommandLine, DefaultsAndArguments) {
    EXPECT_EQ(sizeFor({"demo"}).windowWidth, 1280);
    EXPECT_EQ(sizeFor({"demo"}).windowHeight, 800);
    EXPECT_EQ(sizeFor({"demo", "1920"}).windowWidth, 1280);  // one argument alone is ignored
    EXPECT_EQ(sizeFor({"demo", "1920"}).windowHeight, 800);
    EXPECT_EQ(sizeFor({"demo", "1920", "1080"}).windowWidth, 1920);
    EXPECT_EQ(sizeFor({"demo", "1920", "1080", "7"}).windowHeight, 1080);
    EXPECT_EQ(sizeFor({"demo", "wide", "720"}).windowWidth, 0);  // atoi: no digits, no size
    EXPECT_EQ(sizeFor({"demo", "800px", "600"}).windowWidth, 800);
}

TEST(GameModeString, NamesSizeDepthAndRate) {
    char text[64];
    formatGameModeString(text, sizeof text, 1280, 800);
    EXPECT_STREQ(text, "1280x800:32@60");
    formatGameModeString(text, sizeof text, 1024, 768);
    EXPECT_STREQ(text, "1024x768:32@60");
    char small[8];
    formatGameModeString(small, sizeof small, 1024, 768);
    EXPECT_STREQ(small, "1024x76");
}

}  // namespace
