// Storage of the pawn-structure cache.
#include "eval/pawn_cache.h"

namespace velkor {

std::array<std::uint32_t, PawnCacheSize> PawnStructureCache;

void ClearPawnStructureCache() { PawnStructureCache.fill(0); }

} // namespace velkor
