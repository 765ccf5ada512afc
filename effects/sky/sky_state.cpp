// The sky ascent's carried state.
#include "effects/sky/sky_state.h"

#include "effects/sky/sky_ascent.h"

void walkSkyState(StateWalk& walk, StatePart part) {
    if (part == StatePart::Flags) walk.plain(skyDustSeeded);
    if (part == StatePart::Eyes) walk.plain(skyEye);
}
