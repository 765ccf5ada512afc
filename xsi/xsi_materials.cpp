// Material library, image library and the binding of images to texture slots.
#include "xsi/xsi_materials.h"

#include <cctype>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/print_line.h"
#include "base/problem_detail.h"
#include "render/shader_library.h"
#include "render/shader_program.h"
#include "render/texture_registry.h"
#include "xsi/xsi_glsl_log.h"
#include "xsi/xsi_library_blocks.h"
#include "xsi/xsi_lines.h"

std::vector<XsiImage> xsiImages;

namespace {

// The scene file each material was read from, for the files its slots ask for.
std::map<const Material*, std::string> materialFiles;
std::map<const Material*, int> materialLines;

std::vector<XsiGlslProgram> builtPrograms;

}  // namespace

const std::vector<XsiGlslProgram>& xsiBuiltPrograms() { return builtPrograms; }

const char* xsiMaterialFile(const Material* material) {
    const auto found = materialFiles.find(material);
    return found != materialFiles.end() ? found->second.c_str() : nullptr;
}

namespace {

const char* materialFile(const Material* material) { return xsiMaterialFile(material); }

// A program that does not build. A detailed console gets the driver's messages one per line, on
// the lines of the file and naming their stage.
void reportBrokenProgram(const XsiFile& xsi, const Material& material, int vertexHeaderLine, int fragmentHeaderLine) {
    const char* file = xsiFileName(xsi);
    if (!consoleDetailed()) {
        reportDataProblem("Scene file %s, material %s: its GLSL program does not build, so its meshes draw without "
                          "their shader. %s",
                          file, material.name, lastShaderBuildLog());
        return;
    }
    reportDataProblem("Scene file %s, material %s: its GLSL program does not build, so its meshes draw without "
                      "their shader.",
                      file, material.name);
    const ShaderBuildLogs& logs = lastShaderBuildLogs();
    const struct {
        const std::string& log;
        const char* stage;
        int headerLine;
    } stages[] = {{logs.vertex, "vertex shader", vertexHeaderLine},
                  {logs.fragment, "fragment shader", fragmentHeaderLine},
                  {logs.link, "link", 0}};
    for (const auto& stage : stages)
        for (const std::string& line : placeGlslLog(stage.log, stage.stage, file, stage.headerLine))
            reportDataProblemDetail("%s", line.c_str());
}

bool equals(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

// One GLSL source as it is collected line by line, held to the size of the show's buffers.
struct GlslSource {
    const XsiFile& xsi;  // the file it comes from, for the message
    std::string text;
    bool overflowed = false;

    explicit GlslSource(const XsiFile& file) : xsi(file) {}

    void start(const char* firstLine) {
        text.clear();
        overflowed = false;
        append(firstLine, "");
    }

    void append(const char* line, const char* ending) {
        if (overflowed) return;
        const std::size_t length = std::strlen(line) + std::strlen(ending);
        if (text.size() + length > glslSourceSize - 1) {
            overflowed = true;
            reportDataProblem("Scene file %s: GLSL source longer than %zu characters; its material keeps the fixed pipeline.",
                      xsiFileName(xsi), glslSourceSize - 1);
            return;
        }
        text += line;
        text += ending;
    }
};

// Block flags of the material pass. A closing brace clears the first one set, in this order.
struct MaterialBlocks {
    bool skipBlock = false;
    bool otherShader = false;
    bool inUniform = false;
    bool inTexture = false;
    bool inCubeMap = false;

    bool closeOne() {
        for (bool* flag : {&skipBlock, &otherShader, &inUniform, &inTexture, &inCubeMap}) {
            if (*flag) {
                *flag = false;
                return true;
            }
        }
        return false;
    }
};

enum class SourceEnd { none, withBrace, plain };

// Whether a source line ends its GLSL source: a first token of exactly }", or ",.
SourceEnd sourceEnd(const XsiLine& line) {
    if (equals(line.tokens[0], "}\",")) return SourceEnd::withBrace;
    if (equals(line.tokens[0], "\",")) return SourceEnd::plain;
    return SourceEnd::none;
}

// Adds a source line; true when the line ended the source.
bool collectSourceLine(GlslSource& source, const XsiLine& line) {
    switch (sourceEnd(line)) {
    case SourceEnd::withBrace:
        source.append("}", "");
        return true;
    case SourceEnd::plain:
        return true;
    case SourceEnd::none:
        break;
    }
    source.append(line.raw, "\n");
    return false;
}

// Only the file name at the end of an image path is ever used, so an overlong path keeps its end.
void copyImagePath(const XsiFile& xsi, char (&destination)[xsiImageNameSize], const char* path) {
    const std::size_t length = std::strlen(path);
    if (length < sizeof destination) {
        std::memcpy(destination, path, length + 1);
        return;
    }
    const char* end = path + length - (sizeof destination - 1);
    reportDataProblem("Scene file %s: image path longer than %zu characters, only its end is kept: %s", xsiFileName(xsi),
              sizeof destination - 1, end);
    std::memcpy(destination, end, sizeof destination);
}

int cubeFaceIndex(const char* name) {
    for (int face = 0; face < 6; ++face)
        if (equals(name, cubeFaceNames[face])) return face;
    return -1;
}

// The library's first material of the file being read: the ones its image library binds.
std::size_t firstMaterialOfFile = 0;

bool sameIgnoringCase(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b))) return false;
    return *a == *b;
}

// " (its GLSL has \"hullNormals\")" for a name that differs only in case, else "".
std::string spelledElsewhere(const std::vector<ActiveUniform>& active, const char* name) {
    for (const ActiveUniform& uniform : active)
        if (sameIgnoringCase(uniform.name.c_str(), name)) return " (its GLSL spells it \"" + uniform.name + "\")";
    return "";
}

const ActiveUniform* activeNamed(const std::vector<ActiveUniform>& active, const char* name) {
    for (const ActiveUniform& uniform : active)
        if (uniform.name == name) return &uniform;
    return nullptr;
}

// What the check names about a built material that the show would quietly do without: every
// uniform block and texture slot against the uniforms GL reports of the linked program, by name
// exactly and by type.
void checkBuiltMaterial(const XsiFile& xsi, const Material& material) {
    if (!shaderProgramLinked(material.program)) return;  // named already
    const std::vector<ActiveUniform> active = activeUniforms(material.program);
    const char* file = xsiFileName(xsi);
    for (const auto& uniform : material.uniforms) {
        if (uniform->name[0] == '\0') continue;
        const ActiveUniform* used = activeNamed(active, uniform->name);
        if (used == nullptr)
            reportCheckProblem("Scene file %s, material %s: its uniform block names \"%s\", which its GLSL program "
                               "does not use%s, so the values the show sets for it never arrive.",
                               file, material.name, uniform->name, spelledElsewhere(active, uniform->name).c_str());
        else if (used->kind != UniformKind::Vec4)
            reportCheckProblem("Scene file %s, material %s: its uniform block sets four floats for \"%s\", which its "
                               "GLSL program declares a %s, so the value never arrives and stays 0.",
                               file, material.name, uniform->name, uniformKindName(used->kind));
    }
    const auto checkSlot = [&](const char* name, UniformKind kind, const char* slot) {
        const ActiveUniform* used = activeNamed(active, name);
        if (used == nullptr)
            reportCheckProblem("Scene file %s, material %s: its %s names uniform \"%s\", which its GLSL program does "
                               "not use%s, so that texture is never sampled.",
                               file, material.name, slot, name, spelledElsewhere(active, name).c_str());
        else if (used->kind != kind)
            reportCheckProblem("Scene file %s, material %s: its %s names uniform \"%s\", which its GLSL program "
                               "declares a %s, not a %s.",
                               file, material.name, slot, name, uniformKindName(used->kind), uniformKindName(kind));
    };
    for (const auto& texture : material.textures) checkSlot(texture->uniformName, UniformKind::Sampler2D, "texture slot");
    for (const auto& cube : material.cubeTextures) checkSlot(cube->uniformName, UniformKind::SamplerCube, "cube-map slot");
}

// The library's lines; a duplicate's copy is read into secondCopies when the check asks for it.
void readMaterialLines(XsiFile& xsi, std::vector<std::unique_ptr<Material>>& secondCopies) {
    rewindXsiFile(xsi);
    bool inLibrary = false;
    bool inMaterial = false;
    bool collectingVertex = false;
    bool collectingFragment = false;
    MaterialBlocks blocks;
    Material* material = nullptr;
    MaterialUniform* uniform = nullptr;
    MaterialTexture* texture = nullptr;
    MaterialCubeTexture* cube = nullptr;
    GlslSource vertexSource(xsi), fragmentSource(xsi);
    int vertexHeaderLine = 0, fragmentHeaderLine = 0;
    LibraryBlocks libraryBlocks{XsiLibrary::Materials, {}, {}, false};

    while (!xsiEndOfFile(xsi)) {
        readXsiLine(xsi);
        // The check follows the line once the pass has taken it, however the pass goes on from it.
        bool glslLine = false;
        const struct Followed {
            const XsiFile& xsi;
            LibraryBlocks& blocks;
            const bool& glsl;
            ~Followed() { followLibraryBlocks(xsi, blocks, glsl); }
        } followed{xsi, libraryBlocks, glslLine};
        const XsiLine& line = xsi.line;
        const char* token0 = line.tokens[0];
        const char* field0 = line.fields[0];

        if (equals(token0, "SI_MaterialLibrary")) inLibrary = true;

        if (inLibrary && equals(token0, "XSI_Material")) {
            // Looked up as it would be stored, so that a cut name still finds its material.
            char name[materialNameSize];
            copyXsiName(xsi, name, line.tokens[1]);
            if (findMaterialByName(name) != nullptr) {
                printLine("Duplicate shader, skipping.\n");
                // The show keeps the first; the check reads this copy too, and blames it for itself.
                material = nullptr;
                inMaterial = false;
                if (consoleIsQuiet()) {
                    const Material* original = findMaterialByName(name);
                    const char* first = materialFile(original);
                    if (first != nullptr && equals(first, xsiFileName(xsi)))
                        reportCheckProblem("Scene file %s, line %d, material %s: defined again (first at line %d); "
                                           "the show uses the first and skips this copy.",
                                           xsiFileName(xsi), xsiLineNumber(xsi), name, materialLines[original]);
                    else
                        reportCheckNote("Scene file %s, material %s: also defined in %s; the show uses that one and "
                                        "skips this copy.",
                                        xsiFileName(xsi), name, first != nullptr ? first : "another file");
                    secondCopies.push_back(std::make_unique<Material>());
                    material = secondCopies.back().get();
                    std::memcpy(material->name, name, sizeof name);
                    inMaterial = true;
                }
            } else {
                inMaterial = true;
                shaderLibrary.materials.push_back(std::make_unique<Material>());
                material = shaderLibrary.materials.back().get();
                std::memcpy(material->name, name, sizeof name);
                materialFiles[material] = xsiFileName(xsi);
                materialLines[material] = xsiLineNumber(xsi);
            }
        }

        // Checked before any source line is collected: an unindented brace in GLSL ends the pass.
        if (inLibrary && equals(line.raw, "}")) return;

        if (!inMaterial || material == nullptr) continue;

        if (equals(field0, "GLSL_Program")) {
            collectingVertex = true;
            blocks.otherShader = true;
            vertexSource.start(line.fields[2]);
            vertexHeaderLine = xsiLineNumber(xsi);
        } else if (equals(field0, "GLSL_ProgramF")) {
            collectingFragment = true;
            blocks.otherShader = true;
            fragmentSource.start(line.fields[2]);
            fragmentHeaderLine = xsiLineNumber(xsi);
        } else if (equals(token0, "XSI_MaterialInfo") || equals(token0, "SI_FCurve")) {
            blocks.skipBlock = true;
        } else if (equals(field0, "Softimage.GLSLUniform.1")) {
            uniform = material->addUniform(0, 0, 0, 0, "");
            blocks.inUniform = true;
        } else if (equals(field0, "Softimage.material-phong.1") || equals(field0, "Softimage.material-blinn.1")) {
            blocks.otherShader = true;
        } else if (equals(field0, "Softimage.OGL13CubicTexture.1")) {
            blocks.inCubeMap = true;
            cube = material->addCubeTexture(0, "");
        } else if (equals(field0, "Softimage.OGL13Texture.1") || equals(field0, "Softimage.OGL13Texture.2")) {
            texture = material->addTexture(0, "");
            blocks.inTexture = true;
        } else if (equals(token0, "}") && !collectingVertex && !collectingFragment) {
            if (!blocks.closeOne()) inMaterial = false;
        } else if (blocks.inCubeMap) {
            if (cube == nullptr) continue;
            if (equals(field0, "UniformName")) {
                copyXsiName(xsi, cube->uniformName, line.fields[2]);
            } else if (const int face = cubeFaceIndex(field0); face >= 0) {
                copyXsiName(xsi, cube->faceNames[face], line.fields[1]);
            }
        } else if (blocks.inTexture) {
            if (texture == nullptr) continue;
            if (equals(field0, "UniformName"))
                copyXsiName(xsi, texture->uniformName, line.fields[2]);
            else if (equals(line.fields[2], "IMAGE"))
                copyXsiName(xsi, texture->imageName, line.fields[1]);
        } else if (blocks.inUniform) {
            if (uniform == nullptr) continue;
            if (equals(field0, "Variable")) {
                copyXsiName(xsi, uniform->name, line.fields[2]);
            } else {
                static const char* const elements[4] = {"element0", "element1", "element2", "element3"};
                for (int i = 0; i < 4; ++i)
                    if (equals(field0, elements[i])) uniform->value[i] = xsiFloat(xsi, line.fields[2]);
            }
        } else if (collectingVertex) {
            glslLine = true;
            if (collectSourceLine(vertexSource, line)) collectingVertex = false;
        } else if (collectingFragment) {
            glslLine = true;
            if (collectSourceLine(fragmentSource, line)) {
                collectingFragment = false;
                // A cut source would only fail to compile; such a material keeps program 0.
                if (!vertexSource.overflowed && !fragmentSource.overflowed) {
                    material->program = createShaderProgram(vertexSource.text.c_str(), fragmentSource.text.c_str());
                    if (!shaderProgramLinked(material->program))
                        reportBrokenProgram(xsi, *material, vertexHeaderLine, fragmentHeaderLine);
                    else if (consoleIsQuiet())
                        builtPrograms.push_back({xsiFileName(xsi), material->name, vertexSource.text,
                                                 fragmentSource.text, vertexHeaderLine, fragmentHeaderLine});
                }
            }
        }
    }
}

}  // namespace

void readMaterialLibrary(XsiFile& xsi) {
    firstMaterialOfFile = shaderLibrary.materials.size();
    std::vector<std::unique_ptr<Material>> secondCopies;  // duplicates, read only to be checked
    readMaterialLines(xsi, secondCopies);
    if (!consoleIsQuiet()) return;
    // Once the whole library is read: a material's uniform blocks follow its GLSL.
    for (std::size_t m = firstMaterialOfFile; m < shaderLibrary.materials.size(); ++m)
        checkBuiltMaterial(xsi, *shaderLibrary.materials[m]);
    for (const auto& copy : secondCopies) checkBuiltMaterial(xsi, *copy);
}

void readImageLibrary(XsiFile& xsi) {
    rewindXsiFile(xsi);
    const XsiLine& line = xsi.line;
    bool inLibrary = false;
    std::map<std::string, std::pair<int, std::string>> defined;  // name: its first line and path
    LibraryBlocks libraryBlocks{XsiLibrary::Images, {}, {}, false};
    while (!xsiEndOfFile(xsi)) {
        readXsiLine(xsi);
        followLibraryBlocks(xsi, libraryBlocks, false);
        if (equals(line.tokens[0], "XSI_ImageLibrary")) inLibrary = true;
        if (inLibrary && equals(line.raw, "}")) return;
        if (inLibrary && equals(line.tokens[0], "XSI_Image")) {
            xsiImages.push_back(XsiImage{});
            XsiImage& image = xsiImages.back();
            copyXsiName(xsi, image.name, line.tokens[1]);
            const int imageLine = xsiLineNumber(xsi);
            readXsiLine(xsi);
            followLibraryBlocks(xsi, libraryBlocks, false);
            copyImagePath(xsi, image.path, line.fields[0]);
            const auto [first, added] = defined.emplace(image.name, std::make_pair(imageLine, std::string(image.path)));
            if (!added)
                reportCheckProblem("Scene file %s, line %d: image %s is defined again (first at line %d); its slots "
                                   "get the first one, %s, and never this one, %s.",
                                   xsiFileName(xsi), imageLine, image.name, first->second.first,
                                   pathFileName(first->second.second.c_str()), pathFileName(image.path));
        }
    }
}

const char* pathFileName(const char* path) {
    if (path == nullptr) return "";
    const char* name = path;
    for (const char* c = path; *c != '\0'; ++c)
        if (*c == '\\' || *c == '/') name = c + 1;
    return name;
}

void bindImages(const XsiFile& xsi) {
    if (consoleIsQuiet()) {
        for (std::size_t m = firstMaterialOfFile; m < shaderLibrary.materials.size(); ++m) {
            const Material& material = *shaderLibrary.materials[m];
            for (const auto& texture : material.textures) {
                bool named = texture->imageName[0] == '\0';
                for (const XsiImage& image : xsiImages) named = named || equals(texture->imageName, image.name);
                if (!named)
                    reportCheckProblem("Scene file %s, material %s: its texture names image \"%s\", which the file's "
                                       "image library does not have, so the slot gets no texture.",
                                       xsiFileName(xsi), material.name, texture->imageName);
            }
        }
    }
    for (const auto& material : shaderLibrary.materials) {
        const ScopedFileRequester asking(materialFile(material.get()), material->name);
        for (const XsiImage& image : xsiImages) {
            for (const auto& texture : material->textures) {
                if (!equals(texture->imageName, image.name)) continue;
                std::memcpy(texture->imageName, image.path, sizeof image.path);
                const std::string fileName = pathFileName(texture->imageName);
                std::memmove(texture->imageName, fileName.c_str(), fileName.size() + 1);
                char path[100];
                formatText(path, sizeof path, "data/%s", fileName.c_str());
                const bool mipmapped = fileName == "desert_sand.png" || fileName == "desert_sand_NRM.png";
                texture->textureIndex = loadTexture(path, mipmapped ? 2 : 1);
                printLine("%s", path);
            }
        }
    }

    // Faces in the order the cube-map parameters sort in, the order in which they are matched.
    static const int matchOrder[6] = {4, 3, 5, 0, 1, 2};  // back, bottom, front, left, right, top
    for (const auto& material : shaderLibrary.materials) {
        const ScopedFileRequester asking(materialFile(material.get()), material->name);
        for (const auto& cube : material->cubeTextures) {
            for (const XsiImage& image : xsiImages) {
                for (const int face : matchOrder) {
                    if (!equals(cube->faceNames[face], image.name)) continue;
                    char path[100];
                    formatText(path, sizeof path, "data/%s", pathFileName(image.path));
                    copyXsiName(xsi, cube->faceNames[face], path);
                }
            }
            const auto& faces = cube->faceNames;
            cube->textureIndex = loadCubeMap(faces[1], faces[2], faces[4], faces[0], faces[3], faces[5], 1);
        }
    }

    xsiImages.clear();
}
