// The slots' rooms, one row each.
#include "effects/slot_table.h"

#include <iterator>
#include <string_view>

#include "base/demo_clock.h"
#include "base/show_slots.h"
#include "effects/cannon/cannon_resources.h"
#include "effects/cannon/cannon_state.h"
#include "effects/cannon/slot4_chain.h"
#include "effects/clouds/cloud_resources.h"
#include "effects/clouds/slot5_chain.h"
#include "effects/common/scene_flash.h"
#include "effects/common/scene_resources.h"
#include "effects/procession/procession_resources.h"
#include "effects/procession/procession_state.h"
#include "effects/procession/slot2_chain.h"
#include "effects/sky/sky_ascent.h"
#include "effects/sky/sky_resources.h"
#include "effects/sky/sky_state.h"
#include "effects/worms/slot3_chain.h"
#include "effects/worms/worm_resources.h"
#include "effects/worms/worm_state.h"

namespace {

// In the timeline's order. The sky's loading also loads the models, textures and dust the slots
// share; the ball, which four slots draw, loads after the procession's sparks.
constexpr SlotRoom slotRooms[] = {
    {"sky", loadSkyAscentScene, drawSkyAscentScene, walkSkyState},
    {"procession",
     [] {
         loadProcessionSparks();
         loadBallScene();
     },
     renderSlot2, walkProcessionState},
    {"worms", loadWormScene, renderSlot3, walkWormState},
    {"cannon", loadCannonScene, renderSlot4, walkCannonState},
    {"clouds", loadCloudScene, renderSlot5, nullptr},
};

constexpr bool roomsFollowTheTimeline() {
    if (std::size(slotRooms) != slotCount) return false;
    for (int i = 0; i < slotCount; ++i)
        if (std::string_view(slotRooms[i].room) != timelineSlots[i].room) return false;
    return true;
}
static_assert(roomsFollowTheTimeline(), "a row for each slot of base/show_slots.h, in its order");

}  // namespace

void loadScenes() {
    for (const SlotRoom& row : slotRooms) row.load();
}

void drawSlot(int slot, SceneRun frame) {
    if (slot < 1 || slot > slotCount) return;
    // What the scene runs of the previous frame added is what this frame's runs see, in every slot
    // alike; the next frame starts from nothing.
    sceneFlashes.sceneFlash = sceneFlashes.sceneFlashAccumulator;
    sceneFlashes.sceneFlashAccumulator = 0;
    slotRooms[slot - 1].draw({demoTimeMs(), demoClock.frameSeconds * 1000.0f, frame});
    sceneFlashes.sceneFlash = 0;
}

void walkSlotStates(StateWalk& walk, StatePart part) {
    for (const SlotRoom& row : slotRooms)
        if (row.walkState != nullptr) row.walkState(walk, part);
}
