// The show's state, walked in one order by the fingerprint, the snapshot and its restore.
#include "effects/show_state.h"

#include <cstddef>
#include <cstring>

#include "effects/common/carried_state.h"
#include "effects/slot_table.h"

namespace {

// Hands every piece of state to the visitor as bytes it may read or overwrite; one walk, so the
// snapshot cannot miss what the fingerprint covers.
template <typename Visitor>
void visitShowState(Visitor& visit) {
    StateWalk walk{[](void* context, void* data, std::size_t size) { (*static_cast<Visitor*>(context))(data, size); },
                   &visit};
    for (StatePart part : stateParts) {
        walkCommonState(walk, part);
        walkSlotStates(walk, part);
    }
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
