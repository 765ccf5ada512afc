// Packing a state's zero runs gives back the very bytes, and refuses a damaged record stream.
#include "app/authoring/zero_runs.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(ZeroRuns, PackedBytesComeBackExactly) {
    std::vector<std::vector<unsigned char>> cases = {{}, {0}, {7}, std::vector<unsigned char>(1000, 0)};
    std::vector<unsigned char> mixed(100000, 0);
    for (std::size_t i = 0; i < mixed.size(); i += 997) mixed[i] = static_cast<unsigned char>(i);
    for (std::size_t i = 50000; i < 50020; ++i) mixed[i] = 1;  // a short run of zeros between literals
    mixed[50030] = 2;
    cases.push_back(mixed);
    for (const auto& bytes : cases) {
        const std::vector<unsigned char> packed = packZeroRuns(bytes.data(), bytes.size());
        std::vector<unsigned char> back;
        ASSERT_TRUE(unpackZeroRuns(packed, bytes.size(), back)) << bytes.size();
        EXPECT_EQ(back, bytes) << bytes.size();
    }
    const std::vector<unsigned char> packed = packZeroRuns(mixed.data(), mixed.size());
    EXPECT_LT(packed.size(), mixed.size() / 4) << "zeros are left out";
    std::vector<unsigned char> back;
    EXPECT_FALSE(unpackZeroRuns(packed, mixed.size() - 1, back)) << "another size";
    EXPECT_FALSE(unpackZeroRuns(std::vector<unsigned char>(packed.begin(), packed.end() - 3), mixed.size(), back));
}

}  // namespace
