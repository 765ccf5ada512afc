// The material and image passes of a scene-file load: GLSL materials of the file's material
// library into the shader library, the file's image list, and the textures they bind together.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct XsiFile;

constexpr int xsiImageNameSize = 80;  // name and path bytes, terminator included

// Bytes of each GLSL source buffer of the material pass, terminator included.
constexpr std::size_t glslSourceSize = 16384;

struct XsiImage {
    char name[xsiImageNameSize];
    char path[xsiImageNameSize];  // as written in the file
};

// Images of the file being loaded, filled by readImageLibrary and emptied by bindImages.
extern std::vector<XsiImage> xsiImages;

// Rewinds the open file and appends every material of its SI_MaterialLibrary that the shader
// library does not have yet; a name already there prints "Duplicate shader, skipping.\n".
void readMaterialLibrary(XsiFile& xsi);

// Rewinds the open file and lists the images of its XSI_ImageLibrary in xsiImages.
void readImageLibrary(XsiFile& xsi);

// Loads the textures and cube maps that the materials' slots name through xsiImages, prints each
// 2D texture's path, then empties xsiImages. The file names itself in the check's messages.
void bindImages(const XsiFile& xsi);

// The text after the last backslash or slash of a path; the whole path when it has none.
const char* pathFileName(const char* path);

// The scene file a material of the shader library was read from, as problem lines name it; null
// for a built-in material.
struct Material;
const char* xsiMaterialFile(const Material* material);

// For the check: the GLSL of a program the material pass built and linked, and where its stages
// stand in their scene file (program line n is line headerLine + n, as placeGlslLog has it).
struct XsiGlslProgram {
    std::string file;
    std::string material;
    std::string vertex, fragment;
    int vertexHeaderLine = 0, fragmentHeaderLine = 0;
};

// Every such program of the files read so far, second copies of a material included; filled only
// on a quiet console.
const std::vector<XsiGlslProgram>& xsiBuiltPrograms();
