// Drawing scene trees and the two tree operations the scenes use.
#pragma once

struct SceneNode;
struct Material;
struct MaterialUniform;

// Draws the node and its subtree under the current projection and camera: node matrices on the
// matrix stack, lights switched on (directional ones placed in world space through
// renderDestinations.viewMatrix, so setCamera comes first), every mesh with its own material.
void drawSceneNode(const SceneNode* node);

// The material of the first mesh, depth first and the node before its children, whose material
// name contains the text; null when none does.
Material* findSceneMaterial(const SceneNode* node, const char* name);

// The uniform slot of that name in findSceneMaterial(node, materialName); null when either is
// missing, which setUniformValue takes as "nothing to set".
MaterialUniform* findSceneUniform(const SceneNode* node, const char* materialName, const char* uniformName);

// Makes the root's matrix the translation by (x, y, z); nothing for a null root.
void placeSceneRoot(SceneNode* root, float x, float y, float z);

// Zeroes the translation of every mesh node in the subtree, so the caller can place the model.
void clearMeshTranslations(SceneNode* node);

// An axis-aligned box; empty until a point is added.
struct SceneBounds {
    float low[3] = {0, 0, 0};
    float high[3] = {0, 0, 0};
    bool empty = true;
};

// The box around every mesh position of the subtree, in the coordinates the node is drawn in
// (the node's own matrix applied, as drawSceneNode does).
SceneBounds sceneBounds(const SceneNode* node);

// True when the box, under the current modelview and projection, lies wholly beyond one clip
// plane, so nothing inside it can reach the picture; an empty box is never outside.
bool boxOutsideView(const SceneBounds& box);
