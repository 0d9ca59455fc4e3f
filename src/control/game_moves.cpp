// The moves of the game: each one checked, played on the position and remembered exactly, so that
// a take-back restores everything it changed. A move enters the game in two steps, made and then
// entered, so that the ponder move can be made early and entered when the opponent plays it.
#include "control/game_moves.h"

#include <algorithm>
#include <array>

#include "core/log.h"
#include "movegen/legal.h"
#include "position/make_move.h"
#include "search/history.h"

namespace velkor {

namespace {

// The position before each game move, by the history index it was played from, for "undo".
std::array<PositionCopy, GameHistorySize> PositionsBeforeGameMoves;

// What the command thread keeps of the move made last, taken while the position was its own.
GameSnapshotRecord SnapshotAfterMove;
HashKeyValue KeyAfterMove = 0;

// The key line of every game move and take-back: the two halves in hexadecimal.
void LogKey(HashKeyValue key) { LogLine(Hex{HighHalf(key)}, " ", Hex{LowHalf(key)}); }

// Makes a checked move of the game and keeps what undo and the entry need.
bool MakeGameMove(Move move, PlyRecord& record) {
    if (move == NoMove) return false;
    // Whatever arrives is checked: an illegal move would corrupt the position.
    if (!IsLegalMove(move)) return false;
    // The game plus the deepest search line must fit into the history: a very long game forgets
    // its oldest half, which no draw test reaches and only a take-back that far could need.
    if (HistoryIndex() + PlyStackSize + 1 >= GameHistorySize) {
        int dropped = HistoryIndex() / 2;
        DropOldestHistory(dropped);
        std::copy(PositionsBeforeGameMoves.begin() + dropped, PositionsBeforeGameMoves.end(),
                  PositionsBeforeGameMoves.begin());
        LogLine("-M: game history full, the oldest ", dropped, " plies forgotten");
    }
    CopyPosition(PositionsBeforeGameMoves[static_cast<std::size_t>(HistoryIndex())]);
    MakeMove(move, record);
    // The history scores belong to the position before; the search of the new one starts afresh.
    ClearHistoryScores();
    SnapshotAfterMove = SnapshotOfPosition();
    KeyAfterMove = HashKey;
    return true;
}

// The move made last becomes part of the game as the command thread sees it.
void EnterGameMove() {
    ParkedEnPassantSquare = 0;
    GameSnapshot = SnapshotAfterMove;
    LogKey(KeyAfterMove);
}

} // namespace

bool ApplyGameMove(Move move) {
    if (!MakeGameMove(move, *CurrentPly)) return false;
    EnterGameMove();
    return true;
}

bool MakeTentativeGameMove(Move move, PlyRecord& record) {
    SaveSnapshot(record);
    return MakeGameMove(move, record);
}

void ConfirmTentativeGameMove() { EnterGameMove(); }

void TakeBackTentativeGameMove(Move move, PlyRecord& record) { UnmakeMove(move, record); }

bool UndoGameMove() {
    if (HistoryIndex() == 0) return false;
    --HistoryTop;
    RestorePosition(PositionsBeforeGameMoves[static_cast<std::size_t>(HistoryIndex())]);
    HistoryTop->move = NoMove;
    HistoryTop->key = HashKey;
    RefreshGameSnapshot();
    LogKey(HashKey);
    return true;
}

SavedGame SaveGame() {
    SavedGame saved{{}, std::vector<HistoryEntry>(GameHistory.data(), HistoryTop + 1), GameSnapshot};
    CopyPosition(saved.position);
    return saved;
}

void RestoreGame(const SavedGame& saved) {
    RestorePosition(saved.position);
    std::copy(saved.history.begin(), saved.history.end(), GameHistory.begin());
    HistoryTop = GameHistory.data() + (saved.history.size() - 1);
    GameSnapshot = saved.snapshot;
    CurrentPly = PlyStack.data();
}

} // namespace velkor
