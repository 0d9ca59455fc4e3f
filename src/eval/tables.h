// The evaluation's constant tables: piece-square tables in their material-dependent variants,
// king-tropism weights, king-attack weights and openness factors.
#pragma once

#include <array>
#include <cstdint>

#include "core/types.h"

namespace velkor {

using PieceSquareTable = std::array<std::int16_t, SquareCount>;

// Laid out as the board from White's side: first row a8..h8, last row a1..h1. A white piece on
// s reads entry s, a black piece entry 63 - s; both kings read entry s of the king table.
// clang-format off
inline constexpr PieceSquareTable KingVariant1 = {
      4,  12,  -4,  -6,  -6,  -4,  12,   4,
     -9, -14, -24, -29, -29, -24, -14,  -9,
    -19, -28, -39, -30, -30, -39, -28, -19,
    -25, -39, -40, -55, -55, -40, -39, -25,
    -25, -39, -40, -55, -55, -40, -39, -25,
    -19, -28, -39, -30, -30, -39, -28, -19,
     -9, -14, -24, -29, -29, -24, -14,  -9,
      4,  12,  -2,  -6,  -6,  -2,  12,   4};
inline constexpr PieceSquareTable KingVariant2 = {
      0,   6,  -2,  -3,  -3,  -2,   6,   0,
     -3,  -5, -10, -15, -15, -10,  -5,  -3,
     -7, -14, -14, -18, -18, -14, -14,  -7,
     -8, -19, -28, -35, -35, -28, -19,  -8,
     -8, -19, -28, -35, -35, -28, -19,  -8,
     -7, -14, -12, -18, -18, -12, -14,  -7,
     -3,  -5, -14, -19, -19, -14,  -5,  -3,
      0,   6,  -2,  -3,  -3,  -2,   6,   0};
inline constexpr PieceSquareTable KingVariant3 = {
     -8,  -6,  -4,  -2,  -2,  -4,  -6,  -8,
     -6,  -4,  -2,   0,   0,  -2,  -4,  -6,
     -4,  -2,   0,   2,   2,   0,  -2,  -4,
     -2,   0,   2,   4,   4,   2,   0,  -2,
     -2,   0,   2,   4,   4,   2,   0,  -2,
     -4,  -2,   0,   2,   2,   0,  -2,  -4,
     -6,  -4,  -2,   0,   0,  -2,  -4,  -6,
     -8,  -6,  -4,  -2,  -2,  -4,  -6,  -8};
inline constexpr PieceSquareTable KingVariant4 = {
    -26, -19, -12,  -9,  -9, -12, -19, -26,
    -19, -15,  -6,   0,   0,  -6, -15, -19,
    -15,  -6,   0,   4,   4,   0,  -6, -15,
    -12,   0,   4,   9,   9,   4,   0, -12,
    -12,   0,   4,   9,   9,   4,   0, -12,
    -15,  -6,   0,   4,   4,   0,  -6, -15,
    -19, -15,  -6,   0,   0,  -6, -15, -19,
    -26, -19, -12,  -9,  -9, -12, -19, -26};

inline constexpr PieceSquareTable PawnVariant1 = {
      0,   0,   0,   0,   0,   0,   0,   0,
     18,  31,  33,  40,  40,  33,  31,  18,
      4,   5,  18,  26,  26,  18,   5,   4,
      1,   1,   4,  16,  16,   4,   1,   1,
      0,   0,   3,  12,  12,   3,   0,   0,
      0,  -1,   1,   2,   2,  -1,  -1,   0,
      0,   0,   0,  -9,  -9,   0,   0,   0,
      0,   0,   0,   0,   0,   0,   0,   0};
inline constexpr PieceSquareTable PawnVariant2 = {
      0,   0,   0,   0,   0,   0,   0,   0,
     29,  44,  48,  53,  53,  48,  44,  29,
      9,  10,  14,  20,  20,  14,  10,   9,
      3,   6,  10,  16,  16,  10,   6,   3,
      1,   4,   6,  14,  14,   6,   4,   1,
      0,   1,   0,   4,   4,   0,   1,   0,
      0,   0,   0,  -9,  -9,   0,   0,   0,
      0,   0,   0,   0,   0,   0,   0,   0};
inline constexpr PieceSquareTable PawnVariant3 = {
      0,   0,   0,   0,   0,   0,   0,   0,
     52,  64,  67,  75,  75,  67,  64,  52,
     30,  32,  35,  45,  45,  35,  32,  30,
     15,  16,  22,  28,  28,  22,  16,  15,
      6,   8,  17,  20,  20,  17,   8,   6,
      2,   3,   1,   4,   4,   1,   3,   2,
      0,   0,   0,  -9,  -9,   0,   0,   0,
      0,   0,   0,   0,   0,   0,   0,   0};
inline constexpr PieceSquareTable PawnVariant4 = {
      0,   0,   0,   0,   0,   0,   0,   0,
     72,  90,  99, 104, 104,  99,  90,  72,
     45,  54,  60,  65,  65,  60,  54,  45,
     18,  24,  28,  30,  28,  24,  30,  18,
      9,  12,  14,  18,  18,  14,  12,   9,
      1,   3,   1,   4,   4,   1,   3,   1,
      0,   0,   0,  -9,  -9,   0,   0,   0,
      0,   0,   0,   0,   0,   0,   0,   0};

inline constexpr PieceSquareTable KnightVariant1 = {
    -20, -18,  -6,  -4,  -4,  -6, -18, -20,
    -15,  -5,   0,   1,   1,   0,  -5, -15,
     -9,   4,  10,   9,   9,  10,   4,  -9,
     -6,   5,  12,  17,  17,  12,   5,  -6,
     -6,   5,  12,  17,  17,  12,   5,  -6,
     -9,   4,  10,   9,   9,  10,   4,  -9,
    -15,  -6,  -1,   2,   2,  -1,  -6, -15,
    -20, -18, -12, -10, -10, -12, -18, -20};
inline constexpr PieceSquareTable KnightVariant2 = {
    -19, -14,  -6,  -4,  -4,  -6, -14, -19,
    -14,  -5,   0,   1,   1,   0,  -5, -14,
     -9,   4,   8,   9,   9,   8,   4,  -9,
     -6,   5,   9,  15,  15,   9,   5,  -6,
     -6,   5,   9,  15,  15,   9,   5,  -6,
     -9,   4,   8,   9,   9,   8,   4,  -9,
    -14,  -6,  -1,   2,   2,  -1,  -6, -14,
    -19, -14,  -8,  -6,  -6,  -8, -14, -19};

inline constexpr PieceSquareTable BishopVariant1 = {
    -15, -12, -14,  -9,  -9, -14, -12, -27,
      6,   2,   2,   2,   2,   6, -12,  -5,
      4,   5,   8,   8,   5,   4,  -5,   0,
      6,   9,  13,  13,   9,   6,   0,   0,
      6,   9,  13,  13,   9,   6,   0,  -5,
      4,   5,   8,   8,   5,   4,  -5, -12,
      6,   2,   2,   2,   2,   6, -12, -15,
    -12, -14,  -9,  -9, -14, -12, -15,   0};
inline constexpr PieceSquareTable BishopVariant2 = {
    -15, -10,  -9,  -5,  -5,  -9, -10, -15,
    -10,   4,   2,   2,   2,   2,   4, -10,
     -1,   4,   8,   8,   8,   7,   4,  -1,
      1,   7,  10,  13,  13,  10,   7,   1,
      1,   7,  10,  13,  13,  10,   7,   1,
     -1,   4,   8,   8,   8,   8,   4,  -1,
    -10,   4,   2,   2,   2,   2,   4, -10,
    -15, -10,  -9,  -5,  -5,  -9, -10, -15};

inline constexpr PieceSquareTable RookVariant1 = {
      2,   4,   5,   6,   6,   5,   4,   2,
      7,   9,  11,  12,  12,  11,   9,   7,
     -1,   0,   4,   5,   5,   4,   0,  -1,
     -3,  -2,   3,   4,   4,   3,  -2,  -3,
     -4,  -3,   2,   3,   3,   2,  -3,  -4,
     -4,  -3,   2,   3,   3,   2,  -3,  -4,
     -6,  -2,   2,   3,   3,   2,  -2,  -6,
    -10,  -9,   0,   1,   1,   0,  -9, -10};
inline constexpr PieceSquareTable RookVariant2 = {
      2,   4,   5,   6,   6,   5,   4,   2,
      7,   9,  11,  12,  12,  11,   9,   7,
     -1,   0,   4,   5,   5,   4,   0,  -1,
     -3,  -2,   3,   4,   4,   3,  -2,  -3,
     -4,  -3,   2,   3,   3,   2,  -3,  -4,
     -4,  -3,   2,   3,   3,   2,  -3,  -4,
     -6,  -2,   2,   3,   3,   2,  -2,  -6,
     -8,  -6,   0,   1,   1,   0,  -6,  -8};

inline constexpr PieceSquareTable QueenVariant1 = {
     -1,   0,   1,   2,   2,   1,   0,  -1,
      2,   4,   3,   3,   3,   3,   4,   2,
      1,   2,   2,   2,   2,   2,   2,   1,
      0,   1,   1,   1,   1,   1,   1,   0,
      0,   1,   1,   1,   1,   1,   1,   0,
     -1,   2,   1,   1,   1,   1,   2,  -1,
     -2,  -2,   0,   3,   3,   0,  -2,  -2,
     -4,  -3,   0,   9,   9,   0,  -3,  -4};
inline constexpr PieceSquareTable QueenVariant2 = {
     -1,   2,   3,   4,   4,   3,   2,  -1,
      6,   7,   8,   9,   9,   8,   7,   6,
      3,   4,   5,   6,   6,   5,   4,   3,
      1,   2,   4,   7,   7,   4,   2,   1,
      0,   1,   3,   5,   5,   3,   1,   0,
     -1,   0,   1,   3,   3,   1,   0,  -1,
     -2,  -2,   0,   0,   0,   0,  -2,  -2,
     -4,  -3,   0,   1,   1,   0,  -3,  -4};
// clang-format on

static_assert(KingVariant1[G1] == 12 && KingVariant1[G8] == 12);
static_assert(KnightVariant1[E4] == 17 && KnightVariant1[63 - E5] == KnightVariant1[E4]);
static_assert(PawnVariant4[G5] == 30 && BishopVariant1[H8] == -27);

// Variant selection by MaterialCount M (both colours, pawn 1 ... queen 9).
inline constexpr int OpeningMaterial = 70;   // above: the opening variants
inline constexpr int MiddlegameMaterial = 62; // 63 to 70: early middlegame
inline constexpr int EndgameMaterial = 46;   // 15 to 46: endgame
inline constexpr int BareEndgameMaterial = 14;

constexpr const PieceSquareTable& KingSquareTable(int m) {
    return m > OpeningMaterial ? KingVariant1 : m > EndgameMaterial ? KingVariant2 : m > BareEndgameMaterial ? KingVariant3 : KingVariant4;
}
constexpr const PieceSquareTable& PawnSquareTable(int m) {
    return m > OpeningMaterial ? PawnVariant1 : m > MiddlegameMaterial ? PawnVariant2 : m > BareEndgameMaterial ? PawnVariant3 : PawnVariant4;
}
constexpr const PieceSquareTable& KnightSquareTable(int m) { return m > OpeningMaterial ? KnightVariant1 : KnightVariant2; }
constexpr const PieceSquareTable& BishopSquareTable(int m) { return m > OpeningMaterial ? BishopVariant1 : BishopVariant2; }
constexpr const PieceSquareTable& RookSquareTable(int m) { return m > OpeningMaterial ? RookVariant1 : RookVariant2; }
constexpr const PieceSquareTable& QueenSquareTable(int m) { return m > OpeningMaterial ? QueenVariant1 : QueenVariant2; }

// The table of a piece code (either colour) for material m.
constexpr const PieceSquareTable& SquareTableOf(int piece, int m) {
    switch ((piece + 1) >> 1) {
    case 1: return PawnSquareTable(m);
    case 2: return KnightSquareTable(m);
    case 3: return BishopSquareTable(m);
    case 4: return RookSquareTable(m);
    case 5: return QueenSquareTable(m);
    default: return KingSquareTable(m);
    }
}

// King-tropism weights by king distance, per piece type.
using TropismRow = std::array<std::int8_t, 8>;
inline constexpr TropismRow KnightTropism = {4, 5, 5, 2, 1, 0, 0, 0};
inline constexpr TropismRow BishopTropism = {5, 5, 4, 2, 1, 0, 0, 0};
inline constexpr TropismRow RookTropism = {6, 5, 4, 2, 1, 0, 0, 0};
inline constexpr TropismRow QueenTropism = {9, 9, 8, 4, 2, 1, 0, 0};

// King-attack weight by a side's tropism sum; deliberately not monotonic at 48.
inline constexpr int AttackWeightSize = 128;
inline constexpr std::array<std::int16_t, AttackWeightSize> AttackWeight = [] {
    std::array<std::int16_t, AttackWeightSize> weights{};
    constexpr std::int16_t first[60] = {
        0,   1,   3,   8,   10,  15,  20,  25,  30,  35,  40,  45,  50,  55,  60,
        65,  70,  75,  80,  85,  90,  95,  100, 110, 115, 117, 120, 122, 125, 127,
        130, 132, 135, 137, 140, 142, 145, 147, 150, 152, 155, 157, 160, 162, 165,
        167, 170, 172, 165, 167, 170, 172, 175, 177, 190, 192, 195, 197, 200, 200};
    for (int i = 0; i < AttackWeightSize; ++i) weights[i] = i < 60 ? first[i] : 200;
    return weights;
}();
static_assert(AttackWeight[47] == 172 && AttackWeight[48] == 165 && AttackWeight[127] == 200);

inline constexpr int OpennessFactorSize = 16;
inline constexpr std::array<std::int16_t, OpennessFactorSize> OpennessFactor = {
    1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4};

} // namespace velkor
