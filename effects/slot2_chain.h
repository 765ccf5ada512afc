// Slot 2's pass chain: the procession drawn into the depth-of-field pre-pass, the blur source and
// the screen, composited, with the slot's fades on top.
#pragma once

void renderSlot2();
