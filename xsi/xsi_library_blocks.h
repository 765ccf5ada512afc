// For the check: the blocks of a scene file's material or image library that its pass passes
// over (an unknown block, or a known one where the pass does not look for it), named with their
// lines as the pass reads the file. The show's reading is left as it is.
#pragma once

#include <string>
#include <vector>

struct XsiFile;

enum class XsiLibrary { Materials, Images };

enum class LibraryBlockRole { Library, Material, Shader, Skipped, Image, PassedOver };

struct LibraryBlock {
    LibraryBlockRole role;
    std::string label;  // its first two words, "XSI_Shader Uniform-params"
    int line;
    std::string kind;   // a shader's first field, "Softimage.GLSLUniform.1"
    bool read = false;  // a shader the material pass knows
    bool vertexOnly = false;  // a GLSL_Program so far without its GLSL_ProgramF
};

struct LibraryBlocks {
    XsiLibrary library;
    std::vector<LibraryBlock> open;  // outermost first, while the library is open
    std::string owner;               // the material or image of the blocks inside it
    bool done = false;
};

// Takes the file's line as the library's pass has just read it (glslSource: the pass took it as
// GLSL source, where braces are no blocks). Does nothing outside the check.
void followLibraryBlocks(const XsiFile& xsi, LibraryBlocks& blocks, bool glslSource);
