// What the procession carries from frame to frame, for the state walk.
#pragma once

#include "effects/common/carried_state.h"

// The scene's record (Records) and the spark systems (Pools).
void walkProcessionState(StateWalk& walk, StatePart part);
