// What the engine says about its own moves: book moves, searched moves and game results.
#pragma once

#include "core/move.h"

namespace velkor {

// The book move planted for the current position, when it is legal there; NoMove otherwise.
Move PlantedBookMove();

// After the search has stopped: the legal move its result stands for (the first legal move when
// the result does not fit the position), or NoMove when the game is over at the root.
Move SearchResultMove();

// Plays the book move planted for the current position, if any; true when one was played.
// Without one, the first move after the book gets the enlarged budget.
bool PlayBookMove();

// After the search has stopped: plays and prints its move, or prints the game result when the
// game is over on the board; then announces a mate or draw the move itself produced. Leaves
// EngineState Waiting; returns true when a result line was printed.
bool AnnounceSearchResult();

} // namespace velkor
