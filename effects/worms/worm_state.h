// What the worm slot carries from frame to frame, for the state walk.
#pragma once

#include "effects/common/carried_state.h"

// The bursts' flags (Flags), the eye (Eyes) and the spark systems (Pools).
void walkWormState(StateWalk& walk, StatePart part);
