// The state the rooms share, and a particle pool as the walk sees it.
#include "effects/common/carried_state.h"

#include <cstdint>

#include "effects/common/dust_start.h"
#include "effects/common/scene_flash.h"
#include "effects/common/scene_resources.h"
#include "render/render_destinations.h"
#include "scene/particle_system.h"
#include "scene/random.h"

void StateWalk::pool(ParticleSystem* particles) {
    bool present = particles != nullptr;
    plain(present);
    if (particles == nullptr) return;
    plain(particles->emitted);
    visit(context, particles->particles.get(), sizeof(Particle) * particlePoolSize);
}

void walkCommonState(StateWalk& walk, StatePart part) {
    if (part == StatePart::Flags) {
        std::uint32_t random = randomSequenceState();
        walk.plain(random);
        restoreRandomSequence(random);
        walk.plain(sceneFlashes.sceneFlash);
        walk.plain(sceneFlashes.sceneFlashAccumulator);
        walk.plain(renderDestinations.fieldOfView);
        walk.plain(dustStartFlags.procession);
        walk.plain(dustStartFlags.cannon);
    } else if (part == StatePart::Pools) {
        walk.pool(dustParticles);
    }
}
