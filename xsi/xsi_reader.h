// The load of one scene file: the reader (xsi_lines) opens it, the material, image and model
// passes (xsi_materials, xsi_models) read it in their order, and it is closed again.
#pragma once

struct SceneNode;

// Loads one scene file: its new materials go into the shader library with their textures, and
// root is set to a new tree of the file's first top-level SI_Model (owned by the caller), or to
// null when the file has none or cannot be opened.
void loadXsiScene(const char* path, SceneNode*& root);
