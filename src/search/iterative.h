// Iterative deepening: what the search thread runs when told to think or ponder.
#pragma once

#include "core/move.h"

namespace velkor {

// Searches the current position; leaves the chosen move and its score in the first entry of the
// root list and returns the move (a result marker when the game is over at the root).
Move IterativeDeepening();


} // namespace velkor
