#include "base/print_line.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(FormatText, FormatsAndZeroFills) {
    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(formatText(buffer, sizeof buffer, "%d-%s", 42, "ab"), 5);
    EXPECT_STREQ(buffer, "42-ab");
    for (std::size_t i = 5; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], '\0');
}

TEST(FormatText, CutsAtTheBufferAndNeverOverruns) {
    char buffer[9] = {};
    buffer[8] = 'z';
    EXPECT_EQ(formatText(buffer, 8, "%s", "0123456789"), 7);
    EXPECT_STREQ(buffer, "0123456");
    EXPECT_EQ(buffer[8], 'z');
    EXPECT_EQ(formatText(buffer, sizeof buffer, nullptr), 0);
    EXPECT_STREQ(buffer, "");
}

TEST(PrintLine, EndsEveryMessageWithALineFeed) {
    testing::internal::CaptureStdout();
    printLine("Version %d", 20602);
    printLine(" ok.\n");
    printLine(nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Version 20602\n ok.\n\n");
}

TEST(PrintLine, CutsLongMessagesAt1023Characters) {
    const std::string longText(5000, 'a');
    testing::internal::CaptureStdout();
    printLine("%s", longText.c_str());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), std::string(1023, 'a') + "\n");
}

// The check's console says a problem once however often start-up meets it (a cube map is built
// again for every later scene file); the show's own console prints what it meets.
TEST(ReportDataProblem, ADetailedConsoleSaysEachProblemOnce) {
    for (const bool detailed : {false, true}) {
        setConsoleDetailed(detailed);
        const int before = dataProblemCount();
        testing::internal::CaptureStdout();
        for (int i = 0; i < 3; ++i) {
            reportDataProblem("File data/%s.jpg not found!", detailed ? "face" : "side");
            reportDataProblemDetail("its log");
        }
        const std::string printed = testing::internal::GetCapturedStdout();
        const int times = detailed ? 1 : 3;
        EXPECT_EQ(dataProblemCount() - before, times) << detailed;
        std::string expected;
        for (int i = 0; i < times; ++i) expected += std::string("File data/") + (detailed ? "face" : "side") +
                                                     ".jpg not found!\nits log\n";
        EXPECT_EQ(printed, expected) << detailed;
    }
}

}  // namespace
