// Scene tree traversal.
#include "scene/scene_draw.h"

#include <GL/glew.h>

#include "base/text_match.h"
#include "render/material.h"
#include "render/render_destinations.h"
#include "scene/scene_node.h"

namespace {

// Directional lights shine from fixed world directions (the first one from above), placed through
// the view matrix that the last setCamera kept.
void switchOnLight(const SceneLight& light) {
    if (light.glLightIndex < 0 || light.glLightIndex >= maxSceneLights) return;
    const GLenum id = GL_LIGHT0 + static_cast<GLenum>(light.glLightIndex);
    glEnable(id);
    if (light.kind != directionalLight) return;
    static const float firstDirection[4] = {0.4f, 1.0f, 0.2f, 0.0f};
    static const float otherDirection[4] = {0.3f, 0.5f, -5.0f, 0.0f};
    glPushMatrix();
    glLoadMatrixf(renderDestinations.viewMatrix);
    glLightfv(id, GL_POSITION, id == GL_LIGHT0 ? firstDirection : otherDirection);
    glPopMatrix();
}

// Column-major a x b, as glMultMatrixf(b) does to a.
void multiplyColumnMajor(const float* a, const float* b, float* product) {
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += a[4 * k + row] * b[4 * column + k];
            product[4 * column + row] = sum;
        }
}

void addBounds(const SceneNode* node, const float* parent, SceneBounds& box) {
    float toRoot[16];
    multiplyColumnMajor(parent, node->matrix.m, toRoot);
    if (node->kind == MeshNode && node->mesh != nullptr) {
        const std::vector<float>& p = node->mesh->positions;
        for (std::size_t i = 0; i + 2 < p.size(); i += 3)
            for (int r = 0; r < 3; ++r) {
                const float v = toRoot[r] * p[i] + toRoot[4 + r] * p[i + 1] + toRoot[8 + r] * p[i + 2] + toRoot[12 + r];
                if (box.empty || v < box.low[r]) box.low[r] = v;
                if (box.empty || v > box.high[r]) box.high[r] = v;
                if (r == 2) box.empty = false;
            }
    }
    for (const auto& child : node->children) addBounds(child.get(), toRoot, box);
}

}  // namespace

void drawSceneNode(const SceneNode* node) {
    if (node == nullptr) return;
    glPushMatrix();
    glMultMatrixf(node->matrix.m);
    if (node->kind == LightNode && node->light != nullptr) switchOnLight(*node->light);
    if (node->kind == MeshNode && node->mesh != nullptr) node->mesh->draw();
    for (const auto& child : node->children) drawSceneNode(child.get());
    glPopMatrix();
}

Material* findSceneMaterial(const SceneNode* node, const char* name) {
    if (node == nullptr) return nullptr;
    if (node->kind == MeshNode && node->mesh != nullptr && node->mesh->material != nullptr &&
        containsText(node->mesh->material->name, name))
        return node->mesh->material;
    for (const auto& child : node->children)
        if (Material* found = findSceneMaterial(child.get(), name)) return found;
    return nullptr;
}

void clearMeshTranslations(SceneNode* node) {
    if (node == nullptr) return;
    if (node->kind == MeshNode) node->matrix.m[12] = node->matrix.m[13] = node->matrix.m[14] = 0.0f;
    for (const auto& child : node->children) clearMeshTranslations(child.get());
}

MaterialUniform* findSceneUniform(const SceneNode* node, const char* materialName, const char* uniformName) {
    const Material* material = findSceneMaterial(node, materialName);
    return material != nullptr ? material->findUniform(uniformName) : nullptr;
}

void placeSceneRoot(SceneNode* root, float x, float y, float z) {
    if (root != nullptr) root->matrix.setTranslation(x, y, z);
}

SceneBounds sceneBounds(const SceneNode* node) {
    SceneBounds box;
    static const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    if (node != nullptr) addBounds(node, identity, box);
    return box;
}

bool boxOutsideView(const SceneBounds& box) {
    if (box.empty) return false;
    float modelview[16], projection[16], toClip[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    multiplyColumnMajor(projection, modelview, toClip);
    // Per plane (-x, +x, -y, +y, -z, +z) whether every corner so far lies beyond it. The slack
    // keeps a corner on the plane, up to rounding, inside.
    bool beyond[6] = {true, true, true, true, true, true};
    for (int corner = 0; corner < 8; ++corner) {
        const float p[3] = {(corner & 1) ? box.high[0] : box.low[0], (corner & 2) ? box.high[1] : box.low[1],
                            (corner & 4) ? box.high[2] : box.low[2]};
        float c[4];
        for (int r = 0; r < 4; ++r) c[r] = toClip[r] * p[0] + toClip[4 + r] * p[1] + toClip[8 + r] * p[2] + toClip[12 + r];
        for (int axis = 0; axis < 3; ++axis) {
            const float slack = 1e-3f * (absf(c[axis]) + absf(c[3])) + 1e-6f;
            if (!(c[axis] < -c[3] - slack)) beyond[2 * axis] = false;
            if (!(c[axis] > c[3] + slack)) beyond[2 * axis + 1] = false;
        }
    }
    for (bool b : beyond)
        if (b) return true;
    return false;
}
