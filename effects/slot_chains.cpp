// The slots' rooms.
#include "effects/slot_chains.h"

#include <iterator>

#include "effects/cannon/cannon_state.h"
#include "effects/cannon/slot4_chain.h"
#include "effects/clouds/slot5_chain.h"
#include "effects/procession/procession_state.h"
#include "effects/procession/slot2_chain.h"
#include "effects/sky/sky_ascent.h"
#include "effects/sky/sky_state.h"
#include "effects/worms/slot3_chain.h"
#include "effects/worms/worm_state.h"

namespace {

struct SlotRoom {
    void (*draw)(SceneRun frame);
    void (*walkState)(StateWalk& walk, StatePart part);
};

// Indexed by slot number; index 0 is before the show.
constexpr SlotRoom slotRooms[] = {
    {nullptr, nullptr},
    {drawSkyAscentScene, walkSkyState},
    {renderSlot2, walkProcessionState},
    {renderSlot3, walkWormState},
    {renderSlot4, walkCannonState},
    {renderSlot5, nullptr},  // the cloud flight carries nothing from frame to frame
};
static_assert(std::size(slotRooms) == lastSlot + 1);

const SlotRoom* slotRoom(int slot) {
    if (slot < 0 || slot >= static_cast<int>(std::size(slotRooms))) return nullptr;
    return &slotRooms[slot];
}

}  // namespace

void drawSlot(int slot, SceneRun frame) {
    const SlotRoom* room = slotRoom(slot);
    if (room != nullptr && room->draw != nullptr) room->draw(frame);
}

void walkSlotState(int slot, StateWalk& walk, StatePart part) {
    const SlotRoom* room = slotRoom(slot);
    if (room != nullptr && room->walkState != nullptr) room->walkState(walk, part);
}
