// The slots' drawing functions.
#include "effects/slot_chains.h"

#include <iterator>

#include "effects/sky_ascent.h"
#include "effects/slot2_chain.h"

namespace {

using SlotFunction = void (*)();

// Indexed by slot number; index 0 is before the show.
constexpr SlotFunction slotFunctions[6] = {nullptr, drawSkyAscentScene, renderSlot2, nullptr, nullptr, nullptr};

}  // namespace

void drawSlot(int slot) {
    if (slot < 0 || slot >= static_cast<int>(std::size(slotFunctions))) return;
    if (SlotFunction draw = slotFunctions[slot]) draw();
}
