// The slot table: a row for each slot of the timeline (base/show_slots.h gives their times and
// rooms), with what loads its scenes at start-up, what draws it and what hands its carried state
// to the state walk. Slot 1 draws its scene straight to the screen; the others run pass chains
// that draw their scenes into render targets and compose them.
#pragma once

#include "effects/common/carried_state.h"
#include "effects/common/frame_record.h"
#include "effects/common/scene_run.h"

struct SlotRoom {
    const char* room;  // its folder under effects/, as the timeline names it
    void (*load)();    // at start-up, in slot order: the texture indices follow that order
    void (*draw)(const FrameRecord& record);
    void (*walkState)(StateWalk& walk, StatePart part);  // null: it carries nothing from frame to frame
};

// After the shader library: every room's loading, in slot order.
void loadScenes();

// Draws the slot's picture for the current clock value (handing its draw the frame's record); a
// number without a slot draws nothing. An unseen frame makes the changes of all its runs and draws
// nothing.
void drawSlot(int slot, SceneRun frame);

// Hands every slot room's part of its carried state to the walk, in slot order.
void walkSlotStates(StateWalk& walk, StatePart part);
