// The slot table: for each slot of the timeline, what draws it (slot 1 its scene straight to the
// screen, slots 2 to 5 their pass chains, which draw their scenes into render targets and compose
// them) and what hands its carried state to the state walk. A slot's room is listed here once.
#pragma once

#include "effects/common/carried_state.h"
#include "effects/common/scene_run.h"

// Draws the slot's picture for the current clock value; a slot (or number) without a chain
// draws nothing. An unseen frame makes the changes of all its runs and draws nothing.
void drawSlot(int slot, SceneRun frame);

// Hands the slot room's part of its carried state to the walk; nothing for a slot without state.
void walkSlotState(int slot, StateWalk& walk, StatePart part);

constexpr int firstSlot = 1;
constexpr int lastSlot = 5;
