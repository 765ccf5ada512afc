// The model pass of a scene-file load: the first top-level SI_Model into a tree of nodes with
// their transforms, meshes (compiled into display lists) and lights.
#pragma once

#include <memory>

struct Matrix4;
struct Mesh;
struct SceneNode;

// Models nested deeper than this below the top-level one are passed over with a message: the
// tree is walked recursively and drawn with one matrix push per level.
constexpr int maxModelDepth = 31;

// Rewinds the open file and reads its first top-level SI_Model; root becomes the new tree (owned
// by the caller), or null when the file has no SI_Model.
void readModels(SceneNode*& root);

// The body of a model whose header has just been read; depth is the indent of its closing brace.
void readModelBody(SceneNode& node, int depth);

// The block readers, each called right after its header line.
void readTransform(Matrix4& matrix);
void readMesh(SceneNode& node);
void readShape(Mesh& mesh);
void readTriangleList(Mesh& mesh);
void readLight(SceneNode& node);
