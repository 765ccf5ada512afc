// Slot 1, 0 to 45500 ms: the climb through the cloud layers into the sky, drawn straight to the
// screen.
#pragma once

#include "effects/common/frame_record.h"

// The eye of the latest frame, kept for the state's fingerprint and snapshots only: the drawing
// takes it from the frame's camera.
extern float skyEye[3];
// Set by the first slot-1 frame, which seeds the dust once for the whole run.
extern bool skyDustSeeded;

// One frame of slot 1 onto the screen. Drawn or unseen, it advances and seeds the dust and writes
// the eye and the field of view.
void drawSkyAscentScene(const FrameRecord& record);

// The balls, the cloud layers and the dust around the eye; part of drawSkyAscentScene.
void drawSkyAscentProps(const float eye[3]);
