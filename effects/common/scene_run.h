// Whether anybody reads the pixels of a scene run. A run into a target that no later pass reads
// (slot 3's depth-of-field pre-pass and blur source, slot 2's outside its composite windows), or
// any run of a frame that is stepped without being shown, is unseen: it makes every change a
// drawn run makes (flash weights, one-time emissions, the random sequence, the eye, the field of
// view), in the same order and with the same values, and issues no GL call.
#pragma once

enum class SceneRun { Drawn, Unseen };

// The reference the capture tool can ask for: every run of every frame drawn, seen or not.
extern bool drawUnseenRuns;

// The run of a pass inside a frame: drawn when the frame is and its pixels are read (or the
// reference draws everything).
inline SceneRun runWhenSeen(SceneRun frame, bool seen) {
    return frame == SceneRun::Drawn && (seen || drawUnseenRuns) ? SceneRun::Drawn : SceneRun::Unseen;
}
