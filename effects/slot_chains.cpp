// The slots' drawing functions.
#include "effects/slot_chains.h"

#include <iterator>

#include "effects/sky_ascent.h"
#include "effects/slot2_chain.h"
#include "effects/slot3_chain.h"
#include "effects/slot4_chain.h"
#include "effects/slot5_chain.h"

namespace {

using SlotFunction = void (*)(SceneRun frame);

// Indexed by slot number; index 0 is before the show.
constexpr SlotFunction slotFunctions[6] = {nullptr, drawSkyAscentScene, renderSlot2, renderSlot3, renderSlot4, renderSlot5};

}  // namespace

void drawSlot(int slot, SceneRun frame) {
    if (slot < 0 || slot >= static_cast<int>(std::size(slotFunctions))) return;
    if (SlotFunction draw = slotFunctions[slot]) draw(frame);
}
