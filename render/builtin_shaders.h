// GLSL 1.10 sources of the eight built-in materials, in library order.
#pragma once

struct ShaderSources {
    const char* vertex;
    const char* fragment;
};

extern const ShaderSources builtInShaderSources[8];
