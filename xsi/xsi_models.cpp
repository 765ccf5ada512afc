// Models, transforms, meshes and lights of a scene file.
#include "xsi/xsi_models.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/print_line.h"
#include "base/text_match.h"
#include "render/shader_library.h"
#include "scene/matrix.h"
#include "scene/scene_node.h"
#include "xsi/xsi_lines.h"

namespace {

constexpr int attributeListSize = 200;

bool tokenIs(const XsiFile& xsi, const char* word) { return std::strcmp(xsi.line.tokens[0], word) == 0; }
bool fieldIs(const XsiFile& xsi, const char* word) { return std::strcmp(xsi.line.fields[0], word) == 0; }

// Passes over a model's lines up to its own closing brace.
void skipModel(XsiFile& xsi, int depth) {
    if (!xsi.state.deepModelReported) {
        reportDataProblem("Scene file %s: models nested deeper than %d levels are left out.", xsiFileName(xsi),
                          maxModelDepth);
        xsi.state.deepModelReported = true;
    }
    while (!xsiEndOfFile(xsi)) {
        readXsiLine(xsi);
        if (tokenIs(xsi, "}") && xsi.line.indent == depth) return;
    }
}

// Reads count entries of width floats, one line each, into values; what is put into each entry
// is up to store. Returns the count kept: 0 when the count does not fit the file.
// The check holds each line to numbersOnLine numbers (the file's own width, which may hold more
// than is kept).
template <typename Store>
int readEntries(XsiFile& xsi, std::vector<float>& values, int count, int width, int numbersOnLine, const char* what,
                Store store) {
    values.clear();
    if (!checkXsiCount(xsi, count, what)) return 0;
    values.assign(static_cast<std::size_t>(count) * static_cast<std::size_t>(width), 0.0f);
    for (int i = 0; i < count && !xsiEndOfFile(xsi); ++i) {
        readXsiLine(xsi);
        checkXsiValueLine(xsi, numbersOnLine, false, what, i, count);
        store(&values[static_cast<std::size_t>(i) * static_cast<std::size_t>(width)]);
    }
    return count;
}

// Index triples, one line each, empty lines skipped; stops early at the end of the file.
unsigned readTriples(XsiFile& xsi, std::vector<int>& indices, unsigned count) {
    indices.assign(3 * static_cast<std::size_t>(count), 0);
    unsigned taken = 0;
    while (taken < count && !xsiEndOfFile(xsi)) {
        readXsiLine(xsi);
        if (xsi.line.raw[0] == '\0') continue;
        int* triple = &indices[3 * static_cast<std::size_t>(taken)];
        checkXsiValueLine(xsi, 3, true, "index triple", taken, count);
        scanXsiInts(xsi.line.raw, triple, 3);
        ++taken;
    }
    indices.resize(3 * static_cast<std::size_t>(taken));
    return taken;
}

bool tripleInRange(const std::vector<int>& indices, std::size_t triangle, std::size_t entries) {
    for (std::size_t c = 3 * triangle; c < 3 * triangle + 3; ++c)
        if (indices[c] < 0 || static_cast<std::size_t>(indices[c]) >= entries) return false;
    return true;
}

// True when every index the triangle is drawn with addresses an entry of its array. Index kinds
// whose array the mesh lacks are never drawn and so never checked.
bool triangleInRange(const Mesh& mesh, std::size_t k) {
    if (!tripleInRange(mesh.positionIndices, k, mesh.positions.size() / 3)) return false;
    const struct {
        const std::vector<int>& indices;
        const std::vector<float>& values;
        std::size_t width;
    } optional[3] = {{mesh.normalIndices, mesh.normals, 3},
                     {mesh.colourIndices, mesh.colours, 3},
                     {mesh.textureCoordinateIndices, mesh.textureCoordinates, 2}};
    for (const auto& kind : optional)
        if (!kind.values.empty() && kind.indices.size() >= 3 * k + 3 &&
            !tripleInRange(kind.indices, k, kind.values.size() / kind.width))
            return false;
    return true;
}

void dropTrianglesOutOfRange(const XsiFile& xsi, Mesh& mesh, const char* meshName) {
    std::vector<std::size_t> kept;
    for (std::size_t k = 0; k < mesh.triangleCount; ++k)
        if (triangleInRange(mesh, k)) kept.push_back(k);
    if (kept.size() == mesh.triangleCount) return;

    reportDataProblem("Scene file %s, mesh %s: %zu triangles address entries outside their arrays and are left out.",
              xsiFileName(xsi), meshName, mesh.triangleCount - kept.size());
    for (std::vector<int>* indices :
         {&mesh.positionIndices, &mesh.normalIndices, &mesh.colourIndices, &mesh.textureCoordinateIndices}) {
        // A section cut short by the end of the file keeps the triples it has, still aligned.
        std::vector<int> compacted;
        for (const std::size_t k : kept) {
            if (indices->size() < 3 * k + 3) break;
            compacted.insert(compacted.end(), indices->begin() + 3 * k, indices->begin() + 3 * k + 3);
        }
        indices->swap(compacted);
    }
    mesh.triangleCount = static_cast<unsigned>(kept.size());
}

void skipPastClosingBrace(XsiFile& xsi) {
    while (!xsiEndOfFile(xsi)) {
        readXsiLine(xsi);
        if (tokenIs(xsi, "}")) return;
    }
}

// For the check: a line the reader passes over where it expects a block or its end.
void reportPassedOver(const XsiFile& xsi, const char* where) {
    if (!consoleIsQuiet() || xsi.line.tokens[0][0] == '\0') return;
    reportCheckProblem("Scene file %s, line %d: \"%s\" %s is passed over by the reader.", xsiFileName(xsi),
                       xsiLineNumber(xsi), xsi.line.tokens[0], where);
}

// For the check: the names of a triangle list's index lists, which the reader matches case for
// case; one it does not know leaves that list unread.
void checkAttributeList(const XsiFile& xsi, const char* attributes) {
    if (!consoleIsQuiet()) return;
    std::string list = attributes;
    for (std::size_t start = 0; start <= list.size();) {
        std::size_t end = list.find('|', start);
        if (end == std::string::npos) end = list.size();
        const std::string name = list.substr(start, end - start);
        if (!name.empty() && name != "NORMAL" && name != "COLOR" && name != "TEX_COORD_UV0")
            reportCheckProblem("Scene file %s, line %d: the triangle list names \"%s\", which the reader does not "
                               "know (it takes NORMAL, COLOR and TEX_COORD_UV0, case for case), so those indices are "
                               "not read.",
                               xsiFileName(xsi), xsiLineNumber(xsi), name.c_str());
        start = end + 1;
    }
}

}  // namespace

void readModels(XsiFile& xsi, SceneNode*& root) {
    rewindXsiFile(xsi);
    root = nullptr;
    while (!xsiEndOfFile(xsi)) {
        readXsiLine(xsi);
        if (!tokenIs(xsi, "SI_Model")) continue;
        auto node = std::make_unique<SceneNode>();
        copyXsiName(xsi, node->name, xsi.line.tokens[1]);
        readModelBody(xsi, *node, 0);
        root = node.release();
        return;
    }
}

void readModelBody(XsiFile& xsi, SceneNode& node, int depth) {
    bool passedOverReported = false;
    while (!xsiEndOfFile(xsi)) {
        readXsiLine(xsi);
        if (tokenIs(xsi, "}") && xsi.line.indent == depth) return;
        if (tokenIs(xsi, "SI_Transform")) {
            readTransform(xsi, node.matrix);
        } else if (tokenIs(xsi, "SI_Mesh")) {
            readMesh(xsi, node);
        } else if (tokenIs(xsi, "SI_Light")) {
            node.children.push_back(std::make_unique<SceneNode>());
            readLight(xsi, *node.children.back());
        } else if (tokenIs(xsi, "SI_Model")) {
            if (depth + 1 > maxModelDepth) {
                skipModel(xsi, depth + 1);
                continue;
            }
            node.children.push_back(std::make_unique<SceneNode>());
            SceneNode& child = *node.children.back();
            copyXsiName(xsi, child.name, xsi.line.tokens[1]);
            readModelBody(xsi, child, depth + 1);
        } else if (!passedOverReported && !tokenIs(xsi, "}")) {
            passedOverReported = true;
            reportPassedOver(xsi, "in a model, outside its transform, meshes, lights and models,");
        }
    }
}

void readTransform(XsiFile& xsi, Matrix4& matrix) {
    // Scale x, y, z; rotation x, y, z in degrees; translation x, y, z. Values past nine are dropped.
    float values[9] = {};
    int count = 0, lines = 0;
    const int firstLine = xsiLineNumber(xsi);
    while (!xsiEndOfFile(xsi)) {
        readXsiLine(xsi);
        if (tokenIs(xsi, "}")) break;
        ++lines;
        if (count < 9) values[count++] = xsiFloat(xsi, xsi.line.tokens[0]);
    }
    if (lines != 9)
        reportCheckProblem("Scene file %s, line %d: the transform holds %d values, not 9 (scale, rotation and "
                           "translation, three each), so the ones after a missing or extra line land on the wrong axis.",
                           xsiFileName(xsi), firstLine, lines);
    matrix.setScale(values[0], values[1], values[2]);
    Matrix4 step;
    step.setRotationX(degreesToRadians(values[3]));
    matrix.multiply(step);
    step.setRotationY(degreesToRadians(values[4]));
    matrix.multiply(step);
    step.setRotationZ(degreesToRadians(values[5]));
    matrix.multiply(step);
    step.setTranslation(values[6], values[7], values[8]);
    matrix.multiply(step);
}

void readMesh(XsiFile& xsi, SceneNode& node) {
    node.kind = MeshNode;
    auto mesh = std::make_unique<Mesh>();
    bool passedOverReported = false;
    while (!xsiEndOfFile(xsi)) {
        readXsiLine(xsi);
        if (tokenIs(xsi, "SI_Shape"))
            readShape(xsi, *mesh);
        else if (tokenIs(xsi, "SI_TriangleList"))
            readTriangleList(xsi, *mesh);
        else if (tokenIs(xsi, "}"))
            break;
        else if (!passedOverReported) {
            // An index triple here is one its triangle list's count left out, or one too many.
            passedOverReported = true;
            reportPassedOver(xsi, "in a mesh, outside its shape and triangle lists,");
        }
    }
    dropTrianglesOutOfRange(xsi, *mesh, node.name);
    mesh->compile();
    node.mesh = std::move(mesh);
}

void readShape(XsiFile& xsi, Mesh& mesh) {
    bool strayEntryReported = false;
    const XsiLine& line = xsi.line;
    readXsiLine(xsi);
    readXsiLine(xsi);
    int pending = 0;  // the entry count on the line before each array's name
    while (!xsiEndOfFile(xsi)) {
        readXsiLine(xsi);
        if (tokenIs(xsi, "}")) return;
        if (fieldIs(xsi, "POSITION")) {
            mesh.positionCount = readEntries(xsi, mesh.positions, pending, 3, 3, "position", [&line](float* p) {
                scanXsiFloats(line.raw, p, 3);
            });
        } else if (fieldIs(xsi, "TEX_COORD_UV0")) {
            readXsiLine(xsi);  // the name of the coordinate set
            mesh.textureCoordinateCount =
                readEntries(xsi, mesh.textureCoordinates, pending, 2, 2, "texture coordinate", [&line](float* uv) {
                    float values[2] = {0.0f, 0.0f};
                    scanXsiFloats(line.raw, values, 2);
                    uv[0] = values[0];
                    uv[1] = 1.0f - values[1];
                });
        } else if (fieldIs(xsi, "COLOR")) {
            mesh.colourCount = readEntries(xsi, mesh.colours, pending, 3, 4, "colour", [&line](float* rgb) {
                float values[4] = {rgb[0], rgb[1], rgb[2], 0.0f};  // the file's alpha is dropped
                scanXsiFloats(line.raw, values, 4);
                for (int i = 0; i < 3; ++i) rgb[i] = values[i];
            });
        } else if (fieldIs(xsi, "NORMAL")) {
            mesh.normalCount = readEntries(xsi, mesh.normals, pending, 3, 3, "normal", [&line](float* n) {
                scanXsiFloats(line.raw, n, 3);
            });
        } else {
            // Between the arrays stand a count and a name; entries here are a list's that its
            // count left out.
            float extra[2];
            if (consoleIsQuiet() && !strayEntryReported && scanXsiFloats(line.raw, extra, 2) == 2) {
                strayEntryReported = true;
                reportCheckProblem("Scene file %s, line %d: an entry after the end of a list (\"%s\"): the count before "
                                   "the list is smaller than the list, and the rest of it is passed over.",
                                   xsiFileName(xsi), xsiLineNumber(xsi), line.tokens[0]);
            }
            pending = xsiInt(line.tokens[0]);
        }
    }
}

void readTriangleList(XsiFile& xsi, Mesh& mesh) {
    readXsiLine(xsi);
    int count = xsiInt(xsi.line.tokens[0]);
    if (!checkXsiCount(xsi, count, "triangle")) count = 0;

    readXsiLine(xsi);
    char attributes[attributeListSize];
    copyXsiName(xsi, attributes, xsi.line.fields[0]);
    checkAttributeList(xsi, attributes);

    readXsiLine(xsi);
    char materialName[materialNameSize];
    copyXsiName(xsi, materialName, xsi.line.fields[0]);
    if (Material* material = findMaterialByName(materialName)) {
        mesh.material = material;
    } else if (!shaderLibrary.materials.empty()) {
        mesh.material = shaderLibrary.materials.front().get();
        reportCheckProblem("Scene file %s: a triangle list names material \"%s\", which no material library has, so "
                           "it draws with \"%s\" instead.",
                           xsiFileName(xsi), materialName, mesh.material->name);
    }

    readXsiLine(xsi);

    const unsigned announced = static_cast<unsigned>(count);
    const unsigned taken = readTriples(xsi, mesh.positionIndices, announced);
    if (taken < announced)
        reportDataProblem("Scene file %s: the file ends after %u of %u triangles.", xsiFileName(xsi), taken, announced);
    mesh.triangleCount = taken;
    mesh.normalIndices.clear();
    mesh.colourIndices.clear();
    mesh.textureCoordinateIndices.clear();
    // Always this order, whatever the order of the names in the list.
    if (matchesInOrder(attributes, "NORMAL")) readTriples(xsi, mesh.normalIndices, taken);
    if (matchesInOrder(attributes, "COLOR")) readTriples(xsi, mesh.colourIndices, taken);
    if (matchesInOrder(attributes, "TEX_COORD_UV0")) readTriples(xsi, mesh.textureCoordinateIndices, taken);
}

void readLight(XsiFile& xsi, SceneNode& node) {
    node.kind = LightNode;
    auto light = std::make_unique<SceneLight>();
    int& lightCounter = xsi.state.lightCounter;
    if (lightCounter < maxSceneLights) {
        light->glLightIndex = lightCounter++;
    } else {
        light->glLightIndex = -1;
        reportDataProblem("%s: more than %d lights; light %s is never switched on.", xsiFileName(xsi), maxSceneLights,
                  xsi.line.tokens[1]);  // still the SI_Light header
    }
    readXsiLine(xsi);
    const int typeCode = xsiInt(xsi.line.tokens[0]);
    for (int i = 0; i < 3; ++i) readXsiLine(xsi);  // position, not kept
    switch (typeCode) {
    case 0:
        light->kind = pointLight;
        break;
    case 2:
        light->kind = spotLight;
        break;
    case 3:
        light->kind = directionalLight;
        for (int i = 0; i < 6; ++i) readXsiLine(xsi);
        break;
    default:
        printLine("Unknown type of light!");
        break;
    }
    node.light = std::move(light);
    // The end of the light's inner block, then of SI_Light itself.
    skipPastClosingBrace(xsi);
    skipPastClosingBrace(xsi);
}
