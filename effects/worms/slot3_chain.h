// Slot 3's pass chain: the worm scene drawn into the depth-of-field pre-pass, into the blur source
// and onto the screen, with the white glow it opens with, the flashes of the worms and the
// white-out into slot 4.
#pragma once

#include "effects/common/frame_record.h"

// One frame of the slot; the pre-pass and the blur source are unseen runs (the reference draws
// them). An unseen frame makes only the runs' changes and advances the particles.
void renderSlot3(const FrameRecord& record);
