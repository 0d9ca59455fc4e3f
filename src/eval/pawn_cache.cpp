// Storage of the pawn-structure cache.
#include "eval/pawn_cache.h"

#include "core/large_table.h"

namespace velkor {

PawnCache& PawnStructureCache = AllocateLargeTable<PawnCache>();

void ClearPawnStructureCache() { PawnStructureCache.fill(0); }

} // namespace velkor
