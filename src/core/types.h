// The small vocabulary everyone shares: squares, bitboards, piece codes, colours and moves.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Internal checks of the debug and sanitizer builds: a broken invariant stops the process at
// once, before it corrupts anything. Release builds compile them away.
#ifdef VELKOR_CHECKS
#define VELKOR_CHECK(condition)                                                                    \
    ((condition) ? void(0) : velkor::CheckFailed(#condition, __FILE__, __LINE__))
#else
#define VELKOR_CHECK(condition) ((void)0)
#endif

namespace velkor {

[[noreturn]] inline void CheckFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

using Bitboard = std::uint64_t;
using PieceCode = std::uint8_t;
using Move = std::uint16_t;
using HashKeyValue = std::uint64_t;

// Colour index: also the value of SideToMove and the index of every per-colour table.
enum Colour : int { Black = 0, White = 1 };

constexpr int Opponent(int colour) { return colour ^ 1; }

// Piece codes are the index of the piece letter in PieceLetters; odd codes are white.
enum PieceCodes : PieceCode {
    Empty = 0,
    WhitePawn = 1,
    BlackPawn = 2,
    WhiteKnight = 3,
    BlackKnight = 4,
    WhiteBishop = 5,
    BlackBishop = 6,
    WhiteRook = 7,
    BlackRook = 8,
    WhiteQueen = 9,
    BlackQueen = 10,
    WhiteKing = 11,
    BlackKing = 12,
};
inline constexpr int PieceCodeCount = 13;
inline constexpr char PieceLetters[] = ".PpNnBbRrQqKk";

constexpr int ColourOf(int piece) { return piece & 1; }
constexpr bool IsPawn(int piece) { return piece == WhitePawn || piece == BlackPawn; }
constexpr bool IsKing(int piece) { return piece == WhiteKing || piece == BlackKing; }

// The piece code of a white-coded piece for the given colour (pawn, knight, ... from white codes).
constexpr int PieceOfColour(int whiteCode, int colour) { return colour == White ? whiteCode : whiteCode + 1; }

// Squares: 0 = a8 ... 7 = h8, 8 = a7, ..., 56 = a1, ..., 63 = h1. White pawns move towards 0.
// clang-format off
enum Square : int {
    A8, B8, C8, D8, E8, F8, G8, H8,
    A7, B7, C7, D7, E7, F7, G7, H7,
    A6, B6, C6, D6, E6, F6, G6, H6,
    A5, B5, C5, D5, E5, F5, G5, H5,
    A4, B4, C4, D4, E4, F4, G4, H4,
    A3, B3, C3, D3, E3, F3, G3, H3,
    A2, B2, C2, D2, E2, F2, G2, H2,
    A1, B1, C1, D1, E1, F1, G1, H1,
};
// clang-format on
inline constexpr int SquareCount = 64;
inline constexpr int BoardSide = 8; // ranks, and files
inline constexpr int NoKingSquare = 100;

constexpr int RowOf(int square) { return square >> 3; }  // 0 for rank 8
constexpr int FileOf(int square) { return square & 7; } // 0 for file a
constexpr int SquareAt(int row, int file) { return row * 8 + file; }

// Castling-right bits.
enum CastlingRight : std::uint16_t {
    WhiteShort = 1,
    WhiteLong = 2,
    BlackShort = 8,
    BlackLong = 16,
    AllCastlingRights = WhiteShort | WhiteLong | BlackShort | BlackLong,
};

constexpr std::uint32_t LowHalf(HashKeyValue key) { return static_cast<std::uint32_t>(key); }
constexpr std::uint32_t HighHalf(HashKeyValue key) { return static_cast<std::uint32_t>(key >> 32); }

} // namespace velkor
