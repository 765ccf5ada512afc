// Slot 2's passes.
#include "effects/slot2_chain.h"

void renderSlot2() {}
