// Slot 2's pass chain: the procession drawn into the depth-of-field pre-pass, the blur source and
// the screen, composited, with the slot's fades on top. Outside the composite windows the first
// two runs are unseen.
#pragma once

#include "effects/common/frame_record.h"

// One frame of the slot; an unseen frame makes only the runs' changes and advances the particles.
void renderSlot2(const FrameRecord& record);
