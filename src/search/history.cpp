// History counters of cut-off moves.
#include "search/history.h"

namespace velkor {

std::array<std::array<std::uint32_t, 4096>, 2> HistoryScores;

void ClearHistoryScores() {
    for (auto& colour : HistoryScores) colour.fill(0);
}

} // namespace velkor
