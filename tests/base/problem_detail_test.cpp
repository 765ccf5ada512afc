// What a detailed console adds to a missing file: one path style, who asked, the near match.
#include "base/problem_detail.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/print_line.h"
#include "tests/support/process.h"

namespace fs = std::filesystem;

namespace {

std::string missingLine(const char* fileName) {
    testing::internal::CaptureStdout();
    reportMissingFile(fileName);
    return testing::internal::GetCapturedStdout();
}

TEST(ProblemDetail, AMissingFileNamesWhoAskedAndWhatIsThere) {
    const std::string run = makeTempDir("problem_detail_");
    ASSERT_EQ(chdir(run.c_str()), 0);
    for (const char* file : {"data/Flare.JPG", "data/old/noise.png", "cloudy2.jpg"}) {
        fs::create_directories(fs::path(file).parent_path().empty() ? "." : fs::path(file).parent_path());
        std::ofstream(file) << "x";
    }
    const struct {
        bool detailed;
        const char* asker;
        const char* file;
        const char* line;
    } cases[] = {
        {false, "data\\tykki.xsi", "data\\flare.jpg", "File data\\flare.jpg not found!\n"},
        {true, nullptr, "data\\gone.jpg", "File data/gone.jpg not found!\n"},
        {true, "data\\tykki.xsi", "data/gone.jpg",
         "File data/gone.jpg not found! Scene file data/tykki.xsi, material metal, asks for it.\n"},
        {true, nullptr, "data\\flare.jpg",
         "File data/flare.jpg not found! Did you mean data/Flare.JPG? File names match case for case.\n"},
        {true, nullptr, "data\\noise.png",
         "File data/noise.png not found! Did you mean data/old/noise.png? The show reads it from data/ itself.\n"},
        {true, nullptr, "data/cloudy2.jpg",
         "File data/cloudy2.jpg not found! Did you mean cloudy2.jpg? The show reads it from data/ itself.\n"},
    };
    for (const auto& c : cases) {
        setConsoleDetailed(c.detailed);
        const ScopedFileRequester asking(c.asker, "metal");
        EXPECT_EQ(missingLine(c.file), c.line) << c.file;
    }
}

}  // namespace
