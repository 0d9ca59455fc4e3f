// Search state that outlives one search: history counters of cut-off moves and the killers. Every
// search thread keeps its own.
#pragma once

#include <array>
#include <cstdint>

#include "core/thread_local.h"

namespace velkor {

// By colour and by the from/to bits of a move.
alignas(CacheLineBytes) extern VELKOR_PER_THREAD std::array<std::array<std::uint32_t, 4096>, 2> HistoryScores;

// The command thread forgets what the searches learnt when the game changes under them. Each
// clears the calling thread's own state at once and every other search thread's when that thread
// next starts a search (CatchUpClears).
void ClearHistoryScores();
// The killers of every record of the ply stack.
void ClearKillers();
// Carries out on this thread the clears asked for since its last search; every search starts so.
void CatchUpClears();

} // namespace velkor
