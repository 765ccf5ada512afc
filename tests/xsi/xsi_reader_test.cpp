// The dotXSI line reader: indent, tokens and fields, line ends, the end of the file, and loads of
// whole files that hold no materials.
#include "xsi/xsi_lines.h"
#include "xsi/xsi_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>

#include "tests/xsi/xsi_test_files.h"

namespace {

// Line tests need no GL: a directory to write into is enough.
class XsiLineTest : public testing::Test {
protected:
    void SetUp() override {
        const std::string directory = makeTempDir("xsi_line_");
        ASSERT_FALSE(directory.empty());
        ASSERT_EQ(chdir(directory.c_str()), 0);
    }
    void TearDown() override { closeXsiFile(xsi); }

    // Opens a file holding exactly text and reads its first line.
    void readFirstLine(const std::string& text) {
        writeSceneFile("line.xsi", text);
        ASSERT_TRUE(openXsiFile(xsi, "line.xsi"));
        readXsiLine(xsi);
    }

    void expectFields(const char* f0, const char* f1, const char* f2, const char* f3) {
        EXPECT_STREQ(xsi.line.fields[0], f0);
        EXPECT_STREQ(xsi.line.fields[1], f1);
        EXPECT_STREQ(xsi.line.fields[2], f2);
        EXPECT_STREQ(xsi.line.fields[3], f3);
    }

    XsiFile xsi;  // the file the test reads
};

TEST_F(XsiLineTest, HeaderGivesIndentTokensAndNoFields) {
    readFirstLine("\t\tSI_Model MDL-cube {\n");
    EXPECT_STREQ(xsi.line.raw, "\t\tSI_Model MDL-cube {");
    EXPECT_EQ(xsi.line.indent, 2);
    EXPECT_STREQ(xsi.line.tokens[0], "SI_Model");
    EXPECT_STREQ(xsi.line.tokens[1], "MDL-cube");
    EXPECT_STREQ(xsi.line.tokens[2], "{");
    EXPECT_STREQ(xsi.line.tokens[3], "");
    EXPECT_STREQ(xsi.line.tokens[4], "");
    expectFields("", "", "", "");
}

TEST_F(XsiLineTest, WordsPastTheFifthAreIgnored) {
    readFirstLine(" one\ttwo  three four five six\n");
    EXPECT_EQ(xsi.line.indent, 0);
    EXPECT_STREQ(xsi.line.tokens[0], "one");
    EXPECT_STREQ(xsi.line.tokens[4], "five");
}

TEST_F(XsiLineTest, QuotedKeywordWithComma) {
    readFirstLine("\t\t\"POSITION\",\n");
    EXPECT_EQ(xsi.line.indent, 2);
    EXPECT_STREQ(xsi.line.tokens[0], "\"POSITION\",");
    expectFields("POSITION", "", "", "");
}

TEST_F(XsiLineTest, LineWithoutQuoteStoresNoField) {
    readFirstLine("1.500000,\n");
    EXPECT_STREQ(xsi.line.tokens[0], "1.500000,");
    expectFields("", "", "", "");
}

TEST_F(XsiLineTest, CopyingStaysOnAfterTheFirstQuote) {
    readFirstLine("\"a\",1.5,\"b\",\n");
    expectFields("a", "1.5", "b", "");
}

TEST_F(XsiLineTest, FieldsCountCommasFromTheLineStart) {
    readFirstLine("1,\"x\"\n");
    expectFields("", "x", "", "");
}

TEST_F(XsiLineTest, SpacesAndTabsAfterTheFirstQuoteAreKept) {
    readFirstLine("\t\"GLSL_Program\",\"Text\",\"uniform vec4 c;\tvoid f()\n");
    expectFields("GLSL_Program", "Text", "uniform vec4 c;\tvoid f()", "");
}

TEST_F(XsiLineTest, FieldThreeKeepsTheLastOfMoreFields) {
    readFirstLine("\"a\",\"b\",\"c\",\"d\",\"e\",\"f\"\n");
    expectFields("a", "b", "c", "f");
}

TEST_F(XsiLineTest, SpacesBeforeATabGiveIndentZero) {
    readFirstLine("  \tword\n");
    EXPECT_EQ(xsi.line.indent, 0);
    EXPECT_STREQ(xsi.line.tokens[0], "word");
}

TEST_F(XsiLineTest, LastLineWithoutLineFeedThenEmptyReads) {
    writeSceneFile("line.xsi", "first\n\tlast {");
    ASSERT_TRUE(openXsiFile(xsi, "line.xsi"));
    readXsiLine(xsi);
    EXPECT_STREQ(xsi.line.raw, "first");
    EXPECT_FALSE(xsiEndOfFile(xsi));
    readXsiLine(xsi);
    EXPECT_STREQ(xsi.line.raw, "\tlast {");
    EXPECT_STREQ(xsi.line.tokens[0], "last");
    EXPECT_TRUE(xsiEndOfFile(xsi));
    readXsiLine(xsi);
    EXPECT_STREQ(xsi.line.raw, "");
    EXPECT_EQ(xsi.line.indent, 0);
    for (const auto& token : xsi.line.tokens) EXPECT_STREQ(token, "");
    for (const auto& field : xsi.line.fields) EXPECT_STREQ(field, "");
}

TEST_F(XsiLineTest, EndOfFileShowsOnlyAfterAReadRunsIntoIt) {
    writeSceneFile("line.xsi", "only\n");
    ASSERT_TRUE(openXsiFile(xsi, "line.xsi"));
    readXsiLine(xsi);
    EXPECT_STREQ(xsi.line.raw, "only");
    EXPECT_FALSE(xsiEndOfFile(xsi));
    readXsiLine(xsi);
    EXPECT_STREQ(xsi.line.raw, "");
    EXPECT_TRUE(xsiEndOfFile(xsi));

    rewindXsiFile(xsi);
    EXPECT_FALSE(xsiEndOfFile(xsi));
    readXsiLine(xsi);
    EXPECT_STREQ(xsi.line.raw, "only");
}

TEST_F(XsiLineTest, CarriageReturnOnlyBeforeALineFeedIsDropped) {
    writeSceneFile("line.xsi", "}\r\na\rb\n");
    ASSERT_TRUE(openXsiFile(xsi, "line.xsi"));
    readXsiLine(xsi);
    EXPECT_STREQ(xsi.line.raw, "}");
    readXsiLine(xsi);
    EXPECT_STREQ(xsi.line.raw, "a\rb");
}

TEST_F(XsiLineTest, NoFileOpenReadsAsTheEnd) {
    closeXsiFile(xsi);
    EXPECT_TRUE(xsiEndOfFile(xsi));
    readXsiLine(xsi);
    EXPECT_STREQ(xsi.line.raw, "");
    EXPECT_STREQ(xsi.line.tokens[0], "");
}

TEST_F(XsiLineTest, LongLinesAreCutAndTheNextLineReadsWhole) {
    const std::string longest(xsiLineSize - 1, 'x');
    const std::string tooLong = "\t\"" + std::string(400, 'y') + "\",\"z\"";
    writeSceneFile("line.xsi", longest + "\n" + tooLong + "\n" + tooLong + "\nnext line\n");
    ASSERT_TRUE(openXsiFile(xsi, "line.xsi"));
    testing::internal::CaptureStdout();
    readXsiLine(xsi);
    EXPECT_EQ(std::string(xsi.line.raw), longest);
    readXsiLine(xsi);
    EXPECT_EQ(std::string(xsi.line.raw), tooLong.substr(0, xsiLineSize - 1));
    EXPECT_EQ(xsi.line.indent, 1);
    EXPECT_EQ(std::string(xsi.line.fields[0]), std::string(xsiLineSize - 3, 'y'));
    readXsiLine(xsi);
    readXsiLine(xsi);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_STREQ(xsi.line.raw, "next line");
    EXPECT_STREQ(xsi.line.tokens[1], "line");
    // Said once for the file, not once per line or pass.
    EXPECT_EQ(countOf(printed, "longer than 255 characters"), 1u) << printed;
}

TEST_F(XsiLineTest, CountsMustFitTheRestOfTheFile) {
    writeSceneFile("line.xsi", "3,\n1\n2\n3\n");
    ASSERT_TRUE(openXsiFile(xsi, "line.xsi"));
    readXsiLine(xsi);
    EXPECT_EQ(xsiBytesLeft(xsi), 6u);
    EXPECT_TRUE(checkXsiCount(xsi, 3, "position"));
    EXPECT_TRUE(checkXsiCount(xsi, 6, "position"));
    testing::internal::CaptureStdout();
    EXPECT_FALSE(checkXsiCount(xsi, 7, "position"));
    EXPECT_FALSE(checkXsiCount(xsi, -1, "normal"));
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("position count 7"), std::string::npos) << printed;
    EXPECT_NE(printed.find("normal count -1"), std::string::npos) << printed;
}

TEST(XsiNumbers, ReadLikeAtoiAndAtof) {
    XsiFile xsi;  // none open: the floats are named in no file
    EXPECT_EQ(xsiInt("1.000000,"), 1);
    EXPECT_EQ(xsiInt("  -12,"), -12);
    EXPECT_EQ(xsiInt(""), 0);
    EXPECT_EQ(xsiInt("\"x\","), 0);
    EXPECT_EQ(xsiInt("99999999999999999999"), INT_MAX);
    EXPECT_EQ(xsiInt("-99999999999999999999"), INT_MIN);
    EXPECT_EQ(xsiFloat(xsi, "0.250000,"), 0.25f);
    EXPECT_EQ(xsiFloat(xsi, ""), 0.0f);
}

TEST(XsiNumbers, ValueLinesScanAsTheirScanfFormats) {
    // The scanner stands in for sscanf's "%f,%f,%f" and "%d,%d,%d" on every value line.
    const char* lines[] = {"\t\t\t1.000000,-2.500000,3.250000,", "1,2", " 4 , 5,6", "7,,8", "", "x,1,2",
                           "\t-0.000001,1e3,2.5e-2", "   9", "1.5 2.5", "12,34,56,78", "+3,-4,+5"};
    for (const char* line : lines) {
        float expected[3] = {-7, -7, -7}, actual[3] = {-7, -7, -7};
        const int matched = std::sscanf(line, "%f,%f,%f", &expected[0], &expected[1], &expected[2]);
        EXPECT_EQ(scanXsiFloats(line, actual, 3), std::max(matched, 0)) << line;
        for (int i = 0; i < 3; ++i) EXPECT_EQ(actual[i], expected[i]) << line << " value " << i;

        int expectedInts[3] = {-7, -7, -7}, actualInts[3] = {-7, -7, -7};
        const int matchedInts = std::sscanf(line, "%d,%d,%d", &expectedInts[0], &expectedInts[1], &expectedInts[2]);
        EXPECT_EQ(scanXsiInts(line, actualInts, 3), std::max(matchedInts, 0)) << line;
        for (int i = 0; i < 3; ++i) EXPECT_EQ(actualInts[i], expectedInts[i]) << line << " int " << i;
    }
    int huge[1] = {};
    EXPECT_EQ(scanXsiInts("99999999999999", huge, 1), 1);
    EXPECT_EQ(huge[0], INT_MAX) << "saturates instead of overflowing";
}

TEST(XsiNames, LongNamesAreCutWithAMessage) {
    XsiFile xsi;  // none open
    char name[80];
    const std::string longName(100, 'n');
    testing::internal::CaptureStdout();
    copyXsiName(xsi, name, "short");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_STREQ(name, "short");
    testing::internal::CaptureStdout();
    copyXsiName(xsi, name, longName.c_str());
    EXPECT_NE(testing::internal::GetCapturedStdout().find("cut"), std::string::npos);
    EXPECT_EQ(std::string(name), longName.substr(0, 79));
}

using XsiLoad = XsiSceneTest;

TEST_F(XsiLoad, MissingFileSaysSoAndGivesNoRoot) {
    SceneNode existing;
    SceneNode* root = &existing;
    testing::internal::CaptureStdout();
    loadXsiScene("data\\missing.xsi", root);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(root, nullptr);
    EXPECT_NE(printed.find("data\\missing.xsi"), std::string::npos) << printed;
}

// Empty, foreign and cut files each get a line naming them; a whole file gets none.
TEST_F(XsiLoad, DamagedFilesAreNamedWithWhatIsWrong) {
    std::string transform;
    for (int i = 0; i < 9; ++i) transform += "\t\t1.0,\n";
    const std::string whole = "xsi 0300txt 0032\n\nSI_Model MDL-a {\n\tSI_Transform SRT-a {\n" + transform + "\t}\n"
                              "\tGLSL \"void main()\n\t\t{\n\t\t}\",\n}\n";
    const struct {
        std::string text;
        const char* message;  // nullptr: no message
    } cases[] = {
        {whole, nullptr},
        {"", "is empty"},
        {"\x89PNG\r\n\x1a\nSI_Model MDL-a {\n}\n", "does not start with an \"xsi\" line"},
        {whole.substr(0, whole.find("\t\t{")), "ends inside 1 open blocks"},
        {whole.substr(0, whole.find("\t\t}")), "ends inside 2 open blocks"},
        {whole.substr(0, whole.find("\t\t1.0")), "ends inside 2 open blocks"},
    };
    for (const auto& c : cases) {
        writeSceneFile("data/shape.xsi", c.text);
        testing::internal::CaptureStdout();
        loadScene("data\\shape.xsi");
        const std::string printed = testing::internal::GetCapturedStdout();
        if (c.message == nullptr)
            EXPECT_EQ(printed, "");
        else
            EXPECT_NE(printed.find(std::string("Scene file data\\shape.xsi ") + c.message), std::string::npos)
                << c.message << ": " << printed;
    }
}

TEST_F(XsiLoad, FileWithoutModelGivesNoRoot) {
    writeSceneFile("data/empty.xsi", "xsi 0300txt 0032\n\nSI_FileInfo {\n\t\"me\",\n}\n");
    SceneNode existing;
    SceneNode* root = &existing;
    loadXsiScene("data\\empty.xsi", root);
    EXPECT_EQ(root, nullptr);
}

TEST_F(XsiLoad, OnlyTheFirstTopLevelModelIsRead) {
    writeSceneFile("data/two.xsi",
                   "SI_Model MDL-first {\n"
                   "\tSI_Model MDL-inner {\n"
                   "\t}\n"
                   "}\n"
                   "SI_Model MDL-second {\n"
                   "}\n");
    const auto root = loadScene("data\\two.xsi");
    ASSERT_NE(root, nullptr);
    EXPECT_STREQ(root->name, "MDL-first");
    EXPECT_EQ(root->kind, ModelNode);
    ASSERT_EQ(root->children.size(), 1u);
    EXPECT_STREQ(root->children[0]->name, "MDL-inner");
    EXPECT_TRUE(root->children[0]->children.empty());
}

TEST_F(XsiLoad, ModelAsTheLastLineWithoutLineFeedIsRead) {
    writeSceneFile("data/last.xsi", "\nSI_Model MDL-last {");
    const auto root = loadScene("data/last.xsi");
    ASSERT_NE(root, nullptr);
    EXPECT_STREQ(root->name, "MDL-last");
}

}  // namespace
