// Coordinate move text of the protocol: e2e4, e7e8q, castling as the king's move.
#pragma once

#include "core/move.h"

namespace velkor {

// Writes the text of move and a terminating zero into buffer (at least 6 bytes); returns the
// position of the terminator so that callers can append.
char* FormatCoordinateMove(char* buffer, Move move);

// The move for the text, judged against GameSnapshot, or NoMove when the text is not shaped
// like a move. Reads at most five characters; legality is not checked.
Move ParseCoordinateMove(const char* text);

// The same parse against the live position, accepting promotion letters in either case.
Move ParseCoordinateMoveLive(const char* text);

} // namespace velkor
