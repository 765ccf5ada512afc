// Slot 5's passes.
#include "effects/slot5_chain.h"

void renderSlot5() {}
