// The names in the data that the scenes and the post-processing look up: materials of the scene
// files, found by name, and the uniform slots of theirs that the code sets. A data set without one
// still plays, with the effect left out; the data checker lists what is missing.
#pragma once

struct SceneNode;

struct AddressedName {
    const char* file;         // the scene file that must hold it, as start-up reads it
    SceneNode* const* scene;  // where start-up keeps that file's tree
    const char* material;     // found as findSceneMaterial finds it (the name contains this)
    const char* uniform;      // a uniform slot of the material that the code sets; null for none
    const char* without;      // what the show does without it
};

extern const AddressedName addressedNames[];
extern const int addressedNameCount;

// Reports each addressed name the loaded scenes lack, naming the file; returns how many.
int reportMissingNames();

// Uniforms of a material's GLSL program that a pass sets by name, beside its slots.
struct ProgramUniforms {
    const char* file;
    const char* material;  // found as findSceneMaterial finds it
    const char* uniforms;  // ", " between names
};
extern const ProgramUniforms programUniforms[];
extern const int programUniformCount;

// Reports each uniform that a data set material's linked program uses and nothing sets: no
// uniform block, texture slot or pass; its value stays 0. Returns how many.
int reportUnsetUniforms();
