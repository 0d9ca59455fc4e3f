// The pawn-structure cache of the evaluation, indexed by the low 20 bits of PawnKey.
#pragma once

#include <array>
#include <cstdint>

namespace velkor {

inline constexpr std::uint32_t PawnCacheSize = 1u << 20;

// Bits 0-15 score + 8190 (0 = empty), bits 20-31 the PawnKey bits 20-31 as check tag. One cache
// serves every search thread: an entry is one word, read and written whole (a relaxed atomic, a
// plain move on x86-64), so that a reader finds either an old or a new entry and checks its tag.
using PawnCache = std::array<std::uint32_t, PawnCacheSize>;
extern PawnCache& PawnStructureCache;

inline std::uint32_t& PawnCacheEntry(std::uint32_t pawnKey) { return PawnStructureCache[pawnKey & (PawnCacheSize - 1)]; }

void ClearPawnStructureCache();

} // namespace velkor
