// Driver logs put on the lines of their scene file.
#include "xsi/xsi_glsl_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

TEST(XsiGlslLog, MessagesLandOnTheLinesOfTheFileOnce) {
    const struct {
        const char* name;
        const char* log;
        const char* stage;
        Lines placed;
    } cases[] = {
        {"Mesa", "0:7(2): error: syntax error, unexpected BASIC_TYPE_TOK\n", "fragment shader",
         {"data/bg.xsi:22: fragment shader: error: syntax error, unexpected BASIC_TYPE_TOK"}},
        {"other drivers", "0(3) : error C0000: syntax error\nERROR: 0:4: 'x' : undeclared identifier\n",
         "vertex shader",
         {"data/bg.xsi:18: vertex shader: error C0000: syntax error",
          "data/bg.xsi:19: vertex shader: ERROR: 'x' : undeclared identifier"}},
        // Mesa ends this one with "\n." and says it three times.
        {"link", "error: varying d not written\n.error: varying d not written\n.error: varying d not written\n.",
         "link", {"data/bg.xsi: link: error: varying d not written"}},
        {"warnings and errors", "0:2(1): warning: x\n\n0:2(1): warning: x\n0:9(4): error: y\n", "vertex shader",
         {"data/bg.xsi:17: vertex shader: warning: x", "data/bg.xsi:24: vertex shader: error: y"}},
        {"silent", "", "link", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(placeGlslLog(c.log, c.stage, "data/bg.xsi", 15), c.placed) << c.name;
}

}  // namespace
