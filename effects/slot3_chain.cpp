// Slot 3's passes.
#include "effects/slot3_chain.h"

void renderSlot3() {}
