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
