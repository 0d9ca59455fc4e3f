// The moves of the game: played on the position after a legality check, and taken back.
#pragma once

#include <vector>

#include "core/move.h"
#include "position/position.h"

namespace velkor {

// Plays a move of the game on the position (the search must be idle); false for NoMove or an
// illegal move. Refreshes the snapshot, clears the history scores and logs the new key. A game
// longer than the history forgets its oldest plies (and the take-backs to them).
bool ApplyGameMove(Move move);

// Takes back the last move of the game exactly as it was played; false when there is none.
// The search must be idle and no ponder move on the board.
bool UndoGameMove();

// The ponder move stands on the board before the opponent has played it. It is made like a game
// move, so that it can enter the game later without touching the position, which the ponder
// search is then using. Makes move with record (the search must be idle); false when it could
// not be a game move.
bool MakeTentativeGameMove(Move move, PlyRecord& record);

// The opponent played the tentative move: it becomes a game move (snapshot, key line, parked
// en-passant square) exactly as ApplyGameMove would have made it. Safe while the search runs.
void ConfirmTentativeGameMove();

// Takes the tentative move back (the search must be idle).
void TakeBackTentativeGameMove(Move move, PlyRecord& record);

// The game as it stands (position, history, snapshot), kept while a typed tool command borrows
// the position, and put back after it.
struct SavedGame {
    PositionCopy position;
    std::vector<HistoryEntry> history;
    GameSnapshotRecord snapshot;
};
SavedGame SaveGame();
void RestoreGame(const SavedGame& saved);

} // namespace velkor
