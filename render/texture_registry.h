// Every GL texture of the show, known by its registry index (0, 1, 2, ... in creation order,
// valid for the whole run): image files loaded once per path, cube maps and empty textures.
#pragma once

#include <vector>

constexpr int textureNameSize = 120;  // path bytes, terminator included

struct Texture {
    char name[textureNameSize];  // the path as requested, "generatedTexture", or "" for cube maps
    unsigned glName;
    bool hasImage;  // its pixels were uploaded (an undecodable file leaves the texture empty)
};

struct TextureRegistry {
    std::vector<Texture> textures;
};

extern TextureRegistry textureRegistry;

// GL texture names by registry index: textureNames[i]. An index that was never handed out gives 0,
// the GL's "no texture", instead of reading past the table.
struct TextureNameTable {
    unsigned operator[](int index) const;
};
extern const TextureNameTable textureNames;

// Filter modes of the loaders: 0 nearest, 1 linear, 2 mipmapped; other non-zero values act as 1.
void setTextureFilter(int filterMode);

// False for an index never handed out and for a texture whose file could not be decoded, which
// samples as opaque black.
bool textureHasImage(int index);

// A JPEG or PNG file as a 2D texture, or the index the same path already has.
int loadTexture(const char* path, int filterMode);

// A cube map from the faces +X, +Y, +Z, -X, -Y, -Z (argument order); built anew on every call.
int loadCubeMap(const char* posX, const char* posY, const char* posZ, const char* negX, const char* negY,
                const char* negZ, int filterMode);

// A new RGB texture of the given size, named "generatedTexture".
int createEmptyTexture(int width, int height);

// True for names ending in "jpg" or "jpeg" in any letter case.
bool isJpegFileName(const char* path);

// Binds the cube map of a registry index with its coordinate generation.
void bindCubeMapByIndex(int index);
