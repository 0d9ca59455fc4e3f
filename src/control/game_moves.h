// The moves of the game: played on the position after a legality check, and taken back.
#pragma once

#include "core/move.h"

namespace velkor {

// Plays a move of the game on the position (the search must be idle); false for NoMove, an
// illegal move, or a move that no longer fits the game history. Refreshes the snapshot, clears
// the history scores and logs the new key.
bool ApplyGameMove(Move move);

// Takes back the last move of the game exactly as it was played; false when there is none.
// The search must be idle and no ponder move on the board.
bool UndoGameMove();

} // namespace velkor
