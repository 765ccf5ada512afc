// What the sky ascent carries from frame to frame, for the state walk.
#pragma once

#include "effects/common/carried_state.h"

// The dust's seeding flag (Flags) and the eye (Eyes).
void walkSkyState(StateWalk& walk, StatePart part);
