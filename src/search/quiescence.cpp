// Quiescence search: captures (all evasions in check) until the position is quiet, with a
// stand-pat score from the static evaluation.
#include "eval/evaluate.h"
#include "movegen/attacks.h"
#include "movegen/generators.h"
#include "search/draw.h"
#include "search/move_order.h"
#include "search/search.h"
#include "search/transposition.h"

namespace velkor {

namespace {
inline constexpr int QuiescenceKiller1Bonus = 1500;
inline constexpr int QuiescenceKiller2Bonus = 1000;
} // namespace

int QSearch(int d, int p, int alpha, int beta) {
    PlyRecord& record = *CurrentPly;
    if (p > SelectiveDepth) SelectiveDepth = p;
    // The check information changes nothing the probe reads: computing it first hides part of
    // the probe's cache miss.
    ComputeCheckInfo(record);

    // 1. Every entry is deep enough for the quiescence search.
    if (std::optional<HashEntry> entry = ProbeHash()) {
        record.hashMove = entry->move();
        record.hashDepth = static_cast<std::uint8_t>(entry->depth());
        record.hashScore = static_cast<std::int16_t>(entry->score());
        record.hashBound = entry->bound();
        int score = entry->score();
        if (entry->bound() == BoundExact) return score;
        if (entry->bound() == BoundLower) {
            if (score >= beta) return score;
            if (score > alpha) alpha = score;
        } else {
            if (score <= alpha) return score;
            if (score < beta) beta = score;
        }
    } else {
        record.hashMove = NoMove;
        record.hashDepth = 0;
    }

    // 2-4. Stand pat and captures, or every evasion in check.
    ScoredMove* begin = (&record - 1)->moveListEnd;
    record.moveListEnd = begin;
    bool inCheck = record.checkers != 0;
    int side = SideToMove;
    int best;
    if (!inCheck) {
        best = Evaluate();
        if (best > alpha) {
            alpha = best;
            if (best >= beta) return best;
        }
        record.moveListEnd = GenerateCaptures[side](begin);
    } else {
        record.moveListEnd = GenerateEvasions[side](begin, record);
        best = -Infinity;
    }
    ScoredMove* end = record.moveListEnd;
    // The first child follows within a few dozen instructions: its loads start as soon as the
    // list exists.
    PrefetchAfterEach(begin, end);

    // 5-6.
    SaveSnapshot(record);
    for (ScoredMove* entry = begin; entry < end; ++entry) {
        if (entry->move == record.hashMove) entry->score = HashMoveScore;
        else if (entry->move == record.killer1) entry->score = static_cast<std::int16_t>(entry->score + QuiescenceKiller1Bonus);
        else if (entry->move == record.killer2) entry->score = static_cast<std::int16_t>(entry->score + QuiescenceKiller2Bonus);
    }

    // 7-8.
    std::uint32_t bound = BoundUpper;
    Move bestMove = NoMove;
    for (ScoredMove* cursor = begin; cursor < end; ++cursor) {
        SelectBestScore(cursor, end);
        record.moveCursor = cursor;
        Move move = cursor->move;
        ++QuiescenceNodeCount;
        EnterChild(move, record);
        int score;
        if (LeavesKingAttacked(move, side)) {
            score = -Infinity;
        } else if (d == MinQuiescenceDepth || p == MaxQuiescencePly) {
            score = -Evaluate();
        } else if (IsBareMaterial()) {
            score = 0;
        } else {
            score = -QSearch(d - 1, p + 1, -beta, -alpha);
        }
        LeaveChild(move, record);
        cursor->score = static_cast<std::int16_t>(score);

        if (score > best) {
            if (score > alpha) {
                if (score >= beta) {
                    RememberKiller(record, move); // any kind of move
                    StoreHash(0, BoundLower, move, score);
                    return score;
                }
                alpha = score;
                bound = BoundExact;
            }
            best = score;
            bestMove = move;
        }
    }

    // 9.
    if (best == -Infinity) {
        int score = p - MateScore;
        StoreHash(0, BoundExact, ResultMated, score);
        return score;
    }
    if (!inCheck && bestMove == NoMove) return best;
    StoreHash(inCheck ? 1 : 0, bound, bestMove, best);
    return best;
}

} // namespace velkor
