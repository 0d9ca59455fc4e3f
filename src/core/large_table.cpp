// Memory for the big tables, from the system's large-page allocation.
#include "core/large_table.h"

#include "core/platform.h"

namespace velkor {

void* AllocateLargeTable(std::size_t bytes) { return AllocateLargeMemory(bytes); }

} // namespace velkor
