// What the engine says about its own moves: book moves, searched moves and game results.
#pragma once

namespace velkor {

// Plays the book move planted for the current position, if any; true when one was played.
// Without one, the first move after the book gets the enlarged budget.
bool PlayBookMove();

// After the search has stopped: plays and prints its move, or prints the game result when the
// game is over on the board; then announces a mate or draw the move itself produced. Leaves
// EngineState Waiting; returns true when a result line was printed.
bool AnnounceSearchResult();

} // namespace velkor
