// The capture generator of the quiescence search: pawn captures (all of them), plain queen
// promotions and piece captures that the exchange evaluation does not judge clearly losing.
// Piece order: knights, bishops, rooks, queens, king.
#include "movegen/colour_traits.h"
#include "movegen/generators.h"

namespace velkor {

namespace {

// Writes the entry, and keeps it only when it reaches the bound: a dropped entry is overwritten.
inline ScoredMove* EmitBounded(ScoredMove* list, int to, int from, int kind, int score) {
    *list = {static_cast<std::int16_t>(score), ComposeMove(to, from, kind)};
    return static_cast<std::int16_t>(score) >= CaptureGeneratorBound ? list + 1 : list;
}

template <int Us, typename Attacks>
ScoredMove* PieceCaptures(ScoredMove* list, int piece, Bitboard pieces, int offset, int threshold,
                          Bitboard rookPool, Bitboard bishopPool, Attacks attacks) {
    for (; pieces; pieces &= pieces - 1) {
        int from = LowestSquare(pieces);
        for (Bitboard captures = attacks(from) & ColourOccupancy[Us ^ 1]; captures; captures &= captures - 1) {
            int to = LowestSquare(captures);
            list = EmitBounded(list, to, from, Capture,
                               PieceCaptureScore(piece, from, to, offset, threshold, rookPool, bishopPool));
        }
    }
    return list;
}

template <int Us>
ScoredMove* GenerateCapturesFor(ScoredMove* list) {
    using T = ColourTraits<Us>;
    auto [rookPool, bishopPool] = CurrentSliderPools();
    Bitboard pawns = PieceBitboards[T::Pawn];

    list = PawnCaptures<Us>(list, T::CaptureTowardsA(pawns), T::TowardsA);
    list = PawnCaptures<Us>(list, T::CaptureTowardsH(pawns), T::TowardsH);
    Bitboard promotions = T::Forward(pawns) & ~Occupied & T::LastRank;
    for (; promotions; promotions &= promotions - 1) {
        int to = LowestSquare(promotions), from = to - T::PawnStep;
        list = EmitBounded(list, to, from, PromoteQueen, ExchangeScore(T::Pawn, from, to, rookPool, bishopPool));
    }
    list = PieceCaptures<Us>(list, T::Knight, PieceBitboards[T::Knight], KnightCaptureOffset,
                             KnightSeeThreshold, rookPool, bishopPool, [](int s) { return KnightAttacks[s]; });
    list = PieceCaptures<Us>(list, T::Bishop, PieceBitboards[T::Bishop], BishopCaptureOffset,
                             BishopSeeThreshold, rookPool, bishopPool, [](int s) { return BishopAttacks(s); });
    list = PieceCaptures<Us>(list, T::Rook, PieceBitboards[T::Rook], RookCaptureOffset, RookSeeThreshold,
                             rookPool, bishopPool, [](int s) { return RookAttacks(s); });
    list = PieceCaptures<Us>(list, T::Queen, PieceBitboards[T::Queen], QueenCaptureOffset, QueenSeeThreshold,
                             rookPool, bishopPool, [](int s) { return RookAttacks(s) | BishopAttacks(s); });
    int king = KingSquare[Us];
    Bitboard enemyKingZone = KingAttacks[KingSquare[T::Them]];
    return PieceCaptures<Us>(list, T::King, MaskOf(king), KingCaptureOffset, KingSeeThreshold, rookPool,
                             bishopPool, [enemyKingZone](int s) { return KingAttacks[s] & ~enemyKingZone; });
}

} // namespace

ScoredMove* GenerateCapturesBlack(ScoredMove* list) { return GenerateCapturesFor<Black>(list); }
ScoredMove* GenerateCapturesWhite(ScoredMove* list) { return GenerateCapturesFor<White>(list); }

} // namespace velkor
