// The check's portability notes from the reference GLSL compiler, glslangValidator: GLSL that this
// driver builds and the reference compiler refuses, as stricter drivers may.
#pragma once

// Runs glslangValidator, when it is on PATH, over every stage of every program the scene files
// built and over the built-in shaders, and says what it refuses as notes (not counted). Says
// nothing where it is not installed.
void noteReferenceGlsl();
