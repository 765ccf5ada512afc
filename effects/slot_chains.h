// What draws each slot of the timeline: slot 1 its scene straight to the screen, slots 2 to 5
// their pass chains, which draw their scenes into render targets and compose them.
#pragma once

#include "effects/scene_run.h"

// Draws the slot's picture for the current clock value; a slot (or number) without a chain
// draws nothing. An unseen frame makes the changes of all its runs and draws nothing.
void drawSlot(int slot, SceneRun frame);
