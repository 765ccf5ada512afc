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
#include "xsi/xsi_reader.h"

namespace {

constexpr int attributeListSize = 200;

bool tokenIs(const char* word) { return std::strcmp(xsiLine.tokens[0], word) == 0; }
bool fieldIs(const char* word) { return std::strcmp(xsiLine.fields[0], word) == 0; }

bool deepModelReported = false;

// Passes over a model's lines up to its own closing brace.
void skipModel(int depth) {
    if (!deepModelReported) {
        reportDataProblem("Scene file %s: models nested deeper than %d levels are left out.", xsiFileName(), maxModelDepth);
        deepModelReported = true;
    }
    while (!xsiEndOfFile()) {
        readXsiLine();
        if (tokenIs("}") && xsiLine.indent == depth) return;
    }
}

// Reads count entries of width floats, one line each, into values; what is put into each entry
// is up to store. Returns the count kept: 0 when the count does not fit the file.
// The check holds each line to numbersOnLine numbers (the file's own width, which may hold more
// than is kept).
template <typename Store>
int readEntries(std::vector<float>& values, int count, int width, int numbersOnLine, const char* what, Store store) {
    values.clear();
    if (!checkXsiCount(count, what)) return 0;
    values.assign(static_cast<std::size_t>(count) * static_cast<std::size_t>(width), 0.0f);
    for (int i = 0; i < count && !xsiEndOfFile(); ++i) {
        readXsiLine();
        checkXsiValueLine(numbersOnLine, false, what, i, count);
        store(&values[static_cast<std::size_t>(i) * static_cast<std::size_t>(width)]);
    }
    return count;
}

// Index triples, one line each, empty lines skipped; stops early at the end of the file.
unsigned readTriples(std::vector<int>& indices, unsigned count) {
    indices.assign(3 * static_cast<std::size_t>(count), 0);
    unsigned taken = 0;
    while (taken < count && !xsiEndOfFile()) {
        readXsiLine();
        if (xsiLine.raw[0] == '\0') continue;
        int* triple = &indices[3 * static_cast<std::size_t>(taken)];
        checkXsiValueLine(3, true, "index triple", taken, count);
        scanXsiInts(xsiLine.raw, triple, 3);
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

void dropTrianglesOutOfRange(Mesh& mesh, const char* meshName) {
    std::vector<std::size_t> kept;
    for (std::size_t k = 0; k < mesh.triangleCount; ++k)
        if (triangleInRange(mesh, k)) kept.push_back(k);
    if (kept.size() == mesh.triangleCount) return;

    reportDataProblem("Scene file %s, mesh %s: %zu triangles address entries outside their arrays and are left out.",
              xsiFileName(), meshName, mesh.triangleCount - kept.size());
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

void skipPastClosingBrace() {
    while (!xsiEndOfFile()) {
        readXsiLine();
        if (tokenIs("}")) return;
    }
}

// For the check: a line the reader passes over where it expects a block or its end.
void reportPassedOver(const char* where) {
    if (!consoleIsQuiet() || xsiLine.tokens[0][0] == '\0') return;
    reportCheckProblem("Scene file %s, line %d: \"%s\" %s is passed over by the reader.", xsiFileName(),
                       xsiLineNumber(), xsiLine.tokens[0], where);
}

// For the check: the names of a triangle list's index lists, which the reader matches case for
// case; one it does not know leaves that list unread.
void checkAttributeList(const char* attributes) {
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
                               xsiFileName(), xsiLineNumber(), name.c_str());
        start = end + 1;
    }
}

}  // namespace

void readModels(SceneNode*& root) {
    rewindXsiFile();
    root = nullptr;
    deepModelReported = false;
    while (!xsiEndOfFile()) {
        readXsiLine();
        if (!tokenIs("SI_Model")) continue;
        auto node = std::make_unique<SceneNode>();
        copyXsiName(node->name, xsiLine.tokens[1]);
        readModelBody(*node, 0);
        root = node.release();
        return;
    }
}

void readModelBody(SceneNode& node, int depth) {
    bool passedOverReported = false;
    while (!xsiEndOfFile()) {
        readXsiLine();
        if (tokenIs("}") && xsiLine.indent == depth) return;
        if (tokenIs("SI_Transform")) {
            readTransform(node.matrix);
        } else if (tokenIs("SI_Mesh")) {
            readMesh(node);
        } else if (tokenIs("SI_Light")) {
            node.children.push_back(std::make_unique<SceneNode>());
            readLight(*node.children.back());
        } else if (tokenIs("SI_Model")) {
            if (depth + 1 > maxModelDepth) {
                skipModel(depth + 1);
                continue;
            }
            node.children.push_back(std::make_unique<SceneNode>());
            SceneNode& child = *node.children.back();
            copyXsiName(child.name, xsiLine.tokens[1]);
            readModelBody(child, depth + 1);
        } else if (!passedOverReported && !tokenIs("}")) {
            passedOverReported = true;
            reportPassedOver("in a model, outside its transform, meshes, lights and models,");
        }
    }
}

void readTransform(Matrix4& matrix) {
    // Scale x, y, z; rotation x, y, z in degrees; translation x, y, z. Values past nine are dropped.
    float values[9] = {};
    int count = 0, lines = 0;
    const int firstLine = xsiLineNumber();
    while (!xsiEndOfFile()) {
        readXsiLine();
        if (tokenIs("}")) break;
        ++lines;
        if (count < 9) values[count++] = xsiFloat(xsiLine.tokens[0]);
    }
    if (lines != 9)
        reportCheckProblem("Scene file %s, line %d: the transform holds %d values, not 9 (scale, rotation and "
                           "translation, three each), so the ones after a missing or extra line land on the wrong axis.",
                           xsiFileName(), firstLine, lines);
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

void readMesh(SceneNode& node) {
    node.kind = MeshNode;
    auto mesh = std::make_unique<Mesh>();
    bool passedOverReported = false;
    while (!xsiEndOfFile()) {
        readXsiLine();
        if (tokenIs("SI_Shape"))
            readShape(*mesh);
        else if (tokenIs("SI_TriangleList"))
            readTriangleList(*mesh);
        else if (tokenIs("}"))
            break;
        else if (!passedOverReported) {
            // An index triple here is one its triangle list's count left out, or one too many.
            passedOverReported = true;
            reportPassedOver("in a mesh, outside its shape and triangle lists,");
        }
    }
    dropTrianglesOutOfRange(*mesh, node.name);
    mesh->compile();
    node.mesh = std::move(mesh);
}

void readShape(Mesh& mesh) {
    bool strayEntryReported = false;
    readXsiLine();
    readXsiLine();
    int pending = 0;  // the entry count on the line before each array's name
    while (!xsiEndOfFile()) {
        readXsiLine();
        if (tokenIs("}")) return;
        if (fieldIs("POSITION")) {
            mesh.positionCount = readEntries(mesh.positions, pending, 3, 3, "position", [](float* p) {
                scanXsiFloats(xsiLine.raw, p, 3);
            });
        } else if (fieldIs("TEX_COORD_UV0")) {
            readXsiLine();  // the name of the coordinate set
            mesh.textureCoordinateCount =
                readEntries(mesh.textureCoordinates, pending, 2, 2, "texture coordinate", [](float* uv) {
                    float values[2] = {0.0f, 0.0f};
                    scanXsiFloats(xsiLine.raw, values, 2);
                    uv[0] = values[0];
                    uv[1] = 1.0f - values[1];
                });
        } else if (fieldIs("COLOR")) {
            mesh.colourCount = readEntries(mesh.colours, pending, 3, 4, "colour", [](float* rgb) {
                float values[4] = {rgb[0], rgb[1], rgb[2], 0.0f};  // the file's alpha is dropped
                scanXsiFloats(xsiLine.raw, values, 4);
                for (int i = 0; i < 3; ++i) rgb[i] = values[i];
            });
        } else if (fieldIs("NORMAL")) {
            mesh.normalCount = readEntries(mesh.normals, pending, 3, 3, "normal", [](float* n) {
                scanXsiFloats(xsiLine.raw, n, 3);
            });
        } else {
            // Between the arrays stand a count and a name; entries here are a list's that its
            // count left out.
            float extra[2];
            if (consoleIsQuiet() && !strayEntryReported && scanXsiFloats(xsiLine.raw, extra, 2) == 2) {
                strayEntryReported = true;
                reportCheckProblem("Scene file %s, line %d: an entry after the end of a list (\"%s\"): the count before "
                                   "the list is smaller than the list, and the rest of it is passed over.",
                                   xsiFileName(), xsiLineNumber(), xsiLine.tokens[0]);
            }
            pending = xsiInt(xsiLine.tokens[0]);
        }
    }
}

void readTriangleList(Mesh& mesh) {
    readXsiLine();
    int count = xsiInt(xsiLine.tokens[0]);
    if (!checkXsiCount(count, "triangle")) count = 0;

    readXsiLine();
    char attributes[attributeListSize];
    copyXsiName(attributes, xsiLine.fields[0]);
    checkAttributeList(attributes);

    readXsiLine();
    char materialName[materialNameSize];
    copyXsiName(materialName, xsiLine.fields[0]);
    if (Material* material = findMaterialByName(materialName)) {
        mesh.material = material;
    } else if (!shaderLibrary.materials.empty()) {
        mesh.material = shaderLibrary.materials.front().get();
        reportCheckProblem("Scene file %s: a triangle list names material \"%s\", which no material library has, so "
                           "it draws with \"%s\" instead.",
                           xsiFileName(), materialName, mesh.material->name);
    }

    readXsiLine();

    const unsigned announced = static_cast<unsigned>(count);
    const unsigned taken = readTriples(mesh.positionIndices, announced);
    if (taken < announced)
        reportDataProblem("Scene file %s: the file ends after %u of %u triangles.", xsiFileName(), taken, announced);
    mesh.triangleCount = taken;
    mesh.normalIndices.clear();
    mesh.colourIndices.clear();
    mesh.textureCoordinateIndices.clear();
    // Always this order, whatever the order of the names in the list.
    if (matchesInOrder(attributes, "NORMAL")) readTriples(mesh.normalIndices, taken);
    if (matchesInOrder(attributes, "COLOR")) readTriples(mesh.colourIndices, taken);
    if (matchesInOrder(attributes, "TEX_COORD_UV0")) readTriples(mesh.textureCoordinateIndices, taken);
}

void readLight(SceneNode& node) {
    node.kind = LightNode;
    auto light = std::make_unique<SceneLight>();
    if (lightCounter < maxSceneLights) {
        light->glLightIndex = lightCounter++;
    } else {
        light->glLightIndex = -1;
        reportDataProblem("%s: more than %d lights; light %s is never switched on.", xsiFileName(), maxSceneLights,
                  xsiLine.tokens[1]);  // still the SI_Light header
    }
    readXsiLine();
    const int typeCode = xsiInt(xsiLine.tokens[0]);
    for (int i = 0; i < 3; ++i) readXsiLine();  // position, not kept
    switch (typeCode) {
    case 0:
        light->kind = pointLight;
        break;
    case 2:
        light->kind = spotLight;
        break;
    case 3:
        light->kind = directionalLight;
        for (int i = 0; i < 6; ++i) readXsiLine();
        break;
    default:
        printLine("Unknown type of light!");
        break;
    }
    node.light = std::move(light);
    // The end of the light's inner block, then of SI_Light itself.
    skipPastClosingBrace();
    skipPastClosingBrace();
}
