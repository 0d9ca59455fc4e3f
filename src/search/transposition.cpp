// Storage, probe, store and the expected line of the transposition table.
#include "search/transposition.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "core/large_table.h"
#include "core/platform.h"
#include "movegen/legal.h"
#include "notation/coordinate.h"
#include "position/make_move.h"
#include "position/position.h"
#include "search/draw.h"

namespace velkor {

HashBucket* TranspositionTable =
    static_cast<HashBucket*>(AllocateLargeTable(static_cast<std::size_t>(HashTableBytes(DefaultHashBucketBits))));
std::uint32_t HashBucketsPerSide = 1u << DefaultHashBucketBits;
std::uint32_t HashBucketMask = (1u << DefaultHashBucketBits) - 1;
std::uint16_t HashAge;

namespace {

inline constexpr std::uint32_t KeyHalfMask = 0xFFFF0000; // the key bits word 0 stores

inline HashBucket& CurrentBucket() { return BucketOf(HashKey, SideToMove); }

inline bool Matches(const HashEntry& entry) { return HoldsCurrentPosition(entry); }

inline std::uint32_t DataWord(int depth, std::uint32_t bound, int score) {
    return (static_cast<std::uint32_t>(score + HashEntry::ScoreOffset) << HashEntry::ScoreShift) |
           (static_cast<std::uint32_t>(HashAge) << HashEntry::AgeShift) | bound | static_cast<std::uint32_t>(depth);
}

// An entry is worth keeping when, less its age distance, it is deeper than the new result, or as
// deep with a bound not weaker.
inline bool WorthKeeping(const HashEntry& entry, int depth, std::uint32_t bound) {
    auto ageDistance = static_cast<std::int16_t>(HashAge - entry.age());
    int value = entry.depth() - ageDistance;
    return value > depth || (value == depth && entry.bound() <= bound);
}

} // namespace

void ClearHash() { std::memset(TranspositionTable, 0, static_cast<std::size_t>(HashTableBytes(CurrentHashBucketBits()))); }

int CurrentHashBucketBits() { return std::countr_zero(HashBucketsPerSide); }

int HashBucketBitsFor(std::uint64_t megabytes) {
    int bits = MinHashBucketBits;
    while (bits < MaxHashBucketBits && HashTableBytes(bits + 1) <= (megabytes << 20)) ++bits;
    return bits;
}

bool ResizeHash(int bits) {
    int current = CurrentHashBucketBits();
    if (bits == current) return true;
    auto bytes = static_cast<std::size_t>(HashTableBytes(bits));
    // The old table goes back to the system with the new one: only what lies beyond it must be free.
    std::uint64_t currentBytes = HashTableBytes(current);
    if (bytes > currentBytes && bytes - currentBytes > AvailableMemoryBytes()) return false;
    void* table = TryAllocateLargeMemory(bytes);
    if (!table) return false;
    FreeLargeMemory(TranspositionTable, static_cast<std::size_t>(currentBytes));
    TranspositionTable = static_cast<HashBucket*>(table);
    HashBucketsPerSide = 1u << bits;
    HashBucketMask = HashBucketsPerSide - 1;
    // Every page is touched now, while the interface waits for its "readyok", and not by the
    // first searches, whose clocks run.
    ClearHash();
    return true;
}


void StoreHash(int depth, std::uint32_t bound, Move move, int score) {
    HashBucket& bucket = CurrentBucket();
    HashEntry first = LoadEntry(bucket.slots[0]);
    if (Matches(first)) {
        if (first.depth() > depth || (first.depth() == depth && first.bound() <= bound)) return;
        first.moveAndKey = (first.moveAndKey & KeyHalfMask) | move;
        first.data = DataWord(depth, bound, score);
        StoreEntry(bucket.slots[0], first);
        return;
    }
    HashEntry fresh{(LowHalf(HashKey) & KeyHalfMask) | move, HighHalf(HashKey), DataWord(depth, bound, score)};
    if (!WorthKeeping(first, depth, bound)) {
        StoreEntry(bucket.slots[1], first);
        StoreEntry(bucket.slots[0], fresh);
    } else if (!WorthKeeping(LoadEntry(bucket.slots[1]), depth, bound)) {
        StoreEntry(bucket.slots[1], fresh);
    } else {
        StoreEntry(bucket.slots[2], fresh);
    }
}

void PlantBookMove(Move move) {
    HashEntry& slot = CurrentBucket().slots[0];
    HashEntry first = LoadEntry(slot);
    first.moveAndKey = (LowHalf(HashKey) & KeyHalfMask) | move;
    first.keyHigh = HighHalf(HashKey);
    first.data = (first.data & ~(HashEntry::AgeMask << HashEntry::AgeShift)) |
                 (static_cast<std::uint32_t>(BookMoveAge) << HashEntry::AgeShift);
    StoreEntry(slot, first);
}

void HashLine(char* buffer, int n) {
    *buffer = '\0';
    if (n == 0) return;
    std::optional<HashEntry> entry = ProbeHash();
    if (!entry) {
        std::strcpy(buffer, "NOE ");
        return;
    }
    Move move = entry->move();
    if (IsMarker(move)) {
        const char* text = move == ResultRepetition ? "1/2 - 1/2 (repetition)"
                           : move == ResultMated    ? "# "
                           : move == ResultStalemate ? "1/2 - 1/2 (stalemate)"
                           : move == NullMoveMarker ? "NULL"
                                                    : "ERROR";
        std::strcpy(buffer, text);
        return;
    }
    // After a key collision the stored move may not fit this position: the line ends there.
    if (!IsLegalMove(move)) return;
    char* end = FormatCoordinateMove(buffer, move);
    *end++ = ' ';
    *end = '\0';
    PlyRecord& record = *CurrentPly;
    SaveSnapshot(record);
    MakeMove(move, record);
    ++CurrentPly;
    HashLine(end, n - 1);
    --CurrentPly;
    UnmakeMove(move, record);
}

int PrincipalLine(Move first, Move* line, int max) {
    if (max <= 0 || !IsLegalMove(first)) return 0;
    *line = first;
    PlyRecord& record = *CurrentPly;
    SaveSnapshot(record);
    MakeMove(first, record);
    ++CurrentPly;
    // A line ends at a draw: past a repetition it would go round in circles.
    std::optional<HashEntry> entry = DrawCode(1) ? std::nullopt : ProbeHash();
    int count = 1 + (entry ? PrincipalLine(entry->move(), line + 1, max - 1) : 0);
    --CurrentPly;
    UnmakeMove(first, record);
    return count;
}

} // namespace velkor
