// Iterative deepening with aspiration windows, progress output and the search's log lines.
#include "search/iterative.h"

#include <algorithm>

#include "core/log.h"
#include "movegen/attacks.h"
#include "notation/coordinate.h"
#include "notation/fen.h"
#include "position/make_move.h"
#include "search/draw.h"
#include "search/search.h"
#include "search/signals.h"
#include "search/thinking_output.h"
#include "search/transposition.h"

namespace velkor {

namespace {

inline constexpr int FirstWindow = MateScore;
inline constexpr int AspirationHalfWidth = 30;
inline constexpr int ResearchUpperBound = MateScore - 1;
inline constexpr int KnownMateAlpha = MateScore - 50;
inline constexpr std::uint32_t FirstIteration = 2;

bool InMateRange(int score, std::uint32_t depth) {
    int d = static_cast<int>(depth);
    return score <= d - MateScore || score >= MateScore - d;
}

} // namespace

Move IterativeDeepening() {
    PlyRecord& root = PlyStack[0];
    ScoredMove& result = MoveStack[0];
    BeginThinkingOutput();

    // 1. A draw on the board needs no search where the game claims it. Elsewhere one iteration
    // shows a line and a move; deeper ones could not change the result.
    Move draw = DrawCode(2);
    if (draw && ClaimRootDraws) {
        result = {0, draw};
        return draw;
    }

    // 2.
    NodeCount = 0;
    QuiescenceNodeCount = 0;
    InCheckCount = {0, 0};
    result.move = NoMove;
    root.moveListEnd = nullptr;
    IterationDepth = FirstIteration;
    int alpha = -FirstWindow, beta = FirstWindow;
    ScoredMove saved{0, NoMove};

    // 3. Resume from what the table knows of the root, unless the root moves are restricted.
    if (const HashEntry* entry = RootMoveCount ? nullptr : ProbeHash()) {
        int score = entry->score();
        if (entry->depth() >= static_cast<int>(FirstIteration)) {
            if (entry->bound() == BoundExact) {
                alpha = score - AspirationHalfWidth;
                beta = score + AspirationHalfWidth;
                IterationDepth = static_cast<std::uint32_t>(entry->depth());
            } else if (entry->bound() == BoundLower && score > -FirstWindow) {
                alpha = score;
            } else if (entry->bound() == BoundUpper && score < FirstWindow) {
                beta = score;
            }
        }
        result = saved = {static_cast<std::int16_t>(score), entry->move()};
        if (HashMoveDrawRisk(entry->move()) > 0) IterationDepth = FirstIteration;
        if (alpha > KnownMateAlpha) {
            beta = FirstWindow;
            IterationDepth = FirstIteration;
        }
    }

    // 4-5.
    char fen[FenBufferSize];
    FormatFen(fen);
    LogLine("-FEN:\t", fen);
    ComputeCheckInfo(root);

    // 6.
    int score = 0;
    std::uint32_t completedDepth = 0;
    while (IterationDepth <= MaxSearchDepth.load(std::memory_order_relaxed)) {
        score = RootSearch(alpha, beta);
        if (score <= alpha) {
            AspirationState = -1;
            int b = score + 1;
            score = RootSearch(-FirstWindow, b);
            if (score <= -FirstWindow || score >= b) score = RootSearch(-FirstWindow, ResearchUpperBound);
            AspirationState = 0;
        } else if (score >= beta) {
            AspirationState = 1;
            // An interrupted re-search still plays the move that failed high.
            if (const HashEntry* entry = ProbeHash()) saved = {static_cast<std::int16_t>(score), entry->move()};
            int a = score - 1;
            score = RootSearch(a, ResearchUpperBound);
            if (score <= a || score >= ResearchUpperBound) score = RootSearch(-FirstWindow, ResearchUpperBound);
            AspirationState = 0;
        }
        if (SearchStopped()) break;
        if (result.move == ResultStalemate) {
            saved = result;
            break;
        }
        bool mate = InMateRange(score, IterationDepth);
        ReportIteration(IterationDepth, score, result.move, mate);
        saved = result;
        completedDepth = IterationDepth;
        if (mate) {
            LogLine("--- MATE: ", score);
            break;
        }
        if (draw) break;
        alpha = score - AspirationHalfWidth;
        beta = score + AspirationHalfWidth;
        ++IterationDepth;
    }

    // 7.
    if (const HashEntry* entry = ProbeHash()) {
        if (entry->move() != saved.move) {
            char text[8];
            FormatCoordinateMove(text, entry->move());
            LogLine("-E: DIFFERENT MOVE: ", text, " a: ", alpha, " b: ", beta, " score: ", score,
                    " **************** ");
        }
    } else {
        LogLine("**************************************************** WARNING "
                "*****************************************************************");
    }

    // 8-9. The closing line; after the last iteration the depth limit allows, that iteration's
    // depth.
    ReportSearchResult(std::min(IterationDepth, MaxSearchDepth.load(std::memory_order_relaxed)), completedDepth,
                       saved.score, saved.move);
    result = saved;
    return saved.move;
}

} // namespace velkor
