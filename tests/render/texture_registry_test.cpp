// The texture registry on a Mesa context: indices, sharing by path, filters, formats, cube maps.
#include "render/texture_registry.h"

#include <GL/glew.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "image/jpeg_decoder.h"
#include "render/gl_state.h"
#include "tests/support/gl_context.h"
#include "tests/support/jpeg_reference.h"
#include "tests/support/png_files.h"
#include "tests/support/process.h"

namespace {


TEST(JpegFileName, EndingDecidesInAnyCase) {
    for (const char* name : {"a.jpg", "a.JPG", "a.jPg", "data\\b.jpeg", "B.JPEG", "nodotjpg", "jpeg"})
        EXPECT_TRUE(isJpegFileName(name)) << name;
    for (const char* name : {"a.jpe", "a.gif", "a.png", "jpegs", "a", "", "pg", "a.jpg.png"})
        EXPECT_FALSE(isJpegFileName(name)) << name;
    EXPECT_FALSE(isJpegFileName(nullptr));
}

GLint texParameter(GLenum target, GLenum name) {
    GLint value = 0;
    glGetTexParameteriv(target, name, &value);
    return value;
}

GLint levelParameter(GLenum target, int level, GLenum name) {
    GLint value = 0;
    glGetTexLevelParameteriv(target, level, name, &value);
    return value;
}

// Each test runs in a fresh directory holding data/ with a few small images.
class TextureRegistryTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(requireGlContext());
        dir = makeTempDir("textures_");
        std::filesystem::create_directory(dir + "/data");
        ASSERT_EQ(chdir(dir.c_str()), 0);
        ASSERT_TRUE(writeTestPng("data/rgb.png", 3, 2, 3, rgb));
        ASSERT_TRUE(writeTestPng("data/rgba.png", 2, 1, 4, {10, 20, 30, 40, 50, 60, 70, 80}));
    }

    const Bytes rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    std::string dir;  // absolute paths under it are new to the registry even within one process
};

TEST_F(TextureRegistryTest, SamePathSharesOneTextureAndKeepsItsFirstFilter) {
    const std::size_t before = textureRegistry.textures.size();
    const int first = loadTexture("data\\rgb.png", 0);
    const int again = loadTexture("data\\rgb.png", 2);
    EXPECT_EQ(first, again);
    EXPECT_EQ(textureRegistry.textures.size(), before + 1);
    glBindTexture(GL_TEXTURE_2D, textureNames[first]);
    EXPECT_EQ(texParameter(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER), GL_NEAREST);

    const int slashed = loadTexture("data/rgb.png", 1);  // a different name, so a second texture
    EXPECT_NE(slashed, first);
    EXPECT_NE(textureNames[slashed], textureNames[first]);
    EXPECT_EQ(textureRegistry.textures.size(), before + 2);
    EXPECT_STREQ(textureRegistry.textures[static_cast<std::size_t>(first)].name, "data\\rgb.png");
}

TEST_F(TextureRegistryTest, IndicesCountUpAndGeneratedTextureIsTheFirstEmptyOne) {
    if (!textureRegistry.textures.empty()) GTEST_SKIP() << "needs a fresh registry: run it in its own process";
    EXPECT_EQ(createEmptyTexture(16, 8), 0);
    EXPECT_EQ(createEmptyTexture(16, 8), 1);
    EXPECT_EQ(loadTexture("data/rgb.png", 1), 2);
    testing::internal::CaptureStdout();
    EXPECT_EQ(loadTexture("generatedTexture", 1), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "no file is read for it";
    glBindTexture(GL_TEXTURE_2D, textureNames[1]);
    EXPECT_EQ(levelParameter(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH), 16);
    EXPECT_EQ(levelParameter(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE), 0);
}

TEST_F(TextureRegistryTest, FilterModes) {
    const struct {
        const char* path;
        int mode;
        GLint minFilter, magFilter;
    } cases[] = {
        {"/data/rgb.png", 0, GL_NEAREST, GL_NEAREST},
        {"/data//rgb.png", 1, GL_LINEAR, GL_LINEAR},
        {"/data/./rgb.png", 2, GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR},
        {"/./data/rgb.png", 7, GL_LINEAR, GL_LINEAR},
    };
    for (const auto& c : cases) {
        const int index = loadTexture((dir + c.path).c_str(), c.mode);
        glBindTexture(GL_TEXTURE_2D, textureNames[index]);
        EXPECT_EQ(texParameter(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER), c.minFilter) << c.mode;
        EXPECT_EQ(texParameter(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER), c.magFilter) << c.mode;
        // Only the mipmapped mode builds levels below the image.
        EXPECT_EQ(levelParameter(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH) > 0, c.mode == 2) << c.mode;
    }
}

TEST_F(TextureRegistryTest, PngComponentsPickTheFormatAndOddRowsUploadIntact) {
    const int rgbIndex = loadTexture("data/rgb.png", 1);
    glBindTexture(GL_TEXTURE_2D, textureNames[rgbIndex]);
    EXPECT_EQ(levelParameter(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE), 0);
    EXPECT_EQ(levelParameter(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH), 3);
    Bytes readBack(rgb.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, readBack.data());
    EXPECT_EQ(readBack, rgb) << "rows of 9 bytes, first row of the file at t = 0";

    const int rgbaIndex = loadTexture("data/rgba.png", 1);
    glBindTexture(GL_TEXTURE_2D, textureNames[rgbaIndex]);
    EXPECT_GT(levelParameter(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE), 0);
}

TEST_F(TextureRegistryTest, JpegsAreDecodedByOurDecoderAndStoredAsRgb) {
    const TestPicture picture = makePhotoPicture(48, 32, 3);
    ASSERT_TRUE(writeBytes("data/photo.JpG", encodeWithLibjpeg(picture, EncodeOptions{})));
    const int index = loadTexture("data\\photo.JpG", 1);
    glBindTexture(GL_TEXTURE_2D, textureNames[index]);
    EXPECT_EQ(levelParameter(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH), 48);
    EXPECT_EQ(levelParameter(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT), 32);
    EXPECT_EQ(levelParameter(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE), 0) << "three components from RGBA data";

    std::vector<unsigned char> decoded;
    int width = 0, height = 0;
    ASSERT_TRUE(decodeJpegFile("data/photo.JpG", decoded, width, height));
    Bytes texels(static_cast<std::size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    for (std::size_t i = 0; i < texels.size(); ++i)
        ASSERT_EQ(texels[i], decoded[i]) << "texel byte " << i << ": first file row at t = 0, unflipped";
}

TEST_F(TextureRegistryTest, MissingFileStillGetsAnIndex) {
    testing::internal::CaptureStdout();
    const int index = loadTexture("data\\absent.png", 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "File data\\absent.png not found!\n");
    EXPECT_EQ(index, static_cast<int>(textureRegistry.textures.size()) - 1);
    EXPECT_NE(textureNames[index], 0u);
    EXPECT_EQ(loadTexture("data\\absent.png", 1), index);
}

TEST_F(TextureRegistryTest, CubeMapFacesAndReflectionMapping) {
    const char* names[6] = {"data/px.png", "data/py.png", "data/pz.png", "data/nx.png", "data/ny.png", "data/nz.png"};
    for (int i = 0; i < 6; ++i) {
        const auto level = static_cast<unsigned char>(10 * (i + 1));
        ASSERT_TRUE(writeTestPng(names[i], 2, 2, 3, Bytes(12, level)));
    }
    const int index = loadCubeMap(names[0], names[1], names[2], names[3], names[4], names[5], 1);
    EXPECT_STREQ(textureRegistry.textures[static_cast<std::size_t>(index)].name, "");
    for (GLenum coordinate : {GL_S, GL_T, GL_R}) {
        GLint mode = 0;
        glGetTexGeniv(coordinate, GL_TEXTURE_GEN_MODE, &mode);
        EXPECT_EQ(mode, GL_REFLECTION_MAP);
    }
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_T));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_R));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_CUBE_MAP));
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    EXPECT_EQ(texParameter(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    EXPECT_EQ(texParameter(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER), GL_NEAREST);

    // Faces in GL order +X, -X, +Y, -Y, +Z, -Z come from the arguments px, nx, py, ny, pz, nz.
    const int expectedFile[6] = {0, 3, 1, 4, 2, 5};
    for (int face = 0; face < 6; ++face) {
        Bytes texel(12);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_RGB, GL_UNSIGNED_BYTE, texel.data());
        EXPECT_EQ(texel[0], 10 * (expectedFile[face] + 1)) << "face " << face;
    }

    // Asked again, it is built again.
    EXPECT_NE(loadCubeMap(names[0], names[1], names[2], names[3], names[4], names[5], 1), index);

    bindTexture2D(0);
    bindCubeMapByIndex(index);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_CUBE_MAP, &bound);
    EXPECT_EQ(static_cast<unsigned>(bound), textureNames[index]);
}

TEST_F(TextureRegistryTest, GrowsPastTwoHundredFiftySixTextures) {
    const int first = static_cast<int>(textureRegistry.textures.size());
    for (int i = 0; i < 300; ++i) ASSERT_EQ(createEmptyTexture(4, 4), first + i);
    ASSERT_EQ(textureRegistry.textures.size(), static_cast<std::size_t>(first) + 300);
    // Every index keeps a GL texture of its own, past any fixed-size table.
    std::set<unsigned> names;
    for (int i = first; i < first + 300; ++i) {
        ASSERT_TRUE(glIsTexture(textureNames[i])) << "index " << i;
        names.insert(textureNames[i]);
    }
    EXPECT_EQ(names.size(), 300u);
    EXPECT_EQ(textureNames[first + 300], 0u);
    EXPECT_EQ(textureNames[-1], 0u);
}

TEST_F(TextureRegistryTest, OverlongPathsLoadButAreNotShared) {
    const std::string deep = "data/" + std::string(150, 'd');
    std::filesystem::create_directory(deep);
    const std::string path = deep + "/rgb.png";
    ASSERT_TRUE(writeTestPng(path, 3, 2, 3, rgb));
    testing::internal::CaptureStdout();
    const int index = loadTexture(path.c_str(), 1);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("longer than 119 characters"), std::string::npos);
    EXPECT_EQ(std::strlen(textureRegistry.textures[static_cast<std::size_t>(index)].name), 119u);
    glBindTexture(GL_TEXTURE_2D, textureNames[index]);
    EXPECT_EQ(levelParameter(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH), 3);
}

}  // namespace
