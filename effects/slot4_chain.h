// Slot 4's pass chain: the formation advancing on the cannon: the cannon scene drawn into the blur source and the screen, the glow composite, the noise sweep and the fades.
#pragma once

void renderSlot4();
