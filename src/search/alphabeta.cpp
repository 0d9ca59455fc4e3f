// The main search: principal-variation alpha-beta with transposition-table cut-offs, null move,
// internal iterative deepening, an extension for repeated checks, killers and history.
#include "movegen/attacks.h"
#include "movegen/generators.h"
#include "position/make_move.h"
#include "search/draw.h"
#include "search/history.h"
#include "search/move_order.h"
#include "search/search.h"
#include "search/signals.h"
#include "search/transposition.h"

namespace velkor {

namespace {

inline constexpr int SmallPieceMaterial = 6; // below: null move only near the horizon
inline constexpr int NullMoveMaxDepthWithLittleMaterial = 6;
inline constexpr int BigPieceMaterial = 9;
inline constexpr int DeepNullMoveDepth = 7;

// Whether the children of a node at ply p, searched to depth n less one, are full-width nodes
// rather than quiescence nodes.
inline bool ChildrenSearchFullWidth(int n, int p) { return n >= 2 && p <= MaxFullWidthPly; }

// Decrements the check counter of a node in check on every exit.
struct CheckCountGuard {
    std::uint32_t* counter = nullptr;
    ~CheckCountGuard() {
        if (counter) --*counter;
    }
};

bool TryNullMove(PlyRecord& record, int d, int p, int beta, int side, int& score) {
    int material = PieceMaterial[side];
    int reduction;
    if (material < SmallPieceMaterial) {
        if (d > NullMoveMaxDepthWithLittleMaterial) return false;
        reduction = 2;
    } else {
        reduction = d >= DeepNullMoveDepth && material >= BigPieceMaterial ? 3 : 2;
    }
    if (!record.moveListEnd) record.moveListEnd = (&record - 1)->moveListEnd;
    MakeNullMove(record);
    ++CurrentPly;
    CurrentPly->moveListEnd = nullptr;
    score = d > reduction + 1 ? -Search(d - reduction - 1, p + 1, -beta, -beta + 1, false)
                              : -QSearch(0, p + 1, -beta, -beta + 1);
    --CurrentPly;
    UnmakeNullMove(record);
    record.moveListEnd = nullptr;
    return true;
}

// Adopts a table entry found for the node; returns true when its score ends the node.
bool UseHashEntry(PlyRecord& record, int d, int& alpha, int& beta, int& result) {
    std::optional<HashEntry> entry = ProbeHash();
    if (!entry) {
        record.hashMove = NoMove;
        record.hashDepth = 0;
        return false;
    }
    record.hashMove = entry->move();
    record.hashDepth = static_cast<std::uint8_t>(entry->depth());
    if (entry->depth() < d) return false;
    int score = entry->score();
    std::uint32_t bound = entry->bound();
    record.hashScore = static_cast<std::int16_t>(score);
    record.hashBound = bound;
    if (bound == BoundExact || (bound == BoundLower && score >= beta) || (bound == BoundUpper && score <= alpha)) {
        // A move towards a repetition or the fifty-move limit makes the stored score unsafe.
        if (HashMoveDrawRisk(record.hashMove) != 0) return false;
        result = score;
        return true;
    }
    if (WindowState == 0 || static_cast<std::uint32_t>(d) != IterationDepth) {
        if (alpha < score && score < beta) {
            if (bound == BoundLower) alpha = score;
            else beta = score;
        }
    }
    return false;
}

} // namespace

int Search(int d, int p, int alpha, int beta, bool allowNull) {
    PlyRecord& record = *CurrentPly;

    // 1. Transposition table.
    int hashResult;
    if (UseHashEntry(record, d, alpha, beta, hashResult)) return hashResult;

    // 2-3.
    int best = -Infinity;
    std::uint32_t bound = BoundUpper;
    int extension = 0;
    Move bestMove = NoMove;
    ComputeCheckInfo(record);
    bool inCheck = record.checkers != 0;
    int side = SideToMove;

    // 4. Null move.
    if (allowNull && !inCheck && PieceMaterial[side] != 0) {
        int score;
        if (TryNullMove(record, d, p, beta, side, score)) {
            if (SearchStopped()) return -Infinity;
            if (score >= beta) return score;
        }
    }

    // 5. Internal iterative deepening; its list and scores stay for the search below.
    // A stop met there must end the node: going on to the first child, which deepens first in
    // its turn, would cost time exponential in the depth (deep pawn endings, with no null move
    // to cut them, took minutes).
    if (record.hashDepth < d - 2) {
        Search(d - 2, p, alpha, beta, allowNull);
        if (SearchStopped()) return -Infinity;
        if (std::optional<HashEntry> entry = ProbeHash()) record.hashMove = entry->move();
    }

    // 6. A check of a side already in check earlier on the line extends.
    CheckCountGuard guard;
    if (inCheck) {
        if (InCheckCount[side]++ != 0) extension = 1;
        guard.counter = &InCheckCount[side];
    }

    // 7. Moves.
    ScoredMove* begin = (&record - 1)->moveListEnd;
    if (!record.moveListEnd)
        record.moveListEnd = inCheck ? GenerateEvasions[side](begin, record) : GenerateAll[side](begin);
    SaveSnapshot(record);
    ScoredMove* end = record.moveListEnd;
    ApplyOrderingScores(begin, end, record);
    int n = d + extension;
    bool fullWidthChildren = ChildrenSearchFullWidth(n, p);
    if (fullWidthChildren) PrefetchAfterEach<true>(begin, end);
    else PrefetchAfterEach(begin, end);

    // 8-9.
    MoveSelector selector(begin, record, side);
    for (ScoredMove* cursor = begin; cursor < end; ++cursor) {
        selector.Select(cursor, end);
        record.moveCursor = cursor;
        Move move = cursor->move;
        ++NodeCount;
        EnterChild(move, record);
        int score;
        if (LeavesKingAttacked(move, side)) {
            score = -Infinity;
        } else if (DrawCode(1) != NoMove) {
            score = 0;
        } else {
            CurrentPly->moveListEnd = nullptr;
            if (!fullWidthChildren) {
                score = -QSearch(0, p + 1, -beta, -alpha);
            } else if (bound == BoundExact) {
                score = -Search(n - 1, p + 1, -alpha - 1, -alpha, true);
                if (alpha < score && score < beta) score = -Search(n - 1, p + 1, -beta, -alpha, true);
            } else {
                score = -Search(n - 1, p + 1, -beta, -alpha, true);
            }
        }
        LeaveChild(move, record);
        if (SearchStopped()) return best;
        cursor->score = static_cast<std::int16_t>(score);

        if (score > best) {
            if (score > alpha && score >= beta) {
                if (IsKillerCandidate(move)) RememberKiller(record, move);
                HistoryScores[side][FromTo(move)] += static_cast<std::uint32_t>(d * d);
                StoreHash(d, BoundLower, move, score);
                return score;
            }
            if (score > alpha) {
                alpha = score;
                bound = BoundExact;
            }
            best = score;
            bestMove = move;
        }
    }

    // 10.
    if (best > -Infinity) {
        StoreHash(d, bound, bestMove, best);
        return best;
    }
    if (inCheck) {
        int score = p - MateScore;
        StoreHash(d, BoundExact, ResultMated, score);
        return score;
    }
    StoreHash(d, BoundExact, ResultStalemate, 0);
    return 0;
}

} // namespace velkor
