// Everything that differs between the white and the black generators, as one traits row per
// colour, plus the small emitters the generators share.
#pragma once

#include "core/move.h"
#include "core/tables.h"
#include "movegen/attacks.h"
#include "movegen/exchange.h"
#include "position/position.h"

namespace velkor {

template <int Us>
struct ColourTraits;

// White pawns move towards square 0, that is towards the top bits.
template <>
struct ColourTraits<White> {
    static constexpr int Them = Black;
    static constexpr int PawnStep = -8; // to - from of a single step
    static constexpr int TowardsA = -9; // to - from of the capture towards the a-file
    static constexpr int TowardsH = -7;
    static constexpr Bitboard LastRank = Rank8Bits;
    static constexpr Bitboard ThirdRank = Rank3Bits;
    static constexpr int Pawn = WhitePawn, Knight = WhiteKnight, Bishop = WhiteBishop;
    static constexpr int Rook = WhiteRook, Queen = WhiteQueen, King = WhiteKing;
    static constexpr int ShortRight = WhiteShort, LongRight = WhiteLong;
    static constexpr Bitboard ShortPath = (1ULL << 1) | (1ULL << 2);                // f1 g1
    static constexpr Bitboard LongPath = (1ULL << 4) | (1ULL << 5) | (1ULL << 6);   // d1 c1 b1
    static constexpr Move ShortCastle = CastleShortWhiteMove, LongCastle = CastleLongWhiteMove;
    static Bitboard Forward(Bitboard b) { return b << 8; }
    static Bitboard CaptureTowardsA(Bitboard pawns) { return (pawns & ~FileABits) << 9; }
    static Bitboard CaptureTowardsH(Bitboard pawns) { return (pawns & ~FileHBits) << 7; }
};

template <>
struct ColourTraits<Black> {
    static constexpr int Them = White;
    static constexpr int PawnStep = 8;
    static constexpr int TowardsA = 7;
    static constexpr int TowardsH = 9;
    static constexpr Bitboard LastRank = Rank1Bits;
    static constexpr Bitboard ThirdRank = Rank6Bits;
    static constexpr int Pawn = BlackPawn, Knight = BlackKnight, Bishop = BlackBishop;
    static constexpr int Rook = BlackRook, Queen = BlackQueen, King = BlackKing;
    static constexpr int ShortRight = BlackShort, LongRight = BlackLong;
    static constexpr Bitboard ShortPath = ((1ULL << 1) | (1ULL << 2)) << 56;
    static constexpr Bitboard LongPath = ((1ULL << 4) | (1ULL << 5) | (1ULL << 6)) << 56;
    static constexpr Move ShortCastle = CastleShortBlackMove, LongCastle = CastleLongBlackMove;
    static Bitboard Forward(Bitboard b) { return b >> 8; }
    static Bitboard CaptureTowardsA(Bitboard pawns) { return (pawns & ~FileABits) >> 7; }
    static Bitboard CaptureTowardsH(Bitboard pawns) { return (pawns & ~FileHBits) >> 9; }
};

// The slider pools every exchange evaluation of one generator call receives: rooks and queens
// of both colours, bishops and queens of both colours.
struct SliderPools {
    Bitboard rooks;
    Bitboard bishops;
};
inline SliderPools CurrentSliderPools() {
    Bitboard queens = PieceBitboards[WhiteQueen] | PieceBitboards[BlackQueen];
    return {PieceBitboards[WhiteRook] | PieceBitboards[BlackRook] | queens,
            PieceBitboards[WhiteBishop] | PieceBitboards[BlackBishop] | queens};
}

// Capture offsets and exchange-evaluation thresholds by attacker type.
inline constexpr int PawnCaptureOffset = -9600;
inline constexpr int KnightCaptureOffset = -9810, KnightSeeThreshold = 260;
inline constexpr int BishopCaptureOffset = -9815, BishopSeeThreshold = 265;
inline constexpr int RookCaptureOffset = -10000, RookSeeThreshold = 450;
inline constexpr int QueenCaptureOffset = -10450, QueenSeeThreshold = 900;
inline constexpr int KingCaptureOffset = -11500, KingSeeThreshold = 1950;
inline constexpr int CaptureGeneratorBound = -10000;

inline ScoredMove* Emit(ScoredMove* list, int to, int from, int kind, int score) {
    *list++ = {static_cast<std::int16_t>(score), ComposeMove(to, from, kind)};
    return list;
}

// The four promotions of one pawn move, queen first.
inline ScoredMove* EmitPromotions(ScoredMove* list, int to, int from, bool capture, int victimValue) {
    int base = capture ? CapturePromoteQueen : PromoteQueen;
    list = Emit(list, to, from, base, victimValue + ScorePromoteQueen);
    list = Emit(list, to, from, base + 1, victimValue + ScorePromoteKnight);
    list = Emit(list, to, from, base + 2, victimValue + ScorePromoteRook);
    return Emit(list, to, from, base + 3, victimValue + ScorePromoteBishop);
}

// The score of a piece capture: direct when the victim is worth at least the capturer less 50,
// otherwise by the exchange evaluation.
inline int PieceCaptureScore(int piece, int from, int to, int offset, int threshold,
                             Bitboard rookPool, Bitboard bishopPool) {
    int value = PieceValue[Board[to]];
    if (value >= threshold) return value + offset;
    return ExchangeScore(piece, from, to, rookPool, bishopPool);
}

// One direction of pawn captures (offset = to - from): en passant first, then the capturing
// promotions, then the other captures. The full and the capture generator share it.
template <int Us>
inline ScoredMove* PawnCaptures(ScoredMove* list, Bitboard targets, int offset) {
    using T = ColourTraits<Us>;
    if (EnPassantSquare && (targets & MaskOf(EnPassantSquare)))
        list = Emit(list, EnPassantSquare, EnPassantSquare - offset, EnPassant, ScoreEnPassant);
    targets &= ColourOccupancy[T::Them];
    for (Bitboard promotions = targets & T::LastRank; promotions; promotions &= promotions - 1) {
        int to = LowestSquare(promotions);
        list = EmitPromotions(list, to, to - offset, true, PieceValue[Board[to]]);
    }
    for (Bitboard captures = targets & ~T::LastRank; captures; captures &= captures - 1) {
        int to = LowestSquare(captures);
        list = Emit(list, to, to - offset, Capture, PieceValue[Board[to]] + PawnCaptureOffset);
    }
    return list;
}

} // namespace velkor
