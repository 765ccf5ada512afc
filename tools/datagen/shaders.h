// The GLSL 1.10 programs of the data set's materials (no version line; fixed-pipeline attributes,
// matrices and gl_LightSource, which the scene lights place in eye space).
#pragma once

#include <string>

struct ShaderPair {
    std::string vertex;
    std::string fragment;
};

// Post-processing: a separable blur, the depth-of-field pre-pass and its composite.
extern const ShaderPair blurShader;        // params = (step, direction x, direction y, -); texture0
extern const ShaderPair dofPreprocShader;  // params = (sharp up to, fully blurred after + this, least blur, -)
extern const ShaderPair dofCombineShader;  // alpha; texture0 = blurred (mirrored), texture1 = pre-pass

extern const ShaderPair skyShader;          // "mountains": params = (flash, phase, -, -)
extern const ShaderPair ridgeShader;        // the distant mountain ring: ridges (RGBA), haze
extern const ShaderPair terrainSandShader;  // sandMap, sandNormals, cloudParams
extern const ShaderPair terrainWallShader;
extern const ShaderPair terrainPeakShader;
extern const ShaderPair flameShader;      // flameNoise, params = (intensity, ...), uvShift
extern const ShaderPair hullShader;       // hullMap, hullNormals, emberColour
extern const ShaderPair ballShader;       // marbleMap, tint
extern const ShaderPair wormPlateShader;  // skinMap, sheen
extern const ShaderPair wormHeadShader;   // skinMap, sheen
extern const ShaderPair wormEyeShader;    // glow
extern const ShaderPair cannonShader;     // metalMap, envMap (cube), params = (reflection, heat, turn, -)
extern const ShaderPair shellShader;      // glow
