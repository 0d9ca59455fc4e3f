// Huge-page-backed memory for the big tables.
#include "core/large_table.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace velkor {

namespace {
inline constexpr std::size_t HugePageBytes = std::size_t{2} << 20;
} // namespace

void* AllocateLargeTable(std::size_t bytes) {
    std::size_t rounded = (bytes + HugePageBytes - 1) / HugePageBytes * HugePageBytes;
#ifdef __linux__
    // Mapped with a huge page's worth to spare, so that an aligned start can be picked; the
    // kernel hands out zero-filled pages only when they are first touched.
    void* mapped = mmap(nullptr, rounded + HugePageBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped != MAP_FAILED) {
        auto address = reinterpret_cast<std::uintptr_t>(mapped);
        auto aligned = (address + HugePageBytes - 1) & ~(HugePageBytes - 1);
        void* table = reinterpret_cast<void*>(aligned);
        madvise(table, rounded, MADV_HUGEPAGE);
        return table;
    }
#endif
    void* table = std::aligned_alloc(HugePageBytes, rounded);
    if (!table) {
        std::fputs("out of memory for the engine's tables\n", stderr);
        std::abort();
    }
    return table;
}

} // namespace velkor
