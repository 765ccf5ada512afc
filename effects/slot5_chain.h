// Slot 5's pass chain: the flight over the cloud sheets: the cloud scene, its silhouette glow and the final fade to black.
#pragma once

void renderSlot5();
