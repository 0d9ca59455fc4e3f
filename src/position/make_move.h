// Make, unmake and the null move: every redundant structure of the position is kept up to date
// incrementally, and unmake copies most of it back from the ply record.
#pragma once

#include <stdexcept>

#include "core/move.h"
#include "position/position.h"

namespace velkor {

// Raised when a marker (kind 3) is handed to make or unmake: an internal error.
struct MarkerMoveError : std::logic_error {
    MarkerMoveError() : std::logic_error("a move marker cannot be made") {}
};

// Applies a pseudo-legal move of the side to move; record must have been filled by SaveSnapshot.
void MakeMove(Move move, PlyRecord& record);
// Exactly undoes the MakeMove given the same move and record.
void UnmakeMove(Move move, PlyRecord& record);

// Passes the turn (for the null-move search) and takes that back.
void MakeNullMove(PlyRecord& record);
void UnmakeNullMove(PlyRecord& record);

// Takes back moves[count - 1] .. moves[0], made one record apart upwards from the record below
// CurrentPly; CurrentPly steps down one record per move.
void TakeBackLine(const Move* moves, int count);

// Predicts, without making it, whether a quiet piece move repeats a position (1 or 2 earlier
// occurrences) or runs towards the fifty-move rule (1 above 75 moves, 2 above 99).
int HashMoveDrawRisk(Move move);

} // namespace velkor
