// Slot 5's pass chain: the flight over the cloud sheets: the cloud scene, its silhouette glow and the final fade to black.
#pragma once

#include "effects/common/frame_record.h"

// One frame of the slot; an unseen frame makes only the runs' changes and advances the particles.
void renderSlot5(const FrameRecord& record);
