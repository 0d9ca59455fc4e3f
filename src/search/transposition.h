// The transposition table: two halves (one per side to move) of 2^20 buckets of three entries.
#pragma once

#include <array>
#include <cstdint>

#include "movegen/move.h"

namespace velkor {

// +--------+-------------------------------------------------------------+
// | word 0 | bits 0-15 move, bits 16-31 key low half bits 16-31          |
// | word 1 | key high half                                               |
// | word 2 | bits 0-6 depth, 7-8 bound, 9-17 age, 18-31 score + 8190     |
// +--------+-------------------------------------------------------------+
struct HashEntry {
    std::uint32_t moveAndKey;
    std::uint32_t keyHigh;
    std::uint32_t data;
};
static_assert(sizeof(HashEntry) == 12);

inline constexpr int HashSlots = 3;
struct HashBucket {
    std::array<HashEntry, HashSlots> slots;
};
static_assert(sizeof(HashBucket) == 36);

inline constexpr int HashBucketBits = 20;
inline constexpr std::uint32_t HashBucketsPerSide = 1u << HashBucketBits;
inline constexpr std::uint32_t HashBucketMask = HashBucketsPerSide - 1;

enum HashBound : std::uint32_t { BoundExact = 0x000, BoundLower = 0x080, BoundUpper = 0x100 };

extern std::array<HashBucket, 2 * HashBucketsPerSide> TranspositionTable;
extern std::uint16_t HashAge;

// Zeroes every slot of both halves.
void ClearHash();

} // namespace velkor
