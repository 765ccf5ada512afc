// What draws each slot of the timeline: slot 1 its scene straight to the screen, slots 2 to 5
// their pass chains, which draw their scenes into render targets and compose them.
#pragma once

// Draws the slot's picture for the current clock value; a slot (or number) without a chain
// draws nothing.
void drawSlot(int slot);
