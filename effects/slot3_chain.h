// Slot 3's pass chain: the worms arching out of the ground: the worm scene drawn into the depth-of-field pre-pass, the blur source and the screen, with its glows and flashes.
#pragma once

void renderSlot3();
