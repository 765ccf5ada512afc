// The model pass of a scene-file load: the first top-level SI_Model into a tree of nodes with
// their transforms, meshes (compiled into display lists) and lights.
#pragma once

#include <memory>

struct Matrix4;
struct Mesh;
struct SceneNode;
struct XsiFile;

// Models nested deeper than this below the top-level one are passed over with a message: the
// tree is walked recursively and drawn with one matrix push per level.
constexpr int maxModelDepth = 31;

// Rewinds the open file and reads its first top-level SI_Model; root becomes the new tree (owned
// by the caller), or null when the file has no SI_Model.
void readModels(XsiFile& xsi, SceneNode*& root);

// The body of a model whose header has just been read; depth is the indent of its closing brace.
void readModelBody(XsiFile& xsi, SceneNode& node, int depth);

// The block readers, each called right after its header line. Lights are numbered in the file's
// order by the file's light count (from 0 for each file opened).
void readTransform(XsiFile& xsi, Matrix4& matrix);
void readMesh(XsiFile& xsi, SceneNode& node);
void readShape(XsiFile& xsi, Mesh& mesh);
void readTriangleList(XsiFile& xsi, Mesh& mesh);
void readLight(XsiFile& xsi, SceneNode& node);
