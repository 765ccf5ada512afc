// What the cannon slot carries from frame to frame, for the state walk.
#pragma once

#include "effects/common/carried_state.h"

// The formation's particle systems (Pools).
void walkCannonState(StateWalk& walk, StatePart part);
