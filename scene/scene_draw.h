// Drawing scene trees and the two tree operations the scenes use.
#pragma once

struct SceneNode;
struct Material;

// Draws the node and its subtree under the current projection and camera: node matrices on the
// matrix stack, lights switched on (directional ones placed in world space through
// renderDestinations.viewMatrix, so setCamera comes first), every mesh with its own material.
void drawSceneNode(const SceneNode* node);

// The material of the first mesh, depth first and the node before its children, whose material
// name contains the text; null when none does.
Material* findSceneMaterial(const SceneNode* node, const char* name);

// Zeroes the translation of every mesh node in the subtree, so the caller can place the model.
void clearMeshTranslations(SceneNode* node);
