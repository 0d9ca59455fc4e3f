// Standard algebraic notation (Nf3, exd5, O-O, e8=Q+) and coordinate text, read against the
// live position for the side to move.
#pragma once

#include "core/move.h"
#include "core/types.h"

namespace velkor {

// The move of a SAN or coordinate token, or NoMove when it has a bad shape, no candidate, or is
// ambiguous. Decoration ("x+#!?=-") is ignored; the position is unchanged afterwards.
Move ParseSanMove(const char* text);

// The move of the piece (letter or pawn file in text[0]) of the side to move that reaches `to`
// from a square in fromMask; several candidates are told apart by legality.
Move ResolveSanMove(const char* text, int to, Bitboard fromMask);

} // namespace velkor
