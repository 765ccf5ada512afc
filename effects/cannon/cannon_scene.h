// Slot 4's scene, 122600 to 178500 ms: the formation of flame carriers advancing on the cannon,
// the fan of shells, the members bursting into sparks, and the survivors rising away.
#pragma once

#include "effects/common/scene_run.h"

// One run of the scene into the render target (screenTarget for the window). Only the run into
// the screen draws the landscape, the formation and the closing white-out; the bursts are
// emitted by whichever run comes first, drawn or unseen; an unseen run also writes the field of
// view.
void drawCannonScene(int target, SceneRun run);

// One shell fired at fireTime along its own y axis turned by pitch and yaw (radians), from the
// current matrix; nothing before fireTime.
void drawShell(float now, float fireTime, float pitch, float yaw);
