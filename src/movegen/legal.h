// The legal moves of the current position, for the callers outside the searches that must
// never make an illegal move (incoming game moves, table moves, book and tool checks).
#pragma once

#include "core/move.h"

namespace velkor {

// True when moves may be generated at all: both kings stand on the board and the side not to
// move is not in check (its king could be captured). "white" and "black" can break this.
bool PositionIsPlayable();

// Writes the legal moves of the side to move at list (room for MaxMoves); returns the end. A
// position that is not playable has none.
ScoredMove* GenerateLegalMoves(ScoredMove* list);

// True when the side to move is in check and has no legal move.
bool IsCheckmate();

// True when move is one of the legal moves of the side to move.
bool IsLegalMove(Move move);

// True when the full generator could produce move for the side to move.
bool IsPseudoLegal(Move move);

} // namespace velkor
