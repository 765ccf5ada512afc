// Bytes with their long runs of zeros left out: the show's particle pools are mostly slots that
// were never used, so a state snapshot packs to a small part of its size.
#pragma once

#include <cstddef>
#include <vector>

// Alternating records: a 32-bit count of bytes that follow as they are, the bytes, then a 32-bit
// count of zero bytes; runs of zeros shorter than a few words stay in the bytes.
std::vector<unsigned char> packZeroRuns(const unsigned char* bytes, std::size_t size);

// The bytes packZeroRuns was given; false when packed is not such a record stream or does not
// come to size bytes.
bool unpackZeroRuns(const std::vector<unsigned char>& packed, std::size_t size, std::vector<unsigned char>& bytes);
