// Slot 4's passes.
#include "effects/slot4_chain.h"

void renderSlot4() {}
