// The transposition table: two halves (one per side to move) of 2^20 buckets of three entries.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>

#include "core/move.h"
#include "core/zobrist.h"
#include "eval/pawn_cache.h"
#include "position/position.h"

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

    Move move() const { return static_cast<Move>(moveAndKey & 0xFFFF); }
    int depth() const { return static_cast<int>(data & DepthMask); }
    std::uint32_t bound() const { return data & BoundMask; }
    int age() const { return static_cast<int>((data >> AgeShift) & AgeMask); }
    int score() const { return static_cast<int>(data >> ScoreShift) - ScoreOffset; }

    static constexpr std::uint32_t DepthMask = 0x7F;
    static constexpr std::uint32_t BoundMask = 0x180;
    static constexpr int AgeShift = 9;
    static constexpr std::uint32_t AgeMask = 0x1FF;
    static constexpr int ScoreShift = 18;
    static constexpr int ScoreOffset = 8190;
};
static_assert(sizeof(HashEntry) == 12);

inline constexpr int HashSlots = 3;
struct HashBucket {
    std::array<HashEntry, HashSlots> slots;
};
static_assert(sizeof(HashBucket) == 36);

// The table has 2^HashBucketBits buckets per side: 2^20 (72 MiB) unless the interface asks for
// another size. The fuzzing build starts small, so that the many set-ups of its inputs (each
// clears the table) stay fast; everything else is the same.
#ifdef VELKOR_SMALL_HASH
inline constexpr int DefaultHashBucketBits = 12;
#else
inline constexpr int DefaultHashBucketBits = 20;
#endif
// The low key half indexes a side's buckets; a table from 1 MiB to 64 GiB.
inline constexpr int MinHashBucketBits = 13;
inline constexpr int MaxHashBucketBits = 29;
inline constexpr std::uint64_t HashBytesPerBucketBit = 2 * sizeof(HashBucket);

enum HashBound : std::uint32_t { BoundExact = 0x000, BoundLower = 0x080, BoundUpper = 0x100 };

// Both halves one after the other: the white half from bucket HashBucketsPerSide on. Replaced
// only by ResizeHash, while no search runs.
extern HashBucket* TranspositionTable;
extern std::uint32_t HashBucketsPerSide;
extern std::uint32_t HashBucketMask;
extern std::uint16_t HashAge;

// The bucket of a position: the key's low bits in the half of the side to move.
inline HashBucket& BucketOf(HashKeyValue key, int side) {
    return TranspositionTable[(LowHalf(key) & HashBucketMask) + static_cast<std::uint32_t>(side) * HashBucketsPerSide];
}

inline constexpr std::uint32_t HashKeyBitsMask = 0xFFF00000; // the bits of word 0 that must match

// Every search thread reads and writes the table while the others do: a slot is read and written
// a word at a time (relaxed atomics, plain moves on x86-64), and its word 1 holds the key's high
// half XOR the other two words. An entry whose words come from two different writes then fails
// the key test: a torn entry is a miss, never another position's move or score.
// LoadEntry reads a slot into an entry with the plain key half; StoreEntry writes one.
inline std::uint32_t LoadWord(const std::uint32_t& word) {
    return std::atomic_ref<std::uint32_t>(const_cast<std::uint32_t&>(word)).load(std::memory_order_relaxed);
}
inline void StoreWord(std::uint32_t& word, std::uint32_t value) {
    std::atomic_ref<std::uint32_t>(word).store(value, std::memory_order_relaxed);
}
inline HashEntry LoadEntry(const HashEntry& slot) {
    std::uint32_t moveAndKey = LoadWord(slot.moveAndKey), data = LoadWord(slot.data);
    return {moveAndKey, LoadWord(slot.keyHigh) ^ moveAndKey ^ data, data};
}
inline void StoreEntry(HashEntry& slot, const HashEntry& entry) {
    StoreWord(slot.moveAndKey, entry.moveAndKey);
    StoreWord(slot.keyHigh, entry.keyHigh ^ entry.moveAndKey ^ entry.data);
    StoreWord(slot.data, entry.data);
}

// True when the entry holds the current position.
inline bool HoldsCurrentPosition(const HashEntry& entry) {
    return ((entry.moveAndKey ^ LowHalf(HashKey)) & HashKeyBitsMask) == 0 && entry.keyHigh == HighHalf(HashKey);
}

// A copy of the entry of the current position (HashKey, SideToMove), if the table has one.
// Inline: every node probes.
// Word 0's key bits rule out most slots before the other words are read.
[[gnu::always_inline]] inline std::optional<HashEntry> ProbeHash() {
    const HashBucket& bucket = BucketOf(HashKey, SideToMove);
    for (const HashEntry& slot : bucket.slots) {
        std::uint32_t moveAndKey = LoadWord(slot.moveAndKey);
        if ((moveAndKey ^ LowHalf(HashKey)) & HashKeyBitsMask) continue;
        std::uint32_t data = LoadWord(slot.data);
        if ((LoadWord(slot.keyHigh) ^ moveAndKey ^ data) == HighHalf(HashKey)) return HashEntry{moveAndKey, HighHalf(HashKey), data};
    }
    return std::nullopt;
}

// The two keys of the position that move leads to, from the move's piece changes alone: castling
// rights the move loses, the castling rook, the pawn taken en passant and the promoted piece are
// left out, so for those moves they may be other keys. For prefetching only.
struct KeysAfterMove {
    HashKeyValue hashKey;
    std::uint32_t pawnKey;
};

[[gnu::always_inline]] inline KeysAfterMove KeysAfter(Move move) {
    int from = MoveFrom(move), to = MoveTo(move), piece = Board[from], victim = Board[to];
    KeysAfterMove keys{HashKey ^ ZobristKeys[piece][from] ^ ZobristKeys[piece][to], PawnKey};
    if (victim) keys.hashKey ^= ZobristKeys[victim][to];
    if (IsPawn(victim)) keys.pawnKey ^= LowHalf(ZobristKeys[victim][to]);
    if (EnPassantSquare) {
        keys.hashKey ^= ZobristKeys[0][EnPassantSquare];
        keys.pawnKey ^= LowHalf(ZobristKeys[0][EnPassantSquare]);
    }
    if (IsPawn(piece)) {
        keys.pawnKey ^= LowHalf(ZobristKeys[piece][from]) ^ LowHalf(ZobristKeys[piece][to]);
        if (from - to == 16 || to - from == 16) {
            int passed = (from + to) / 2;
            keys.hashKey ^= ZobristKeys[0][passed];
            keys.pawnKey ^= LowHalf(ZobristKeys[0][passed]);
        }
    }
    return keys;
}

// Starts loading both cache lines of a bucket (a 36-byte bucket may straddle two). A hint only.
[[gnu::always_inline]] inline void PrefetchBucket(const HashBucket& bucket) {
    const char* bytes = reinterpret_cast<const char*>(&bucket);
    __builtin_prefetch(bytes);
    __builtin_prefetch(bytes + sizeof(HashBucket) - 1);
}

// Starts loading what the child's search reads first: its bucket and, when pawns change, its
// pawn-structure cache entry. A full-width child mostly tries a null move right after its own
// probe, and that null child's bucket is the child's index in the other half: WithNullChild
// loads it too (a double step's en-passant square, which the null move drops, is not allowed
// for).
// Always inlined: GCC may judge an out-of-line function holding nothing but prefetches free of
// effects and drop its calls.
template <bool WithNullChild>
[[gnu::always_inline]] inline void PrefetchAfter(Move move) {
    KeysAfterMove keys = KeysAfter(move);
    PrefetchBucket(BucketOf(keys.hashKey, SideToMove ^ 1));
    if constexpr (WithNullChild) PrefetchBucket(BucketOf(keys.hashKey, SideToMove));
    if (keys.pawnKey != PawnKey) __builtin_prefetch(&PawnCacheEntry(keys.pawnKey));
}

// Starts loading what every move of a list leads to at once: the misses overlap one another and
// the work before each child's probe. A node searches its moves right after generating them.
template <bool WithNullChild = false>
[[gnu::always_inline]] inline void PrefetchAfterEach(const ScoredMove* begin, const ScoredMove* end) {
    for (const ScoredMove* entry = begin; entry < end; ++entry) PrefetchAfter<WithNullChild>(entry->move);
}

// Zeroes every slot of both halves.
void ClearHash();

// The bytes of a table of 2^bits buckets per side.
constexpr std::uint64_t HashTableBytes(int bits) { return HashBytesPerBucketBit << bits; }
// The largest table of the table's shape within megabytes MiB (at least the smallest one).
int HashBucketBitsFor(std::uint64_t megabytes);
// Replaces the table by an empty one of 2^bits buckets per side, every page of it touched (the
// search must be idle); false, keeping the table as it was, where the memory cannot be had.
bool ResizeHash(int bits);
// The bits of the table in use.
int CurrentHashBucketBits();

// Records a result for the current position by the replacement rule: slot 0 keeps the most
// valuable entry, slot 1 the one it displaced, slot 2 takes the rest.
void StoreHash(int depth, std::uint32_t bound, Move move, int score);

// Book moves carry this age, which no search gives an entry; PlayBookMove looks for it.
inline constexpr int BookMoveAge = 0;
// The age every search stores with, from the first set-up on.
inline constexpr std::uint16_t SearchHashAge = 1;

// Plants a book move for the current position into slot 0 with the book age.
void PlantBookMove(Move move);

// Writes the expected line of up to n plies from the current position, as move texts each
// followed by a blank, ending at a missing entry, a marker or a move that does not fit.
void HashLine(char* buffer, int n);

// The line the table expects, moves only: first (when it is legal), then each stored move while
// it is legal, at most max moves in all and up to the first draw (a repetition among them).
// Returns the count; the position is unchanged.
int PrincipalLine(Move first, Move* line, int max);

} // namespace velkor
