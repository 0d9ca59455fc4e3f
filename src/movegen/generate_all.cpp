// The full generator: every pseudo-legal move with its ordering score, in a fixed order (pawn
// captures, knights, queens, rooks, bishops, pawn pushes, king, castling); each set is walked
// from its lowest bit, that is from the highest square number down.
#include "movegen/colour_traits.h"
#include "movegen/generators.h"

namespace velkor {

namespace {

// Captures (scored) then quiet moves of one piece on `from` with the given target set.
template <int Us>
ScoredMove* PieceMoves(ScoredMove* list, int piece, int from, Bitboard targets, int offset,
                       int threshold, Bitboard rookPool, Bitboard bishopPool) {
    for (Bitboard captures = targets & ColourOccupancy[Us ^ 1]; captures; captures &= captures - 1) {
        int to = LowestSquare(captures);
        list = Emit(list, to, from, Capture,
                    PieceCaptureScore(piece, from, to, offset, threshold, rookPool, bishopPool));
    }
    for (Bitboard quiets = targets & ~Occupied; quiets; quiets &= quiets - 1)
        list = Emit(list, LowestSquare(quiets), from, Quiet, ScoreQuiet);
    return list;
}

template <int Us, typename Attacks>
ScoredMove* PieceSetMoves(ScoredMove* list, int piece, int offset, int threshold, Bitboard rookPool,
                        Bitboard bishopPool, Attacks attacks) {
    for (Bitboard pieces = PieceBitboards[piece]; pieces; pieces &= pieces - 1) {
        int from = LowestSquare(pieces);
        list = PieceMoves<Us>(list, piece, from, attacks(from) & ~ColourOccupancy[Us], offset,
                              threshold, rookPool, bishopPool);
    }
    return list;
}

template <int Us>
ScoredMove* PawnPushes(ScoredMove* list) {
    using T = ColourTraits<Us>;
    Bitboard single = T::Forward(PieceBitboards[T::Pawn]) & ~Occupied;
    for (Bitboard promotions = single & T::LastRank; promotions; promotions &= promotions - 1) {
        int to = LowestSquare(promotions);
        list = EmitPromotions(list, to, to - T::PawnStep, false, 0);
    }
    for (Bitboard doubles = T::Forward(single & T::ThirdRank) & ~Occupied; doubles; doubles &= doubles - 1) {
        int to = LowestSquare(doubles);
        list = Emit(list, to, to - 2 * T::PawnStep, Quiet, ScoreQuiet);
    }
    for (Bitboard steps = single & ~T::LastRank; steps; steps &= steps - 1) {
        int to = LowestSquare(steps);
        list = Emit(list, to, to - T::PawnStep, Quiet, ScoreQuiet);
    }
    return list;
}

template <int Us>
ScoredMove* Castling(ScoredMove* list) {
    using T = ColourTraits<Us>;
    if ((CastlingRights & T::ShortRight) && !(Occupied & T::ShortPath))
        *list++ = {ScoreCastleShort, T::ShortCastle};
    if ((CastlingRights & T::LongRight) && !(Occupied & T::LongPath))
        *list++ = {ScoreCastleLong, T::LongCastle};
    return list;
}

template <int Us>
ScoredMove* GenerateAllFor(ScoredMove* list) {
    using T = ColourTraits<Us>;
    auto [rookPool, bishopPool] = CurrentSliderPools();
    Bitboard pawns = PieceBitboards[T::Pawn];

    list = PawnCaptures<Us>(list, T::CaptureTowardsA(pawns), T::TowardsA);
    list = PawnCaptures<Us>(list, T::CaptureTowardsH(pawns), T::TowardsH);
    list = PieceSetMoves<Us>(list, T::Knight, KnightCaptureOffset, KnightSeeThreshold, rookPool,
                           bishopPool, [](int s) { return KnightAttacks[s]; });
    list = PieceSetMoves<Us>(list, T::Queen, QueenCaptureOffset, QueenSeeThreshold, rookPool,
                           bishopPool, [](int s) { return RookAttacks(s) | BishopAttacks(s); });
    list = PieceSetMoves<Us>(list, T::Rook, RookCaptureOffset, RookSeeThreshold, rookPool, bishopPool,
                           [](int s) { return RookAttacks(s); });
    list = PieceSetMoves<Us>(list, T::Bishop, BishopCaptureOffset, BishopSeeThreshold, rookPool,
                           bishopPool, [](int s) { return BishopAttacks(s); });
    list = PawnPushes<Us>(list);
    int king = KingSquare[Us];
    Bitboard kingTargets = KingAttacks[king] & ~KingAttacks[KingSquare[T::Them]] & ~ColourOccupancy[Us];
    list = PieceMoves<Us>(list, T::King, king, kingTargets, KingCaptureOffset, KingSeeThreshold,
                          rookPool, bishopPool);
    return Castling<Us>(list);
}

} // namespace

ScoredMove* GenerateAllBlack(ScoredMove* list) { return GenerateAllFor<Black>(list); }
ScoredMove* GenerateAllWhite(ScoredMove* list) { return GenerateAllFor<White>(list); }

} // namespace velkor
