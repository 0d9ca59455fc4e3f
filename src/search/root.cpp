// The root search: its list is generated once per search and kept between iterations, so that
// each iteration is ordered by the scores of the one before.
#include <algorithm>

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

inline constexpr int FoundMateScore = 8000; // table scores from here on do not end the root

// True when the root searches only some of its moves: chosen ones, or those of no line found yet.
bool RootRestricted() { return RootMoveCount != 0 || ExcludedRootMoveCount != 0; }

bool IsExcluded(Move move) {
    return std::find(ExcludedRootMoves.begin(), ExcludedRootMoves.begin() + ExcludedRootMoveCount, move) !=
           ExcludedRootMoves.begin() + ExcludedRootMoveCount;
}

// Adopts the root's table entry; returns true when its score answers the whole iteration.
bool UseRootHashEntry(PlyRecord& root, int depth, int& alpha, int& beta, int& result) {
    std::optional<HashEntry> entry = ProbeHash();
    if (!entry) {
        root.hashMove = NoMove;
        root.hashDepth = 0;
        return false;
    }
    root.hashMove = entry->move();
    root.hashDepth = static_cast<std::uint8_t>(entry->depth());
    if (entry->depth() < depth) return false;
    int score = entry->score();
    std::uint32_t bound = entry->bound();
    root.hashScore = static_cast<std::int16_t>(score);
    root.hashBound = bound;
    if (bound == BoundExact || (bound == BoundLower && score >= beta) || (bound == BoundUpper && score <= alpha)) {
        if (score < FoundMateScore && HashMoveDrawRisk(root.hashMove) == 0) {
            result = score;
            return true;
        }
        return false;
    }
    // The root's bound narrows the window only for a search of all its moves: among some of them
    // the best may lie below it.
    if (WindowState == 0 && alpha < score && score < beta && !RootRestricted()) {
        if (bound == BoundLower) alpha = score;
        else beta = score;
    }
    return false;
}

// Puts the table's move for the root first in the root list with score, as the result of the
// iteration the entry answered; before the list exists, as the list's first entry.
void TakeRootHashMove(PlyRecord& root, int score) {
    ScoredMove* begin = MoveStack.data();
    if (ScoredMove* end = root.moveListEnd) {
        ScoredMove* entry = std::find_if(begin, end, [&](const ScoredMove& m) { return m.move == root.hashMove; });
        if (entry == end) return;
        std::swap(*entry, *begin);
    }
    *begin = {static_cast<std::int16_t>(score), root.hashMove};
}

// Keeps the generated moves that are among RootMoves, in their order; returns the new end.
ScoredMove* KeepRootMoves(ScoredMove* begin, ScoredMove* end) {
    ScoredMove* kept = begin;
    for (ScoredMove* entry = begin; entry != end; ++entry)
        if (std::find(RootMoves.begin(), RootMoves.begin() + RootMoveCount, entry->move) != RootMoves.begin() + RootMoveCount)
            *kept++ = *entry;
    return kept;
}

// The root's result enters the table only when every move was searched: a result among some
// moves would answer a later search of all of them.
void StoreRootHash(int depth, std::uint32_t bound, Move move, int score) {
    if (!RootRestricted()) StoreHash(depth, bound, move, score);
}

} // namespace

int RootSearch(int alpha, int beta) {
    PlyRecord& root = PlyStack[0];
    int depth = static_cast<int>(IterationDepth);

    // 1. Only the chosen root moves may answer: the table may know a better one. The entry's move
    // answers with its score: with helper threads it may come from a deeper search than this
    // thread's last iteration, with another best move.
    int hashResult;
    if (UseRootHashEntry(root, depth, alpha, beta, hashResult) && !RootRestricted()) {
        TakeRootHashMove(root, hashResult);
        return hashResult;
    }

    // 2-3.
    int best = -Infinity;
    std::uint32_t bound = BoundUpper;
    ScoredMove* bestEntry = nullptr;
    ScoredMove* begin = MoveStack.data();
    int side = SideToMove;
    if (!root.moveListEnd) {
        root.moveListEnd = root.checkers ? GenerateEvasions[side](begin, root) : GenerateAll[side](begin);
        if (RootMoveCount) root.moveListEnd = KeepRootMoves(begin, root.moveListEnd);
        SaveSnapshot(root);
    }
    ScoredMove* end = root.moveListEnd;

    // 4-6.
    ApplyOrderingScores(begin, end, root);
    MoveSelector selector(begin, root, side);
    for (ScoredMove* cursor = begin; cursor < end; ++cursor) {
        selector.Select(cursor, end);
        root.moveCursor = cursor;
        Move move = cursor->move;
        if (ExcludedRootMoveCount && IsExcluded(move)) continue;
        ++NodeCount;
        EnterChild(move, root);
        int score;
        if (LeavesKingAttacked(move, side)) {
            score = -Infinity;
        } else if (DrawCode(2) != NoMove) {
            score = 0;
        } else {
            CurrentPly->moveListEnd = nullptr;
            if (bound == BoundExact) {
                score = -Search(depth - 1, 1, -alpha - 1, -alpha, true);
                if (alpha < score && score < beta) score = -Search(depth - 1, 1, -beta, -alpha, true);
            } else {
                score = -Search(depth - 1, 1, -beta, -alpha, true);
            }
        }
        LeaveChild(move, root);
        if (NodeCountOut) NodeCountOut->store(NodeCount + QuiescenceNodeCount, std::memory_order_relaxed);
        if (SearchStopped()) return best;
        cursor->score = static_cast<std::int16_t>(score);

        if (score > best) {
            bestEntry = cursor;
            best = score;
            if (score > alpha) {
                if (score >= beta) {
                    if (IsKillerCandidate(move)) RememberKiller(root, move);
                    HistoryScores[side][FromTo(move)] += static_cast<std::uint32_t>(depth * depth);
                    StoreRootHash(depth, BoundLower, move, score);
                    std::swap(*cursor, *begin);
                    return score;
                }
                alpha = score;
                bound = BoundExact;
            }
        }
    }

    // 7.
    if (best > -Infinity) {
        StoreRootHash(depth, bound, bestEntry->move, best);
        std::swap(*bestEntry, *begin);
        return best;
    }
    if (!root.checkers) {
        *begin = {0, ResultStalemate};
        StoreRootHash(depth, BoundExact, ResultStalemate, 0);
        return 0;
    }
    *begin = {static_cast<std::int16_t>(-MateScore), ResultMated};
    StoreRootHash(depth, BoundExact, ResultMated, -MateScore);
    return -MateScore;
}

} // namespace velkor
