// The game-file index: open addressing with linear probing, in shards that grow by half.
#include "tools/game_index.h"

#include <cstring>

namespace velkor {

int GameHashBits = 64;

namespace {

inline constexpr std::size_t FirstShardCapacity = 16;
// A shard grows when it would be fuller than 4 in 5, by half its size: its load never falls
// below 8 in 15.
inline constexpr std::size_t MaxLoadNumerator = 4;
inline constexpr std::size_t MaxLoadDenominator = 5;

std::uint64_t Mix(std::uint64_t x) {
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ULL;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

} // namespace

std::uint64_t HashGameWords(const std::uint16_t* words, std::size_t count) {
    std::uint64_t hash = Mix(count);
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        std::uint64_t chunk;
        std::memcpy(&chunk, words + i, sizeof(chunk));
        hash = Mix(hash ^ chunk);
    }
    std::uint64_t rest = 0;
    for (int shift = 0; i < count; ++i, shift += 16) rest |= std::uint64_t{words[i]} << shift;
    hash = Mix(hash ^ rest ^ 0x9E3779B97F4A7C15ULL);
    return GameHashBits >= 64 ? hash : hash & ((std::uint64_t{1} << GameHashBits) - 1);
}

GameIndex::GameIndex() {
    for (Shard& shard : shards) shard.assign(FirstShardCapacity, Slot{0, 0xFFFFFFFFu, 0xFFFFFFFFu});
}

std::size_t GameIndex::Home(std::uint64_t hash, std::size_t capacity) {
    auto position = static_cast<std::uint32_t>(hash >> 16);
    return static_cast<std::size_t>((std::uint64_t{position} * capacity) >> 32);
}

void GameIndex::Place(Shard& shard, std::uint64_t hash, std::uint64_t offset) {
    std::size_t i = Home(hash, shard.size());
    while (shard[i].Offset() != EmptyOffset) i = i + 1 == shard.size() ? 0 : i + 1;
    std::uint64_t stored = hash & StoredHashMask;
    shard[i] = {static_cast<std::uint32_t>(stored),
                static_cast<std::uint32_t>((stored >> 32) | ((offset >> 32) << 16)),
                static_cast<std::uint32_t>(offset)};
}

void GameIndex::Grow(Shard& shard) {
    Shard grown(shard.size() + shard.size() / 2, Slot{0, 0xFFFFFFFFu, 0xFFFFFFFFu});
    // The slot keeps only the hash's low 48 bits; the home depends on bits 16-47 alone, and the
    // shard on the top bits, which every hash of the shard shares.
    for (const Slot& slot : shard)
        if (slot.Offset() != EmptyOffset) Place(grown, slot.Hash(), slot.Offset());
    shard.swap(grown);
}

void GameIndex::Insert(std::uint64_t hash, std::uint64_t offset) {
    std::size_t index = static_cast<std::size_t>(hash >> (64 - ShardBits));
    Shard& shard = shards[index];
    if ((filled[index] + 1) * MaxLoadDenominator > shard.size() * MaxLoadNumerator) Grow(shard);
    Place(shard, hash, offset);
    ++filled[index];
    ++size;
}

std::uint64_t GameIndex::Bytes() const {
    std::uint64_t bytes = sizeof(*this);
    for (const Shard& shard : shards) bytes += shard.capacity() * sizeof(Slot);
    return bytes;
}

} // namespace velkor
