// FEN output and the printed board diagram, both of the live position.
#pragma once

#include <cstdio>

#include "core/types.h"

namespace velkor {

inline constexpr int FenBufferSize = 90;

// Writes the four-field FEN (placement, side, castling, en passant) of the current position and
// a terminating zero into buffer (at least FenBufferSize bytes).
void FormatFen(char* buffer);

// Prints the 64 piece codes as a diagram (on standard output unless told otherwise), rank 8 at
// the top.
void PrintBoard(const PieceCode* board, std::FILE* out = stdout);

} // namespace velkor
