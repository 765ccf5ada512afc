// The texture registry and its loaders.
#include "render/texture_registry.h"

#include <GL/glew.h>

#include <cctype>
#include <cstring>

#include "base/file_kind.h"
#include "base/print_line.h"
#include "base/problem_detail.h"
#include "base/startup_phases.h"
#include "image/jpeg_decoder.h"
#include "image/png_loader.h"
#include "render/gl_state.h"

TextureRegistry textureRegistry;
const TextureNameTable textureNames;

namespace {

const char generatedTextureName[] = "generatedTexture";

// Decoded pixels ready for upload: JPEGs arrive as RGBA and are stored as RGB.
struct DecodedImage {
    std::vector<unsigned char> pixels;
    int width = 0;
    int height = 0;
    int components = 3;
    GLenum format = GL_RGBA;
};

// A file named as one image format that holds another kind, or a directory, is named for what
// it is instead of for where its decoder gave up.
bool holdsWhatItsNameSays(const char* path) {
    const bool jpeg = isJpegFileName(path);
    const FileKind kind = fileKindOf(path);
    switch (kind) {
        case FileKind::Directory:
        case FileKind::Wav:
        case FileKind::Mp3:
            break;
        case FileKind::Png:
            if (jpeg) break;
            return true;
        case FileKind::Jpeg:
            if (!jpeg) break;
            return true;
        default:
            return true;  // missing, empty or damaged: the decoder says which
    }
    reportDataProblem("%s %s %s, not %s; the show leaves it out.", problemPath(path).c_str(),
                      kind == FileKind::Directory ? "is" : "holds", fileKindName(kind), jpeg ? "a JPEG image" : "a PNG image");
    return false;
}

bool decodeImage(const char* path, DecodedImage& image) {
    ScopedPhase phase(StartupPhase::Images);
    if (!holdsWhatItsNameSays(path)) return false;
    if (isJpegFileName(path)) return decodeJpegFile(path, image.pixels, image.width, image.height);
    if (!loadPngImage(path, image.pixels, image.width, image.height, image.components)) return false;
    image.format = image.components == 3 ? GL_RGB : GL_RGBA;
    return true;
}

// What some GL drivers refuse or draw otherwise, said by the check as notes.
void notePortability(const char* path, const DecodedImage& image, int filterMode) {
    constexpr int widelySupported = 4096;
    if (image.width > widelySupported || image.height > widelySupported)
        reportCheckNote("Image %s is %dx%d: many GPUs refuse textures over %d pixels a side.", problemPath(path).c_str(),
                        image.width, image.height, widelySupported);
    const auto powerOfTwo = [](int n) { return n > 0 && (n & (n - 1)) == 0; };
    if (filterMode == 2 && (!powerOfTwo(image.width) || !powerOfTwo(image.height)))
        reportCheckNote("Image %s is %dx%d and mipmapped: GLU scales it to a power of two first, so its levels look "
                        "different where a driver mipmaps it as it is.",
                        problemPath(path).c_str(), image.width, image.height);
}

void upload(GLenum target, const DecodedImage& image, int filterMode) {
    ScopedPhase phase(StartupPhase::Images);
    // Rows of any byte length arrive packed.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (filterMode == 2)
        gluBuild2DMipmaps(target, image.components, image.width, image.height, image.format, GL_UNSIGNED_BYTE,
                          image.pixels.data());
    else
        glTexImage2D(target, 0, image.components, image.width, image.height, 0, image.format, GL_UNSIGNED_BYTE,
                     image.pixels.data());
}

// Appends a record for a new GL texture name; returns the new index.
int addTexture(const char* name, GLuint glName, bool hasImage) {
    Texture texture{};
    const std::size_t length = std::strlen(name);
    if (length >= sizeof texture.name)
        reportDataProblem("Texture path longer than %d characters, loaded but not shared: %s", textureNameSize - 1,
                          problemPath(name).c_str());
    formatText(texture.name, sizeof texture.name, "%s", name);
    texture.glName = glName;
    texture.hasImage = hasImage;
    textureRegistry.textures.push_back(texture);
    return static_cast<int>(textureRegistry.textures.size() - 1);
}

// The record of a registry index, or nullptr for one never handed out.
const Texture* textureAt(int index) {
    const auto& textures = textureRegistry.textures;
    if (index < 0 || static_cast<std::size_t>(index) >= textures.size()) return nullptr;
    return &textures[static_cast<std::size_t>(index)];
}

GLuint newTextureName() {
    GLuint name = 0;
    glGenTextures(1, &name);
    return name;
}

}  // namespace

unsigned TextureNameTable::operator[](int index) const {
    const Texture* texture = textureAt(index);
    return texture != nullptr ? texture->glName : 0;
}

bool textureHasImage(int index) {
    const Texture* texture = textureAt(index);
    return texture != nullptr && texture->hasImage;
}

void setTextureFilter(int filterMode) {
    GLint minFilter = GL_LINEAR, magFilter = GL_LINEAR;
    if (filterMode == 0) minFilter = magFilter = GL_NEAREST;
    else if (filterMode == 2) minFilter = GL_LINEAR_MIPMAP_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
}

int loadTexture(const char* path, int filterMode) {
    if (path == nullptr) path = "";
    const auto& textures = textureRegistry.textures;
    for (std::size_t i = 0; i < textures.size(); ++i)
        if (std::strcmp(textures[i].name, path) == 0) return static_cast<int>(i);

    const GLuint name = newTextureName();
    glBindTexture(GL_TEXTURE_2D, name);
    // A file that cannot be decoded still gets its texture and index, so callers need not check;
    // the record says the texture is empty.
    DecodedImage image;
    const bool decoded = decodeImage(path, image);
    if (decoded) {
        notePortability(path, image, filterMode);
        upload(GL_TEXTURE_2D, image, filterMode);
    }
    setTextureFilter(filterMode);
    return addTexture(path, name, decoded);
}

int loadCubeMap(const char* posX, const char* posY, const char* posZ, const char* negX, const char* negY,
                const char* negZ, int filterMode) {
    const GLuint name = newTextureName();
    glEnable(GL_TEXTURE_CUBE_MAP);
    const char* faces[6] = {posX, negX, posY, negY, posZ, negZ};
    int facesDecoded = 0;
    for (int face = 0; face < 6; ++face) {
        glBindTexture(GL_TEXTURE_CUBE_MAP, name);
        DecodedImage image;
        if (faces[face] != nullptr && decodeImage(faces[face], image)) {
            upload(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, image, filterMode);
            ++facesDecoded;
        }
    }
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
    glTexGeni(GL_R, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
    glEnable(GL_TEXTURE_CUBE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_GEN_R);
    glEnable(GL_NORMALIZE);
    return addTexture("", name, facesDecoded == 6);
}

int createEmptyTexture(int width, int height) {
    const GLuint name = newTextureName();
    glBindTexture(GL_TEXTURE_2D, name);
    if (width > 0 && height > 0) {
        const std::vector<unsigned char> scratch(static_cast<std::size_t>(width) * height * 3);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, 3, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, scratch.data());
    }
    return addTexture(generatedTextureName, name, width > 0 && height > 0);
}

bool isJpegFileName(const char* path) {
    if (path == nullptr) return false;
    const std::size_t length = std::strlen(path);
    auto endsWith = [&](const char* suffix) {
        const std::size_t n = std::strlen(suffix);
        if (length < n) return false;
        for (std::size_t i = 0; i < n; ++i)
            if (std::tolower(static_cast<unsigned char>(path[length - n + i])) != suffix[i]) return false;
        return true;
    };
    return endsWith("jpg") || endsWith("jpeg");
}

void bindCubeMapByIndex(int index) { bindCubeMapTexture(textureNames[index]); }
