// The opening book "Velkor.book": whole opening lines from the start position, planted into the
// transposition table when a game starts, so that the engine finds book moves by a plain probe.
#pragma once

#include <cstdint>

#include "core/move.h"

namespace velkor {

inline constexpr const char* BookFileName = "Velkor.book";
inline constexpr int MaxBookLineMoves = 64;

// Reads the book and plants every line, a randomly chosen one last (its moves stand where lines
// branch). Only from the start position. False when anything is wrong with the file; the
// position, CurrentPly and HashAge are as before in every case.
bool LoadBook(const char* fileName);

// Plants one line of moves from the current position; false when a move is not a legal move of
// the position reached. The position and CurrentPly are unchanged afterwards.
bool PlantBookLine(const Move* moves, int count);

} // namespace velkor
