// Reading a FEN (optionally with an EPD "bm"/"am" operation) into a scratch position, checking
// that the engine can play it, and building the global position from it.
#pragma once

#include <array>
#include <cstdint>

#include "core/move.h"
#include "core/types.h"

namespace velkor {

inline constexpr const char* StartPositionFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
inline constexpr int EpdMoveTextLength = 9;

// A position read from text, before it becomes the position.
struct ParsedFen {
    std::array<PieceCode, SquareCount> board{};
    int sideToMove = White;
    std::uint16_t castlingRights = 0;
    int enPassantSquare = 0;
    char epdOperation = 0; // 'b' for bm, 'a' for am, 0 for none
    char epdMove[EpdMoveTextLength + 1] = {};
};

// Parses text into fen and checks it: false when the text is malformed or the position cannot be
// played (no or two kings of a colour, the side not to move in check, a pawn on its first or
// last rank, more pieces than promotions give). Castling rights without their king and rook, and
// en-passant squares no game could have left, are dropped. Nothing global changes.
bool ReadFen(const char* text, ParsedFen& fen);

// Makes fen the position: board, bitboards, keys, counters, a fresh game history and snapshot.
void BuildPosition(const ParsedFen& fen);

// The position alone, for tools that never search (perft): ReadFen, then BuildPosition. The
// search tables are left as they are.
bool SetupBoardOnly(const char* text);

// The key that set-up gives the standard start position.
HashKeyValue StartPositionKey();

// True when the current position is the standard start position: its placement, White to move,
// every castling right and no en-passant square.
bool IsStartPosition();

} // namespace velkor
