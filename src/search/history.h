// Search state that outlives one search: history counters of cut-off moves.
#pragma once

#include <array>
#include <cstdint>

namespace velkor {

// By colour and by the from/to bits of a move.
extern std::array<std::array<std::uint32_t, 4096>, 2> HistoryScores;

void ClearHistoryScores();

} // namespace velkor
