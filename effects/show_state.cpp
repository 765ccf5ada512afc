// The show's state, walked in one order by the fingerprint, the snapshot and its restore.
#include "effects/show_state.h"

#include <cstddef>
#include <cstring>
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

// Hands every piece of state to the visitor as bytes it may read or overwrite; one walk, so the
// snapshot cannot miss what the fingerprint covers.
template <typename Visitor>
void visitShowState(Visitor& visit) {
    const auto plain = [&visit](auto& value) {
        using T = std::remove_reference_t<decltype(value)>;
        static_assert(std::is_trivially_copyable_v<T> && !std::is_pointer_v<T>, "visit what it points to");
        visit(&value, sizeof value);
    };
    const auto system = [&](ParticleSystem* particles) {
        bool present = particles != nullptr;
        plain(present);
        if (particles == nullptr) return;
        plain(particles->emitted);
        visit(particles->particles.get(), sizeof(Particle) * particlePoolSize);
    };
    std::uint32_t random = randomSequenceState();
    plain(random);
    restoreRandomSequence(random);
    plain(sceneFlashes.sceneFlash);
    plain(sceneFlashes.sceneFlashAccumulator);
    plain(renderDestinations.fieldOfView);
    plain(dustStartFlags.procession);
    plain(dustStartFlags.cannon);
    plain(skyDustSeeded);
    plain(wormBurstFlags.done);
    plain(processionState.eye);
    plain(processionState.slowMotionOverrun);
    plain(processionState.firstBurstDone);
    plain(processionState.secondBurstDone);
    plain(skyEye);
    plain(wormEye);
    system(dustParticles);
    for (ParticleSystem* particles : sparkSystems) system(particles);
    for (ParticleSystem* particles : wormSparkSystems) system(particles);
    for (ParticleSystem* particles : cannonParticleSystems) system(particles);
}

}  // namespace

std::uint32_t showStateDigest() {
    std::uint32_t value = 2166136261u;  // FNV-1a
    auto hash = [&value](const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) value = (value ^ bytes[i]) * 16777619u;
    };
    visitShowState(hash);
    return value;
}

ShowStateSnapshot saveShowState() {
    ShowStateSnapshot snapshot;
    auto save = [&snapshot](const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        snapshot.bytes.insert(snapshot.bytes.end(), bytes, bytes + size);
    };
    visitShowState(save);
    return snapshot;
}

void restoreShowState(const ShowStateSnapshot& snapshot) {
    std::size_t offset = 0;
    auto restore = [&](void* data, std::size_t size) {
        if (offset + size > snapshot.bytes.size()) return;  // taken before the systems existed
        std::memcpy(data, snapshot.bytes.data() + offset, size);
        offset += size;
    };
    visitShowState(restore);
}
