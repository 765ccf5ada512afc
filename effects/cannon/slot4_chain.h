// Slot 4's pass chain: the formation advancing on the cannon: the cannon scene drawn into the blur source and the screen, the glow composite, the noise sweep and the fades.
#pragma once

#include "effects/common/frame_record.h"

// One frame of the slot; an unseen frame makes only the runs' changes and advances the particles.
void renderSlot4(const FrameRecord& record);
