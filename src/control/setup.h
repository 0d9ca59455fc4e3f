// Setting up the game position from FEN or EPD text, with everything that depends on it.
#pragma once

#include "core/move.h"
#include "position/fen_reader.h"

namespace velkor {

// Sets up the position of a FEN text, optionally followed by an EPD "bm"/"am" operation, and
// resets everything that depends on the position (history, snapshot, transposition table, search
// tables, pawn cache). Returns false, leaving the previous position fully in force, when the text
// is malformed or describes a position that cannot be played; with loadBook the opening book is
// planted once the position stands, and a book that cannot be planted at the start position is
// told to the interface unless tellBookError is false.
bool SetupPosition(const char* text, bool loadBook, bool tellBookError = true);

// Sets up the position of a FEN text in a game that goes on: the search tables stay as they are
// (UCI sends the whole game again before every move). With loadBook the book is planted when
// the text is the start position; bookPlanted tells whether it was. False, changing nothing, for
// a text SetupPosition refuses or one with an EPD operation.
bool SetupGamePosition(const char* text, bool loadBook, bool& bookPlanted);

// Clears the transposition table, the history scores, the killers and the pawn cache.
void ClearSearchTables();

// The EPD operation of the last accepted set-up: 'b' (bm), 'a' (am) or 0, and its move.
extern char EpdOperation;
extern Move EpdMove;

} // namespace velkor
