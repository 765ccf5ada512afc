// Slot 3's pass chain: the worm scene drawn into the depth-of-field pre-pass, into the blur source
// and onto the screen, with the white glow it opens with, the flashes of the worms and the
// white-out into slot 4.
#pragma once

void renderSlot3();
