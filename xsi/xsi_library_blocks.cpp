// What the material and image passes pass over, for the check.
#include "xsi/xsi_library_blocks.h"

#include <cctype>
#include <cstring>

#include "base/print_line.h"
#include "xsi/xsi_lines.h"

namespace {

bool equals(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

bool identifier(const char* word) {
    if (!std::isalpha(static_cast<unsigned char>(*word)) && *word != '_') return false;
    for (; *word != '\0'; ++word)
        if (!std::isalnum(static_cast<unsigned char>(*word)) && *word != '_') return false;
    return true;
}

// A dotXSI block's first line: a type, maybe a name, and its brace ("XSI_Shader Uniform-params {").
// GLSL that no source holds ("void main() {", a lone "{") is none.
bool opensBlock(const XsiLine& line) {
    if (!identifier(line.tokens[0])) return false;
    if (equals(line.tokens[1], "{")) return line.tokens[2][0] == '\0';
    return equals(line.tokens[2], "{") && line.tokens[3][0] == '\0' &&
           std::strpbrk(line.tokens[1], "(){};,=\"") == nullptr;
}

bool closesBlock(const XsiLine& line) { return equals(line.tokens[0], "}") && line.tokens[1][0] == '\0'; }

std::string labelOf(const XsiLine& line) {
    std::string label = line.tokens[0];
    if (line.tokens[1][0] != '\0' && !equals(line.tokens[1], "{")) label += std::string(" ") + line.tokens[1];
    return label;
}

// The lines by which the material pass takes a block for a shader it reads.
bool shaderLine(const char* field) {
    for (const char* known : {"Softimage.GLSLUniform.1", "Softimage.material-phong.1", "Softimage.material-blinn.1",
                              "Softimage.OGL13CubicTexture.1", "Softimage.OGL13Texture.1", "Softimage.OGL13Texture.2",
                              "GLSL_Program", "GLSL_ProgramF"})
        if (equals(field, known)) return true;
    return false;
}

// A shader block the pass does not read: a GLSL program without its fragment shader (built only
// when that source ends), or a block of no kind it knows (it sets no flag for it, so its "}"
// clears the material's).
void reportUnreadShader(const XsiFile& xsi, const LibraryBlock& block, const std::string& material) {
    if (block.vertexOnly) {
        reportCheckProblem("Scene file %s, line %d: block \"%s\" of material %s holds a GLSL_Program but no "
                           "GLSL_ProgramF, so its GLSL program is never built and its meshes draw without their shader.",
                           xsiFileName(xsi), block.line, block.label.c_str(), material.c_str());
        return;
    }
    const std::string kind = block.kind.empty() ? "it names none" : "\"" + block.kind + "\"";
    reportCheckProblem("Scene file %s, line %d: block \"%s\" of material %s is of no kind the reader knows (%s), so it "
                       "is passed over, and its \"}\" is taken for the material's end: what follows in the material "
                       "is passed over too.",
                       xsiFileName(xsi), block.line, block.label.c_str(), material.c_str(), kind.c_str());
}

LibraryBlockRole materialBlockRole(const XsiFile& xsi, const LibraryBlocks& blocks, const XsiLine& line, const std::string& label) {
    const LibraryBlock& around = blocks.open.back();
    // The pass starts a material wherever the word stands.
    if (equals(line.tokens[0], "XSI_Material")) return LibraryBlockRole::Material;
    switch (around.role) {
    case LibraryBlockRole::Library:
        reportCheckProblem("Scene file %s, line %d: block \"%s\" in the material library, outside its materials, is "
                           "passed over by the reader.",
                           xsiFileName(xsi), xsiLineNumber(xsi), label.c_str());
        return LibraryBlockRole::PassedOver;
    case LibraryBlockRole::Material:
        if (equals(line.tokens[0], "XSI_MaterialInfo") || equals(line.tokens[0], "SI_FCurve"))
            return LibraryBlockRole::Skipped;
        return LibraryBlockRole::Shader;
    case LibraryBlockRole::Shader:
    case LibraryBlockRole::Skipped:
        if (around.role == LibraryBlockRole::Shader && equals(line.tokens[0], "SI_FCurve"))
            return LibraryBlockRole::Skipped;
        reportCheckProblem("Scene file %s, line %d: block \"%s\" inside \"%s\" of material %s is passed over by the "
                           "reader, which takes its \"}\" for the end of \"%s\".",
                           xsiFileName(xsi), xsiLineNumber(xsi), label.c_str(), around.label.c_str(), blocks.owner.c_str(),
                           around.label.c_str());
        return LibraryBlockRole::PassedOver;
    default:
        return LibraryBlockRole::PassedOver;
    }
}

LibraryBlockRole imageBlockRole(const XsiFile& xsi, const LibraryBlocks& blocks, const XsiLine& line, const std::string& label) {
    // The pass takes an image wherever the word stands.
    if (equals(line.tokens[0], "XSI_Image")) return LibraryBlockRole::Image;
    const LibraryBlock& around = blocks.open.back();
    if (around.role == LibraryBlockRole::Library)
        reportCheckProblem("Scene file %s, line %d: block \"%s\" in the image library, outside its images, is passed "
                           "over by the reader.",
                           xsiFileName(xsi), xsiLineNumber(xsi), label.c_str());
    else if (around.role == LibraryBlockRole::Image)
        reportCheckProblem("Scene file %s, line %d: block \"%s\" inside image %s is passed over by the reader.",
                           xsiFileName(xsi), xsiLineNumber(xsi), label.c_str(), blocks.owner.c_str());
    return LibraryBlockRole::PassedOver;
}

}  // namespace

void followLibraryBlocks(const XsiFile& xsi, LibraryBlocks& blocks, bool glslSource) {
    if (!consoleIsQuiet() || blocks.done || glslSource) return;
    const XsiLine& line = xsi.line;
    if (line.tokens[0][0] == '\0') return;
    const bool materials = blocks.library == XsiLibrary::Materials;
    if (blocks.open.empty()) {
        if (opensBlock(line) && equals(line.tokens[0], materials ? "SI_MaterialLibrary" : "XSI_ImageLibrary"))
            blocks.open.push_back({LibraryBlockRole::Library, labelOf(line), xsiLineNumber(xsi), {}});
        return;
    }
    // The library's blocks are indented: an unindented line ends it, or stands after a library
    // whose "}" is missing (which the file's shape names), and is no block of it.
    if (line.indent == 0 && (closesBlock(line) || opensBlock(line))) {
        blocks.done = true;
        return;
    }
    LibraryBlock& innermost = blocks.open.back();
    if (closesBlock(line)) {
        if (innermost.role == LibraryBlockRole::Shader && (!innermost.read || innermost.vertexOnly))
            reportUnreadShader(xsi, innermost, blocks.owner);
        blocks.open.pop_back();
        blocks.done = blocks.open.empty();
        return;
    }
    if (!opensBlock(line)) {
        if (innermost.role == LibraryBlockRole::Shader) {
            if (innermost.kind.empty()) innermost.kind = line.fields[0];
            innermost.read = innermost.read || shaderLine(line.fields[0]);
            if (equals(line.fields[0], "GLSL_Program")) innermost.vertexOnly = true;
            if (equals(line.fields[0], "GLSL_ProgramF")) innermost.vertexOnly = false;
        }
        return;
    }
    const std::string label = labelOf(line);
    const LibraryBlockRole role =
        materials ? materialBlockRole(xsi, blocks, line, label) : imageBlockRole(xsi, blocks, line, label);
    if (role == LibraryBlockRole::Material || role == LibraryBlockRole::Image) blocks.owner = line.tokens[1];
    blocks.open.push_back({role, label, xsiLineNumber(xsi), {}});
}
