// The fingerprint of the show's state.
#include "effects/show_state.h"

#include <cstddef>
#include <type_traits>

#include "effects/dust_start.h"
#include "effects/procession.h"
#include "effects/scene_flash.h"
#include "effects/scene_resources.h"
#include "effects/sky_ascent.h"
#include "effects/worm_bursts.h"
#include "effects/worm_scene.h"
#include "render/render_destinations.h"
#include "scene/particle_system.h"
#include "scene/random.h"

namespace {

// FNV-1a over the bytes of plain values.
struct Digest {
    std::uint32_t value = 2166136261u;

    template <typename T>
    void add(const T& plain) {
        static_assert(!std::is_pointer_v<T>, "hash what it points to");
        const auto* bytes = reinterpret_cast<const unsigned char*>(&plain);
        for (std::size_t i = 0; i < sizeof plain; ++i) value = (value ^ bytes[i]) * 16777619u;
    }

    void addSystem(const ParticleSystem* system) {
        add(system != nullptr);
        if (system == nullptr) return;
        add(system->emitted);
        for (int i = 0; i < particlePoolSize; ++i) add(system->particles[i]);
    }
};

}  // namespace

std::uint32_t showStateDigest() {
    Digest digest;
    digest.add(randomSequenceState());
    digest.add(sceneFlashes.sceneFlash);
    digest.add(sceneFlashes.sceneFlashAccumulator);
    digest.add(renderDestinations.fieldOfView);
    digest.add(dustStartFlags.procession);
    digest.add(dustStartFlags.cannon);
    digest.add(skyDustSeeded);
    digest.add(wormBurstFlags.done);
    digest.add(processionState.eye);
    digest.add(processionState.slowMotionOverrun);
    digest.add(processionState.firstBurstDone);
    digest.add(processionState.secondBurstDone);
    digest.add(skyEye);
    digest.add(wormEye);
    digest.addSystem(dustParticles);
    for (const ParticleSystem* system : sparkSystems) digest.addSystem(system);
    for (const ParticleSystem* system : wormSparkSystems) digest.addSystem(system);
    for (const ParticleSystem* system : cannonParticleSystems) digest.addSystem(system);
    return digest.value;
}
