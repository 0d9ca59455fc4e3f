// Storage and maintenance of the transposition table.
#include "search/transposition.h"

#include <cstring>

namespace velkor {

std::array<HashBucket, 2 * HashBucketsPerSide> TranspositionTable;
std::uint16_t HashAge;

void ClearHash() { std::memset(TranspositionTable.data(), 0, sizeof(TranspositionTable)); }

} // namespace velkor
