// Scene files written by the XSI tests: a fresh working directory holding data/, and loading a
// file into a tree the test owns.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "scene/scene_node.h"
#include "tests/support/gl_context.h"
#include "tests/support/process.h"
#include "xsi/xsi_reader.h"

// Scene text written with four spaces per nesting level, as tabs: each group of four leading
// spaces of a line becomes one tab.
inline std::string xsiText(const std::string& indented) {
    std::string text;
    std::size_t at = 0;
    while (at < indented.size()) {
        while (indented.compare(at, 4, "    ") == 0) {
            text += '\t';
            at += 4;
        }
        const std::size_t end = indented.find('\n', at);
        const std::size_t next = end == std::string::npos ? indented.size() : end + 1;
        text.append(indented, at, next - at);
        at = next;
    }
    return text;
}

// Writes the bytes as they are: no line-end conversion.
inline void writeSceneFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

inline std::unique_ptr<SceneNode> loadScene(const char* path) {
    SceneNode* root = nullptr;
    loadXsiScene(path, root);
    return std::unique_ptr<SceneNode>(root);
}

// Loads while capturing what is printed.
inline std::unique_ptr<SceneNode> loadSceneQuoting(const char* path, std::string& printed) {
    testing::internal::CaptureStdout();
    auto root = loadScene(path);
    printed = testing::internal::GetCapturedStdout();
    return root;
}

inline std::size_t countOf(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// Each test starts in its own empty directory with data/, on the show's GL context.
class XsiSceneTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(requireShaderLibrary());
        directory = makeTempDir("xsi_");
        ASSERT_FALSE(directory.empty());
        std::filesystem::create_directory(directory + "/data");
        ASSERT_EQ(chdir(directory.c_str()), 0);
    }

    std::string directory;
};
