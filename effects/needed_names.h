// Everything start-up reads from a run directory, with what for, and the names the scenes and
// passes look up in it: what a data set must hold, as demo-check --list prints it.
#pragma once

#include <string>
#include <vector>

struct NeededFile {
    const char* file;     // as start-up opens it
    const char* kind;     // "image", "scene file", "music"
    const char* whatFor;  // what the show draws or plays from it
};

extern const NeededFile neededFiles[];
extern const int neededFileCount;

// The lines of the list: each file with what it is for, under each scene file its materials
// with the uniform slots the show sets and the GLSL uniforms the passes set themselves.
std::vector<std::string> neededNameLines();
