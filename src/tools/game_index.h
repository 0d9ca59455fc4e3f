// The index of a game file for the duplicate test of pgn2game: per record a 48-bit hash of its
// words and its offset in the file, in 12-byte slots of which at least 8 in 15 are used, so at
// most 22.5 bytes a game however large the collection. The records themselves stay in the file:
// a hash match is only a candidate, which the caller confirms against the record.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace velkor {

// The hash of a record's words (header and moves) that the index files it under.
std::uint64_t HashGameWords(const std::uint16_t* words, std::size_t count);

// For tests: only the lowest bits of every hash count, so that different records collide.
extern int GameHashBits;

class GameIndex {
  public:
    GameIndex();

    // Calls confirm(offset) for each stored record whose hash equals hash, until one confirms;
    // true when one did.
    template <typename Confirm>
    bool Contains(std::uint64_t hash, Confirm confirm) const;

    void Insert(std::uint64_t hash, std::uint64_t offset);

    std::uint64_t Size() const { return size; }
    // The bytes the index holds, its fixed part included.
    std::uint64_t Bytes() const;

  private:
    // A slot: the hash's low 48 bits and the record's offset in 48 bits (an empty slot has the
    // offset EmptyOffset), in three words so that a slot takes 12 bytes.
    struct Slot {
        std::uint32_t hashLow;
        std::uint32_t hashHighAndOffsetHigh; // hash bits 32-47, offset bits 32-47
        std::uint32_t offsetLow;

        std::uint64_t Hash() const { return hashLow | std::uint64_t{hashHighAndOffsetHigh & 0xFFFF} << 32; }
        std::uint64_t Offset() const { return offsetLow | std::uint64_t{hashHighAndOffsetHigh >> 16} << 32; }
    };
    static constexpr std::uint64_t EmptyOffset = (std::uint64_t{1} << 48) - 1;
    static constexpr std::uint64_t StoredHashMask = EmptyOffset;
    // The index is split by the hash's top bits into shards that grow one at a time, so that
    // growing never holds two copies of the whole index.
    static constexpr int ShardBits = 8;
    using Shard = std::vector<Slot>;

    static std::size_t Home(std::uint64_t hash, std::size_t capacity);
    static void Place(Shard& shard, std::uint64_t hash, std::uint64_t offset);
    Shard& ShardOf(std::uint64_t hash) { return shards[hash >> (64 - ShardBits)]; }
    const Shard& ShardOf(std::uint64_t hash) const { return shards[hash >> (64 - ShardBits)]; }
    void Grow(Shard& shard);

    std::array<Shard, 1 << ShardBits> shards;
    std::array<std::uint32_t, 1 << ShardBits> filled{};
    std::uint64_t size = 0;
};

template <typename Confirm>
bool GameIndex::Contains(std::uint64_t hash, Confirm confirm) const {
    const Shard& shard = ShardOf(hash);
    std::uint64_t stored = hash & StoredHashMask;
    for (std::size_t i = Home(hash, shard.size());; i = i + 1 == shard.size() ? 0 : i + 1) {
        const Slot& slot = shard[i];
        if (slot.Offset() == EmptyOffset) return false;
        if (slot.Hash() == stored && confirm(slot.Offset())) return true;
    }
}

} // namespace velkor
