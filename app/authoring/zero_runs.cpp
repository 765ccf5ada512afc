// Packing zero runs.
#include "app/authoring/zero_runs.h"

#include <cstdint>
#include <cstring>

namespace {

// Shorter runs cost more as a record than as bytes.
constexpr std::size_t shortestZeroRun = 32;

void putCount(std::vector<unsigned char>& out, std::size_t count) {
    const auto value = static_cast<std::uint32_t>(count);
    unsigned char bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    out.insert(out.end(), bytes, bytes + sizeof value);
}

bool takeCount(const std::vector<unsigned char>& in, std::size_t& at, std::size_t& count) {
    std::uint32_t value = 0;
    if (in.size() - at < sizeof value) return false;
    std::memcpy(&value, in.data() + at, sizeof value);
    at += sizeof value;
    count = value;
    return true;
}

// The end of the zero run starting at from (from itself when bytes[from] is not zero).
std::size_t zeroRunEnd(const unsigned char* bytes, std::size_t from, std::size_t size) {
    std::size_t at = from;
    while (at < size && (at & 7) != 0 && bytes[at] == 0) ++at;
    if ((at & 7) == 0) {
        std::uint64_t word = 0;
        while (at + 8 <= size && (std::memcpy(&word, bytes + at, 8), word == 0)) at += 8;
    }
    while (at < size && bytes[at] == 0) ++at;
    return at;
}

}  // namespace

std::vector<unsigned char> packZeroRuns(const unsigned char* bytes, std::size_t size) {
    std::vector<unsigned char> out;
    std::size_t literalStart = 0;
    std::size_t at = 0;
    while (at < size) {
        if (bytes[at] != 0) {
            ++at;
            continue;
        }
        const std::size_t runEnd = zeroRunEnd(bytes, at, size);
        if (runEnd - at >= shortestZeroRun || runEnd == size) {
            putCount(out, at - literalStart);
            out.insert(out.end(), bytes + literalStart, bytes + at);
            putCount(out, runEnd - at);
            literalStart = runEnd;
        }
        at = runEnd;
    }
    if (literalStart < size) {
        putCount(out, size - literalStart);
        out.insert(out.end(), bytes + literalStart, bytes + size);
        putCount(out, 0);
    }
    return out;
}

bool unpackZeroRuns(const std::vector<unsigned char>& packed, std::size_t size, std::vector<unsigned char>& bytes) {
    bytes.assign(size, 0);
    std::size_t at = 0, written = 0;
    while (at < packed.size()) {
        std::size_t literal = 0, zeros = 0;
        if (!takeCount(packed, at, literal) || packed.size() - at < literal || size - written < literal) return false;
        std::memcpy(bytes.data() + written, packed.data() + at, literal);
        at += literal;
        written += literal;
        if (!takeCount(packed, at, zeros) || size - written < zeros) return false;
        written += zeros;  // already zero
    }
    return written == size;
}
