// Iterative deepening: what the search thread runs when told to think or ponder.
#pragma once

#include "core/move.h"

namespace velkor {

// Searches the current position; leaves the chosen move and its score in the first entry of the
// root list and returns the move (a result marker when the game is over at the root).
Move IterativeDeepening();

// A ponder search that ends by itself prints nothing; when the expected move then arrives, its
// closing line is printed by this (on the command thread, once the search thread is idle), so
// that the interface sees what the move is based on. Does nothing otherwise.
void PrintPendingFinalLine();

} // namespace velkor
