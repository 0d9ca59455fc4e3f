// Memory for the big tables that every node probes at random (the transposition table, the
// pawn-structure cache), backed by 2 MiB pages where the system allows: with 4 KiB pages nearly
// every probe also misses the TLB.
#pragma once

#include <cstddef>
#include <new>

namespace velkor {

// Zero-filled memory of the given size for the life of the process, aligned to 2 MiB and asked
// to be backed by huge pages before anything touches it. Aborts when there is no memory.
void* AllocateLargeTable(std::size_t bytes);

// The table of type Table (an array of plain records) in such memory.
template <typename Table>
Table& AllocateLargeTable() {
    return *new (AllocateLargeTable(sizeof(Table))) Table;
}

} // namespace velkor
