// Static evaluation: king placement, pawn shelter and king openness, pawn structure (cached by
// pawn key), piece values and squares, bishop and rook terms, the exchange imbalance and king
// attack by tropism.
#include "eval/evaluate.h"

#include <algorithm>
#include <atomic>

#include "core/tables.h"
#include "eval/pawn_cache.h"
#include "eval/tables.h"
#include "position/position.h"

namespace velkor {

namespace {

inline constexpr int BareKingsMaterial = 4;
inline constexpr int KingSafetyMaterial = 35;
inline constexpr int ScoreOffset = 8190;
inline constexpr std::uint32_t PawnCacheTagMask = 0xFFF00000;
inline constexpr std::uint32_t PawnCacheScoreMask = 0xFFFF;

inline constexpr int PawnValue = 100;
inline constexpr int KnightValue = 310; // plus the number of pawns on the board
inline constexpr int BishopValue = 315; // minus the number of pawns on the board
inline constexpr int RookValue = 500;
inline constexpr int QueenValue = 950;

inline constexpr int DoubledPawn = 8;
inline constexpr int PassedPawnPerRank = 16;
inline constexpr int IsolatedPawn = 18;
inline constexpr int IsolatedOnOpenFile = 6;
inline constexpr int AttackedPawnPerUnit = 8;
inline constexpr int TrappedBishop = 220;
inline constexpr int BishopPair = 32;
inline constexpr int RookOpenFile = 20;
inline constexpr int RookHalfOpenFile = 8;
inline constexpr int RookBehindPassedPawn = 20;
inline constexpr int RookOnSeventh = 12;
inline constexpr int RooksOnSeventh = 24;
inline constexpr int RooksOnSeventhKingOnEighth = 36;
inline constexpr int RooksOnSeventhKingOnSeventh = 12;
inline constexpr int QueenImbalance = 60;
inline constexpr int PieceImbalance = 100;
inline constexpr int MinorForMajorImbalance = 60;
inline constexpr int TwoMinorsImbalance = 130;
inline constexpr int ImbalanceMaterial = 4;
inline constexpr int KingAttackMaterial = 13;

constexpr Bitboard Bits(std::initializer_list<int> squares) {
    Bitboard set = 0;
    for (int s : squares) set |= MaskOf(s);
    return set;
}

inline constexpr Bitboard LightSquares = [] {
    Bitboard set = 0;
    for (int s = 0; s < SquareCount; ++s)
        if ((RowOf(s) + FileOf(s)) % 2 == 0) set |= MaskOf(s);
    return set;
}();
inline constexpr Bitboard Rank7 = 0x00FF000000000000ULL;
inline constexpr Bitboard Rank2 = 0x000000000000FF00ULL;

// The king distance (moves a king needs) between two squares, looked up rather than computed:
// the tropism terms ask for it once per piece at every evaluation.
inline constexpr auto KingDistance = [] {
    std::array<std::array<std::uint8_t, SquareCount>, SquareCount> distance{};
    for (int a = 0; a < SquareCount; ++a)
        for (int b = 0; b < SquareCount; ++b) {
            int rows = RowOf(a) > RowOf(b) ? RowOf(a) - RowOf(b) : RowOf(b) - RowOf(a);
            int files = FileOf(a) > FileOf(b) ? FileOf(a) - FileOf(b) : FileOf(b) - FileOf(a);
            distance[a][b] = static_cast<std::uint8_t>(rows > files ? rows : files);
        }
    return distance;
}();
static_assert(KingDistance[A8][H1] == 7 && KingDistance[E4][F6] == 2 && KingDistance[B2][B2] == 0);
inline bool HasTwo(Bitboard set) { return (set & (set - 1)) != 0; }
inline bool Has(Bitboard set, int square) { return (set & MaskOf(square)) != 0; }

int PawnShelter(Bitboard whitePawns, Bitboard blackPawns) {
    int qB = PieceBitboards[BlackQueen] ? 6 : 0;
    int qW = PieceBitboards[WhiteQueen] ? 6 : 0;
    Bitboard whiteRooks = PieceBitboards[WhiteRook], blackRooks = PieceBitboards[BlackRook];
    int white = KingSquare[White], black = KingSquare[Black];
    int score = 0;
    auto count = [](std::initializer_list<int> squares, int pawn) {
        int n = 0;
        for (int s : squares) n += Board[s] == pawn;
        return n;
    };
    if ((white == F1 || white == G1 || white == H1) && !(whiteRooks & Bits({G1, H1}))) {
        score += (6 + qB) * count({F2, G2, H2}, WhitePawn);
        if (whitePawns & Bits({G3, H3})) score += (6 + qB) / 2;
    }
    if ((white == A1 || white == B1 || white == C1) && !(whiteRooks & Bits({A1, B1}))) {
        score += (3 + qB) * count({A2, B2, C2}, WhitePawn);
        if (whitePawns & Bits({A3, B3})) score += (3 + qB) >> 1;
    }
    if ((black == F8 || black == G8 || black == H8) && !(blackRooks & Bits({G8, H8}))) {
        score -= (6 + qW) * count({F7, G7, H7}, BlackPawn);
        if (blackPawns & Bits({G6, H6})) score -= (6 + qW) / 2;
    }
    if ((black == A8 || black == B8 || black == C8) && !(blackRooks & Bits({A8, B8}))) {
        score -= (3 + qW) * count({A7, B7, C7}, BlackPawn);
        if (blackPawns & Bits({A6, B6})) score -= (3 + qW) >> 1;
    }
    return score;
}

// How open the files around a king are (0 to 13): own pawns missing count more than enemy ones.
int KingOpenness(int king, Bitboard own, Bitboard enemy, bool enemyHasQueen) {
    int counter = 0;
    if (!(own & FileOther[king])) counter = 2;
    if (!(enemy & FileOther[king])) counter += counter ? 2 : 1;
    auto neighbour = [&](int square) {
        if (!(own & FileOther[square])) counter += counter > 3 ? 3 : 2;
        if (!(enemy & FileOther[square])) counter += counter > 3 ? 2 : 1;
    };
    if (FileOf(king) != 7) neighbour(king + 1);
    if (FileOf(king) != 0) neighbour(king - 1);
    return counter + (enemyHasQueen ? 1 : 0);
}

// Pawns attacked by enemy pawns, counted against their own defenders.
int AttackedPawnUnits(Bitboard attackers, Bitboard defenders) {
    if (!attackers) return 0;
    int n = HasTwo(attackers) ? 3 : 2;
    if (defenders) n -= HasTwo(defenders) ? 2 : 1;
    return n;
}

struct PieceTally {
    int whiteTropism = 0;
    int blackTropism = 0;
    int minors = 0; // White's knights and bishops minus Black's
    int majors = 0; // White's rooks and queens minus Black's
};

// Value and square terms of one piece set (a black piece reads the reflected square), with its
// king tropism towards the enemy king; count goes up (White) or down (Black) per piece.
template <int Us>
int PieceTerms(Bitboard pieces, int value, const PieceSquareTable& squares, const TropismRow& tropism,
               int enemyKing, int& tropismSum, int& count) {
    int score = 0;
    for (; pieces; pieces &= pieces - 1) {
        int s = LowestSquare(pieces);
        score += value + squares[Us == White ? s : 63 - s];
        tropismSum += tropism[KingDistance[s][enemyKing]];
        count += Us == White ? 1 : -1;
    }
    return score;
}

int TrappedBishops() {
    int score = 0;
    Bitboard white = PieceBitboards[WhiteBishop], black = PieceBitboards[BlackBishop];
    Bitboard whitePawns = PieceBitboards[WhitePawn], blackPawns = PieceBitboards[BlackPawn];
    if (white) {
        if ((Has(white, A7) && Has(blackPawns, B6)) || (Has(white, B8) && Has(blackPawns, C7)) ||
            (Has(white, G8) && Has(blackPawns, F7)) || (Has(white, H7) && Has(blackPawns, G6)))
            score -= TrappedBishop;
        if ((white & LightSquares) && (white & ~LightSquares)) score += BishopPair;
    }
    if (black) {
        if ((Has(black, A2) && Has(whitePawns, B3)) || (Has(black, B1) && Has(whitePawns, C2)) ||
            (Has(black, G1) && Has(whitePawns, F2)) || (Has(black, H2) && Has(whitePawns, G3)))
            score += TrappedBishop;
        if ((black & LightSquares) && (black & ~LightSquares)) score -= BishopPair;
    }
    return score;
}

int RookFiles(Bitboard whitePawns, Bitboard blackPawns) {
    int score = 0;
    for (Bitboard rooks = PieceBitboards[WhiteRook]; rooks; rooks &= rooks - 1) {
        int s = LowestSquare(rooks);
        Bitboard ownOnFile = whitePawns & FileOther[s];
        if (!ownOnFile) {
            score += (blackPawns & FileOther[s]) ? RookHalfOpenFile : RookOpenFile;
        } else {
            int pawn = LowestSquare(ownOnFile); // the white pawn nearest rank 1
            if (!(blackPawns & WhitePassMask[pawn]) && pawn < s) score += RookBehindPassedPawn;
        }
    }
    for (Bitboard rooks = PieceBitboards[BlackRook]; rooks; rooks &= rooks - 1) {
        int s = LowestSquare(rooks);
        Bitboard ownOnFile = blackPawns & FileOther[s];
        if (!ownOnFile) {
            score -= (whitePawns & FileOther[s]) ? RookHalfOpenFile : RookOpenFile;
        } else {
            int pawn = LowestSquare(ownOnFile); // the black pawn nearest rank 1, its most advanced
            if (!(whitePawns & BlackPassMask[pawn]) && s < pawn) score -= RookBehindPassedPawn;
        }
    }
    return score;
}

int RooksOnSeventhRank() {
    int score = 0;
    if (Bitboard white = PieceBitboards[WhiteRook] & Rank7) {
        if (!HasTwo(white)) {
            score += RookOnSeventh;
        } else {
            score += RooksOnSeventh;
            if (RowOf(KingSquare[Black]) == 0) score += RooksOnSeventhKingOnEighth;
            else if (RowOf(KingSquare[Black]) == 1) score += RooksOnSeventhKingOnSeventh;
        }
    }
    if (Bitboard black = PieceBitboards[BlackRook] & Rank2) {
        if (!HasTwo(black)) {
            score -= RookOnSeventh;
        } else {
            score -= RooksOnSeventh;
            if (RowOf(KingSquare[White]) == 7) score -= RooksOnSeventhKingOnEighth;
            else if (RowOf(KingSquare[White]) == 6) score -= RooksOnSeventhKingOnSeventh;
        }
    }
    return score;
}

int ExchangeImbalance(int m, int j) {
    bool whiteQueen = PieceBitboards[WhiteQueen] != 0, blackQueen = PieceBitboards[BlackQueen] != 0;
    bool queensBalanced = whiteQueen == blackQueen;
    if (m == 0 && j == 0) {
        if (whiteQueen && !blackQueen) return QueenImbalance;
        if (blackQueen && !whiteQueen) return -QueenImbalance;
        return 0;
    }
    if (m == 0) return queensBalanced ? (j > 0 ? PieceImbalance : -PieceImbalance) : 0;
    switch (j) {
    case 0: return queensBalanced ? (m > 0 ? PieceImbalance : -PieceImbalance) : 0;
    case 1: return m < -1 ? -PieceImbalance : m == -1 ? MinorForMajorImbalance : 0;
    case 2: return m < -2 ? -TwoMinorsImbalance : 0;
    case -2: return m > 2 ? TwoMinorsImbalance : 0;
    case -1: return m > 1 ? PieceImbalance : m == 1 ? -MinorForMajorImbalance : 0;
    default: return 0;
    }
}

int KingAttack(int weightIndex, int openness) {
    return OpennessFactor[openness] * AttackWeight[std::min(weightIndex, AttackWeightSize - 1)];
}

} // namespace

int PawnStructureScore() {
    Bitboard whitePawns = PieceBitboards[WhitePawn], blackPawns = PieceBitboards[BlackPawn];
    const PieceSquareTable& squares = PawnSquareTable(MaterialCount);
    int t = 0;
    for (Bitboard pawns = whitePawns; pawns; pawns &= pawns - 1) {
        int s = LowestSquare(pawns);
        t += PawnValue + squares[s];
        bool passed = !(blackPawns & WhitePassMask[s]);
        int passedBonus = PassedPawnPerRank * (7 - RowOf(s));
        if (!(whitePawns & FileOther[s])) {
            if (passed) t += passedBonus;
        } else {
            t -= DoubledPawn;
            bool front = (whitePawns & WhiteFront[s]) != 0;
            if (passed && !front) t += passedBonus;
            if (front) passed = false;
        }
        if (!(whitePawns & AdjacentFiles[s])) {
            t -= IsolatedPawn;
            if (!(blackPawns & WhiteFront[s])) t -= IsolatedOnOpenFile;
        } else if (!passed && s > H7) {
            t -= AttackedPawnPerUnit *
                 AttackedPawnUnits(blackPawns & WhitePawnAttacks[s], whitePawns & BlackPawnAttacks[s]);
        }
    }
    for (Bitboard pawns = blackPawns; pawns; pawns &= pawns - 1) {
        int s = LowestSquare(pawns);
        t -= PawnValue + squares[63 - s];
        bool passed = !(whitePawns & BlackPassMask[s]);
        int passedBonus = PassedPawnPerRank * RowOf(s);
        if (!(blackPawns & FileOther[s])) {
            if (passed) t -= passedBonus;
        } else {
            t += DoubledPawn;
            bool front = (blackPawns & BlackFront[s]) != 0;
            if (passed && !front) t -= passedBonus;
            if (front) passed = false;
        }
        if (!(blackPawns & AdjacentFiles[s])) {
            t += IsolatedPawn;
            if (!(whitePawns & BlackFront[s])) t += IsolatedOnOpenFile;
        } else if (!passed && s < A2) {
            // Deliberately lopsided: a black pawn's own defenders raise the count.
            Bitboard attackers = whitePawns & BlackPawnAttacks[s];
            if (attackers) {
                int n = HasTwo(attackers) ? 3 : 2;
                if (Bitboard defenders = blackPawns & WhitePawnAttacks[s]) n += HasTwo(defenders) ? 2 : 1;
                t += AttackedPawnPerUnit * n;
            }
        }
    }
    return t;
}

std::int16_t Evaluate() {
    Bitboard whitePawns = PieceBitboards[WhitePawn], blackPawns = PieceBitboards[BlackPawn];
    int m = MaterialCount;
    if (m < BareKingsMaterial && !(whitePawns | blackPawns)) return 0;
    int whiteKing = KingSquare[White], blackKing = KingSquare[Black];
    int pawnCount = PawnCount[White] + PawnCount[Black];

    const PieceSquareTable& kings = KingSquareTable(m);
    int s = kings[whiteKing] - kings[blackKing];

    int whiteOpenness = 0, blackOpenness = 0;
    if (m > KingSafetyMaterial) {
        s += PawnShelter(whitePawns, blackPawns);
        whiteOpenness = KingOpenness(whiteKing, whitePawns, blackPawns, PieceBitboards[BlackQueen] != 0);
        blackOpenness = KingOpenness(blackKing, blackPawns, whitePawns, PieceBitboards[WhiteQueen] != 0);
    }

    if (whitePawns | blackPawns) {
        std::atomic_ref<std::uint32_t> entry(PawnCacheEntry(PawnKey));
        std::uint32_t word = entry.load(std::memory_order_relaxed);
        int t;
        if ((word & PawnCacheTagMask) == (PawnKey & PawnCacheTagMask) && (word & PawnCacheScoreMask)) {
            t = static_cast<int>(word & PawnCacheScoreMask) - ScoreOffset;
        } else {
            t = PawnStructureScore();
            entry.store((static_cast<std::uint32_t>(t + ScoreOffset) & PawnCacheScoreMask) | (PawnKey & PawnCacheTagMask),
                        std::memory_order_relaxed);
        }
        s += t;
    }

    PieceTally t;
    s += PieceTerms<White>(PieceBitboards[WhiteKnight], KnightValue + pawnCount, KnightSquareTable(m),
                           KnightTropism, blackKing, t.whiteTropism, t.minors);
    s -= PieceTerms<Black>(PieceBitboards[BlackKnight], KnightValue + pawnCount, KnightSquareTable(m),
                           KnightTropism, whiteKing, t.blackTropism, t.minors);
    s += PieceTerms<White>(PieceBitboards[WhiteBishop], BishopValue - pawnCount, BishopSquareTable(m),
                           BishopTropism, blackKing, t.whiteTropism, t.minors);
    s -= PieceTerms<Black>(PieceBitboards[BlackBishop], BishopValue - pawnCount, BishopSquareTable(m),
                           BishopTropism, whiteKing, t.blackTropism, t.minors);
    s += TrappedBishops();
    s += PieceTerms<White>(PieceBitboards[WhiteRook], RookValue, RookSquareTable(m), RookTropism, blackKing,
                           t.whiteTropism, t.majors);
    s -= PieceTerms<Black>(PieceBitboards[BlackRook], RookValue, RookSquareTable(m), RookTropism, whiteKing,
                           t.blackTropism, t.majors);
    s += RookFiles(whitePawns, blackPawns) + RooksOnSeventhRank();
    s += PieceTerms<White>(PieceBitboards[WhiteQueen], QueenValue, QueenSquareTable(m), QueenTropism,
                           blackKing, t.whiteTropism, t.majors);
    s -= PieceTerms<Black>(PieceBitboards[BlackQueen], QueenValue, QueenSquareTable(m), QueenTropism,
                           whiteKing, t.blackTropism, t.majors);

    if (PieceMaterial[White] > ImbalanceMaterial || PieceMaterial[Black] > ImbalanceMaterial)
        s += ExchangeImbalance(t.minors, t.majors);

    if (PieceMaterial[Black] > KingAttackMaterial)
        s -= static_cast<std::int16_t>(KingAttack(t.blackTropism, whiteOpenness));
    if (PieceMaterial[White] > KingAttackMaterial)
        s += static_cast<std::int16_t>(KingAttack(t.whiteTropism, blackOpenness));

    auto score = static_cast<std::int16_t>(s);
    return SideToMove == White ? score : static_cast<std::int16_t>(-score);
}

} // namespace velkor
