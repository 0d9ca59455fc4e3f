// The opening book "Velkor.book": whole opening lines from the start position, planted into the
// transposition table when a game starts, so that the engine finds book moves by a plain probe.
#pragma once

#include <cstdint>
#include <filesystem>

#include "core/move.h"

namespace velkor {

// The book is looked for under this name in the working directory, then in the install's data
// folder, ../share/games/velkor beside the executable, then beside the executable itself; only
// where the executable's folder is unknown, in the data folder it was built to be installed to.
inline constexpr const char* BookFileName = "Velkor.book";
inline constexpr int MaxBookLineMoves = 64;

// The first of the book's places that holds a file it can read; empty when none does.
std::filesystem::path FindBookFile();

// Reads the book and plants every line, a randomly chosen one last (its moves stand where lines
// branch). Only from the start position. False when anything is wrong with the file; the
// position, CurrentPly and HashAge are as before in every case.
bool LoadBook(const std::filesystem::path& fileName);

// Plants one line of moves from the current position; false when a move is not a legal move of
// the position reached. The position and CurrentPly are unchanged afterwards.
bool PlantBookLine(const Move* moves, int count);

} // namespace velkor
