// Building the whole position from FEN or EPD text.
#pragma once

#include "movegen/move.h"
#include "position/types.h"

namespace velkor {

inline constexpr const char* StartPositionFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

// Sets up the position of a FEN text, optionally followed by an EPD "bm"/"am" operation, and
// resets everything that depends on the position (history, snapshot, transposition table, search
// tables, pawn cache). Returns false, leaving the previous position fully in force, when the text
// is malformed or describes a position that cannot be played; with loadBook the opening book is
// planted once the position stands.
bool SetupPosition(const char* text, bool loadBook);

// The position alone, for tools that never search (perft): the game history and snapshot are
// rebuilt, the search tables are left as they are. Same acceptance rules as SetupPosition.
bool SetupBoardOnly(const char* text);

// The key that set-up gives the standard start position.
HashKeyValue StartPositionKey();

// True when the current position is the standard start position: its placement, White to move,
// every castling right and no en-passant square.
bool IsStartPosition();

// The EPD operation of the last accepted set-up: 'b' (bm), 'a' (am) or 0, and its move.
extern char EpdOperation;
extern Move EpdMove;

} // namespace velkor
