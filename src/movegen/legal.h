// The legal moves of the current position, for the callers outside the searches that must
// never make an illegal move (incoming game moves, table moves, book and tool checks).
#pragma once

#include "movegen/move.h"

namespace velkor {

// Writes the legal moves of the side to move at list (room for MaxMoves); returns the end.
ScoredMove* GenerateLegalMoves(ScoredMove* list);

// True when move is one of the legal moves of the side to move.
bool IsLegalMove(Move move);

} // namespace velkor
