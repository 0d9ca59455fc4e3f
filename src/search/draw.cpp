// Draw detection from the material counters and the game history.
#include "search/draw.h"

#include "position/position.h"

namespace velkor {

namespace {
inline constexpr int BareMaterial = 4;
inline constexpr int FiftyMoveLimit = 99;
inline constexpr int MinimumRepetitionClock = 4;
} // namespace

bool IsBareMaterial() {
    return MaterialCount < BareMaterial && !(PieceBitboards[WhitePawn] | PieceBitboards[BlackPawn]);
}

Move DrawCode(int count) {
    if (IsBareMaterial()) return ResultNoMaterial;
    int clock = HistoryTop->halfmoveClock;
    if (clock < MinimumRepetitionClock) return NoMove;
    if (clock > FiftyMoveLimit) return ResultFiftyMoves;
    // Positions with the same side to move, back to the last irreversible move.
    const HistoryEntry* entry = HistoryTop - 4;
    for (int k = entry->halfmoveClock;; k -= 2, entry -= 2) {
        if (entry->key == HistoryTop->key && --count == 0) return ResultRepetition;
        if (k - 2 < 0) break;
    }
    return NoMove;
}

} // namespace velkor
