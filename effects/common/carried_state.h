// How the rooms hand what they carry from one frame to the next (flags, eyes, pools) to the
// state walk of the fingerprint, the snapshot and its restore: as bytes the walk may read or
// overwrite.
#pragma once

#include <cstddef>
#include <type_traits>

struct ParticleSystem;

// The parts of the walk, in walking order; within a part, common state first, then the rooms in
// slot order. The order is the one the fingerprint has always hashed in, which is why one room's
// flags, record and eye go to different parts.
enum class StatePart { Flags, Records, Eyes, Pools };
constexpr StatePart stateParts[] = {StatePart::Flags, StatePart::Records, StatePart::Eyes, StatePart::Pools};

struct StateWalk {
    void (*visit)(void* context, void* data, std::size_t size);
    void* context;

    template <typename T>
    void plain(T& value) {
        static_assert(std::is_trivially_copyable_v<T> && !std::is_pointer_v<T>, "walk what it points to");
        visit(context, &value, sizeof value);
    }

    // Whether the pool exists, then its emitted flag and its particles.
    void pool(ParticleSystem* particles);
};

// The state below the rooms: the random sequence, the flashes, the field of view and the dust
// start's flags (Flags), the dust (Pools).
void walkCommonState(StateWalk& walk, StatePart part);
