// The storage class of the state every search thread has its own instance of: the position, the
// ply stack and the search's counters and tables. Declared `extern VELKOR_PER_THREAD` in a header
// and defined `VELKOR_PER_THREAD` in one source file, with a constant start value (constinit), so
// that no access pays for a first-use check.
#pragma once

#include <cstddef>

// On ELF systems the library is only ever linked into programs: each instance then sits at a fixed
// offset from the thread pointer (the local-exec model), and an access costs what a global's does.
#if defined(__ELF__)
#define VELKOR_PER_THREAD __attribute__((tls_model("local-exec"))) thread_local constinit
#else
#define VELKOR_PER_THREAD thread_local constinit
#endif

namespace velkor {
// The per-thread arrays the search reads at every node start on a cache line of their own, as the
// compiler lays out large globals; per-thread storage is otherwise aligned for its largest word only.
inline constexpr std::size_t CacheLineBytes = 64;
} // namespace velkor
