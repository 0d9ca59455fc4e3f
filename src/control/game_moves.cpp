// The moves of the game: each one checked, played on the position and remembered exactly, so that
// a take-back restores everything it changed.
#include "control/game_moves.h"

#include <array>

#include "core/log.h"
#include "movegen/legal.h"
#include "position/make_move.h"
#include "search/history.h"

namespace velkor {

namespace {

// The position before each game move, by the history index it was played from, for "undo".
std::array<PositionCopy, GameHistorySize> PositionsBeforeGameMoves;

// The key line of every game move and take-back: the two halves in hexadecimal.
void LogKey() { LogLine(Hex{HighHalf(HashKey)}, " ", Hex{LowHalf(HashKey)}); }

} // namespace

bool ApplyGameMove(Move move) {
    if (move == NoMove) return false;
    // The game plus the deepest search line must fit into the history.
    if (HistoryIndex() + PlyStackSize + 1 >= GameHistorySize) {
        LogLine("-M: game history full, move ignored");
        return false;
    }
    // Whatever arrives is checked: an illegal move would corrupt the position.
    if (!IsLegalMove(move)) return false;
    CopyPosition(PositionsBeforeGameMoves[static_cast<std::size_t>(HistoryIndex())]);
    MakeMove(move, *CurrentPly);
    ParkedEnPassantSquare = 0;
    RefreshGameSnapshot();
    ClearHistoryScores();
    LogKey();
    return true;
}

bool UndoGameMove() {
    if (HistoryIndex() == 0) return false;
    --HistoryTop;
    RestorePosition(PositionsBeforeGameMoves[static_cast<std::size_t>(HistoryIndex())]);
    HistoryTop->move = NoMove;
    HistoryTop->key = HashKey;
    RefreshGameSnapshot();
    LogKey();
    return true;
}

} // namespace velkor
