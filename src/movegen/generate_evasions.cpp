// Check evasions: captures of a single checker, interpositions against a distant slider, and
// king steps. Pinned pieces and king steps along the checking line are still produced; the
// caller rejects them after making them.
#include "movegen/colour_traits.h"
#include "movegen/generators.h"

namespace velkor {

namespace {

inline constexpr int KnightBlockScore = -30310;
inline constexpr int BishopBlockScore = -30315;
inline constexpr int RookBlockScore = -30500;
inline constexpr int QueenBlockScore = -30950;

// En passant answers a check only when the checker is the pawn that just made its double step.
template <int Us>
ScoredMove* EnPassantEvasions(ScoredMove* list, int checker) {
    using T = ColourTraits<Us>;
    int ep = EnPassantSquare;
    if (!ep || ep != checker + T::PawnStep) return list;
    // The capturer on the a-file side of the square first (it captures towards the h-file);
    // the range tests keep both on the board's files.
    int fromA = ep - T::TowardsH, fromH = ep - T::TowardsA;
    bool aSideOnBoard = Us == White ? ep > A6 : ep > A3;
    bool hSideOnBoard = Us == White ? ep < H6 : ep < H3;
    if (aSideOnBoard && Board[fromA] == T::Pawn) list = Emit(list, ep, fromA, EnPassant, ScoreEnPassant);
    if (hSideOnBoard && Board[fromH] == T::Pawn) list = Emit(list, ep, fromH, EnPassant, ScoreEnPassant);
    return list;
}

template <int Us>
ScoredMove* PawnCapturesOfChecker(ScoredMove* list, int checker) {
    using T = ColourTraits<Us>;
    int victimValue = PieceValue[Board[checker]];
    bool promotes = (MaskOf(checker) & T::LastRank) != 0;
    auto capture = [&](int from) {
        if (promotes) return EmitPromotions(list, checker, from, true, victimValue);
        return Emit(list, checker, from, Capture, victimValue + PawnCaptureOffset);
    };
    // Our pawns attacking the checker stand where an enemy pawn on it would attack.
    Bitboard sources = (Us == White ? BlackPawnAttacks[checker] : WhitePawnAttacks[checker]) &
                       PieceBitboards[T::Pawn];
    if (!sources) return list;
    // The capturer on the a-file side first.
    int aSide = checker - T::TowardsH, hSide = checker - T::TowardsA;
    if (FileOf(checker) != 0 && (sources & MaskOf(aSide))) list = capture(aSide);
    if (FileOf(checker) != 7 && (sources & MaskOf(hSide))) list = capture(hSide);
    return list;
}

// Captures of the checker by one piece type, then its interpositions on the block squares.
template <typename Attacks>
ScoredMove* PieceEvasions(ScoredMove* list, Bitboard pieces, Bitboard lines, int checker, Bitboard block,
                          int captureOffset, int blockScore, Attacks attacks) {
    if (lines & pieces) {
        int score = PieceValue[Board[checker]] + captureOffset;
        for (Bitboard capturers = attacks(checker) & pieces; capturers; capturers &= capturers - 1)
            list = Emit(list, checker, LowestSquare(capturers), Capture, score);
    }
    if (!block) return list;
    for (; pieces; pieces &= pieces - 1) {
        int from = LowestSquare(pieces);
        for (Bitboard targets = attacks(from) & block; targets; targets &= targets - 1)
            list = Emit(list, LowestSquare(targets), from, Quiet, blockScore);
    }
    return list;
}

template <int Us>
ScoredMove* PawnInterpositions(ScoredMove* list, Bitboard block) {
    using T = ColourTraits<Us>;
    Bitboard single = T::Forward(PieceBitboards[T::Pawn]) & ~Occupied;
    for (Bitboard doubles = T::Forward(single & T::ThirdRank) & block; doubles; doubles &= doubles - 1) {
        int to = LowestSquare(doubles);
        list = Emit(list, to, to - 2 * T::PawnStep, Quiet, ScoreQuiet);
    }
    single &= block;
    for (Bitboard promotions = single & T::LastRank; promotions; promotions &= promotions - 1) {
        int to = LowestSquare(promotions);
        list = EmitPromotions(list, to, to - T::PawnStep, false, 0);
    }
    for (Bitboard steps = single & ~T::LastRank; steps; steps &= steps - 1) {
        int to = LowestSquare(steps);
        list = Emit(list, to, to - T::PawnStep, Quiet, ScoreQuiet);
    }
    return list;
}

template <int Us>
ScoredMove* KingEvasions(ScoredMove* list, Bitboard block) {
    using T = ColourTraits<Us>;
    int king = KingSquare[Us];
    Bitboard targets = KingAttacks[king] & ~KingAttacks[KingSquare[T::Them]] & ~ColourOccupancy[Us] & ~block;
    auto [rookPool, bishopPool] = CurrentSliderPools();
    for (Bitboard captures = targets & ColourOccupancy[T::Them]; captures; captures &= captures - 1) {
        int to = LowestSquare(captures);
        list = Emit(list, to, king, Capture,
                    PieceCaptureScore(T::King, king, to, KingCaptureOffset, KingSeeThreshold, rookPool, bishopPool));
    }
    for (Bitboard quiets = targets & ~Occupied; quiets; quiets &= quiets - 1)
        list = Emit(list, LowestSquare(quiets), king, Quiet, ScoreQuiet);
    return list;
}

template <int Us>
ScoredMove* GenerateEvasionsFor(ScoredMove* list, const PlyRecord& record) {
    using T = ColourTraits<Us>;
    Bitboard checkers = record.checkers;
    if (checkers & (checkers - 1)) return KingEvasions<Us>(list, 0); // double check

    int checker = LowestSquare(checkers);
    Bitboard block = 0;
    if (Board[checker] >= WhiteBishop && !(KingAttacks[KingSquare[Us]] & MaskOf(checker))) {
        block = record.kingLineAttacks ? record.kingLineAttacks & RookAttacks(checker)
                                       : record.kingDiagonalAttacks & BishopAttacks(checker);
    }
    list = EnPassantEvasions<Us>(list, checker);
    list = PawnCapturesOfChecker<Us>(list, checker);
    list = PieceEvasions(list, PieceBitboards[T::Knight], KnightAttacks[checker], checker, block,
                         KnightCaptureOffset, KnightBlockScore, [](int s) { return KnightAttacks[s]; });
    list = PieceEvasions(list, PieceBitboards[T::Bishop], BishopLines[checker], checker, block,
                         BishopCaptureOffset, BishopBlockScore, [](int s) { return BishopAttacks(s); });
    list = PieceEvasions(list, PieceBitboards[T::Rook], RookLines[checker], checker, block,
                         RookCaptureOffset, RookBlockScore, [](int s) { return RookAttacks(s); });
    list = PieceEvasions(list, PieceBitboards[T::Queen], QueenLines[checker], checker, block,
                         QueenCaptureOffset, QueenBlockScore,
                         [](int s) { return RookAttacks(s) | BishopAttacks(s); });
    if (block) list = PawnInterpositions<Us>(list, block);
    return KingEvasions<Us>(list, block);
}

} // namespace

ScoredMove* GenerateEvasionsBlack(ScoredMove* list, const PlyRecord& record) {
    return GenerateEvasionsFor<Black>(list, record);
}
ScoredMove* GenerateEvasionsWhite(ScoredMove* list, const PlyRecord& record) {
    return GenerateEvasionsFor<White>(list, record);
}

} // namespace velkor
