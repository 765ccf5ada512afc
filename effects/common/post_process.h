// Screen-space passes laid on or around the scenes: full-screen fades (alpha-blended) and glows
// (additive), with a weight or driven by a ramp over a music-time interval, and the blur and
// depth-of-field passes built on the post-processing scene's "blur", "dof_preproc" and
// "dof_combine" materials.
#pragma once

#include "effects/common/scene_run.h"
#include "render/screen_pass.h"

struct SceneNode;

// The post-processing scene: its meshes carry the blur and depth-of-field materials. Loaded at
// start-up and kept for the whole run; null until then (every pass is then skipped).
extern SceneNode* postScene;

// Start-up: reads "data\postproc.XSI" into postScene.
void loadPostScene();

// Alpha-blended colour over the current destination; alpha is clamped to [0, 1]. The matrices
// are restored afterwards; blending ends off, depth test on, colour white.
void drawFadeQuad(float r, float g, float b, float alpha);

// The same, added with the source weighted by alpha; the depth mask is left alone.
void drawAdditiveQuad(float r, float g, float b, float alpha);

// Ramp-driven passes over [startMs, endMs): w falls from 1 to 0 and nothing is drawn once w is
// at or below the threshold (0.0001; 0.01 for blackFlash).
void fadeFrom(int startMs, int endMs, float r, float g, float b);  // covered, then clears
void fadeTo(int startMs, int endMs, float r, float g, float b);    // covers progressively
void glowFrom(int startMs, int endMs, float r, float g, float b);  // a flash that dies away
void glowTo(int startMs, int endMs, float r, float g, float b);    // light that builds up
void blackFlash(int startMs, int endMs);

// One directional blur from one target's texture into another: horizontal or vertical, step in
// texture-coordinate units. The source is read with rows as given: TopFirst mirrors it.
void blurPass(int source, int destination, float step, bool horizontal, TextureRows rows);

// The chains' blur: sceneTarget horizontally into blurTargetH, that vertically into blurTargetV,
// which ends up mirrored.
void blurSceneTarget(float step);

// Runs the scene into the focus target (drawScene binds it itself) with every mesh replaced by
// the "dof_preproc" material, whose "params" are set first.
void depthOfFieldPrePass(float x, float y, float z, float w, void (*drawScene)(int target, SceneRun run),
                         SceneRun run);

// The blurred image over the sharp one on the screen, weighted per pixel by the pre-pass.
void depthOfFieldComposite();
