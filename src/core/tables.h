// Precomputed geometry: square masks, attack sets, the rotated sliding tables and the
// evaluation masks, all filled once by InitTables and read-only afterwards.
#pragma once

#include <array>
#include <bit>

#include "core/types.h"

namespace velkor {

using SquareTable = std::array<Bitboard, SquareCount>;
using SlidingTable = std::array<std::array<Bitboard, 256>, SquareCount>;
using SquareBytes = std::array<std::uint8_t, SquareCount>;

// Files and ranks as sets of squares.
inline constexpr Bitboard FileABits = 0x8080808080808080ULL;
inline constexpr Bitboard FileHBits = 0x0101010101010101ULL;
inline constexpr Bitboard Rank8Bits = 0xFF00000000000000ULL;
inline constexpr Bitboard Rank6Bits = 0x0000FF0000000000ULL;
inline constexpr Bitboard Rank3Bits = 0x0000000000FF0000ULL;
inline constexpr Bitboard Rank1Bits = 0x00000000000000FFULL;

// Square s is bit 63 - s: a8 is the top bit, h1 the bottom one.
constexpr Bitboard MaskOf(int square) { return 0x8000000000000000ULL >> square; }

// The square of the lowest set bit, which is the highest-numbered square in x. x must not be empty.
inline int LowestSquare(Bitboard x) { return 63 - std::countr_zero(x); }

extern SquareTable SquareMask;
extern SquareTable SquareMaskRot90;
extern SquareTable SquareMaskRotA1H8;
extern SquareTable SquareMaskRotA8H1;

extern SquareTable KingAttacks;
extern SquareTable KnightAttacks;
extern SquareTable WhitePawnAttacks;
extern SquareTable BlackPawnAttacks;

extern SlidingTable RankAttacks;
extern SlidingTable FileAttacks;
extern SlidingTable DiagA1H8Attacks;
extern SlidingTable DiagA8H1Attacks;

extern SquareBytes DiagShiftA1H8;
extern SquareBytes DiagShiftA8H1;
extern SquareBytes DiagMaskA1H8;
extern SquareBytes DiagMaskA8H1;

// The squares strictly between two squares on one rank, file or diagonal (empty otherwise).
extern std::array<SquareTable, SquareCount> SquaresBetween;

extern SquareTable RookLines;
extern SquareTable BishopLines;
extern SquareTable QueenLines;

extern SquareTable FileOther;
extern SquareTable AdjacentFiles;
extern SquareTable WhitePassMask;
extern SquareTable BlackPassMask;
extern SquareTable WhiteFront;
extern SquareTable BlackFront;

// Indexed by the en-passant target square: its rotated bit together with the captured pawn's.
extern SquareTable EnPassantRot90;
extern SquareTable EnPassantRotA1H8;
extern SquareTable EnPassantRotA8H1;

// Index of a square in each rotated bit order (the square then sits at bit 63 - index).
int Rot90Index(int square);
int RotA1H8Index(int square);
int RotA8H1Index(int square);

Bitboard RotateTo90(Bitboard x);
Bitboard RotateToA1H8(Bitboard x);
Bitboard RotateToA8H1(Bitboard x);

// Fills every computed table; calling it again yields the same contents.
void InitTables();

// Sliding lookups under an explicit occupancy in each bit order.
inline Bitboard RankAttacksFrom(int s, Bitboard occupied) {
    return RankAttacks[s][(occupied >> (8 * (7 - RowOf(s)))) & 0xFF];
}
inline Bitboard FileAttacksFrom(int s, Bitboard rot90) {
    return FileAttacks[s][(rot90 >> (8 * FileOf(s))) & 0xFF];
}
inline Bitboard DiagA1H8AttacksFrom(int s, Bitboard rotA1H8) {
    return DiagA1H8Attacks[s][(rotA1H8 >> DiagShiftA1H8[s]) & DiagMaskA1H8[s]];
}
inline Bitboard DiagA8H1AttacksFrom(int s, Bitboard rotA8H1) {
    return DiagA8H1Attacks[s][(rotA8H1 >> DiagShiftA8H1[s]) & DiagMaskA8H1[s]];
}

} // namespace velkor
