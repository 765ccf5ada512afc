// Mesh geometry to OpenGL: immediate mode once into a display list, then drawn with its material.
#include "scene/scene_node.h"

#include <GL/glew.h>

#include "render/shader_library.h"

namespace {

// The entry of a per-corner index array, or null when the index addresses nothing.
const float* entry(const std::vector<float>& values, int width, const std::vector<int>& indices, std::size_t corner) {
    if (values.empty() || corner >= indices.size()) return nullptr;
    const int index = indices[corner];
    if (index < 0 || static_cast<std::size_t>(index) >= values.size() / width) return nullptr;
    return &values[static_cast<std::size_t>(index) * width];
}

}  // namespace

Mesh::Mesh() : material(shaderLibrary.materials.empty() ? nullptr : shaderLibrary.materials.front().get()) {}

void Mesh::drawTriangles() const {
    // One primitive for all triangles: Mesa pays per begin/end on every replay of the list. A
    // triangle with a corner that addresses no position still sets its corners' attributes, so
    // the current values stay as before, but gives no vertices that would shift the ones after.
    glBegin(GL_TRIANGLES);
    for (unsigned k = 0; k < triangleCount; ++k) {
        const std::size_t first = 3 * static_cast<std::size_t>(k);
        bool whole = true;
        for (std::size_t c = first; c < first + 3; ++c) whole = whole && entry(positions, 3, positionIndices, c) != nullptr;
        for (std::size_t c = first; c < first + 3; ++c) {
            if (const float* uv = entry(textureCoordinates, 2, textureCoordinateIndices, c)) glTexCoord2f(uv[0], uv[1]);
            if (const float* n = entry(normals, 3, normalIndices, c)) glNormal3f(n[0], n[1], n[2]);
            if (const float* rgb = entry(colours, 3, colourIndices, c)) glColor4f(rgb[0], rgb[1], rgb[2], 1.0f);
            if (whole) {
                const float* p = entry(positions, 3, positionIndices, c);
                glVertex3f(p[0], p[1], p[2]);
            }
        }
    }
    glEnd();
}

void Mesh::compile() {
    if (displayList != -1) return;
    displayList = static_cast<int>(glGenLists(1));
    glNewList(static_cast<GLuint>(displayList), GL_COMPILE);
    drawTriangles();
    glEndList();
}

void Mesh::draw() {
    if (material != nullptr) material->apply();
    if (displayList == -1)
        drawTriangles();
    else
        glCallList(static_cast<GLuint>(displayList));
    if (material != nullptr) releaseMaterial(material);
}
