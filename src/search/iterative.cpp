// Iterative deepening with aspiration windows, progress output and the search's log lines.
#include "search/iterative.h"

#include <algorithm>
#include <cstdio>

#include "core/clock.h"
#include "core/log.h"
#include "movegen/attacks.h"
#include "notation/coordinate.h"
#include "notation/fen.h"
#include "position/make_move.h"
#include "search/draw.h"
#include "search/search.h"
#include "search/signals.h"
#include "search/transposition.h"

namespace velkor {

namespace {

inline constexpr int FirstWindow = MateScore;
inline constexpr int AspirationHalfWidth = 30;
inline constexpr int ResearchUpperBound = MateScore - 1;
inline constexpr int KnownMateAlpha = MateScore - 50;
inline constexpr std::uint32_t FirstIteration = 2;
inline constexpr std::uint32_t QuietIterations = 6; // no progress line up to here but for mates
inline constexpr int LineBufferSize = 1024;         // 128 moves of six characters and a marker

bool InMateRange(int score, std::uint32_t depth) {
    int d = static_cast<int>(depth);
    return score <= d - MateScore || score >= MateScore - d;
}

inline constexpr int ProgressLineSize = LineBufferSize + 64;

bool IsPondering() { return EngineState.load(std::memory_order_relaxed) == Pondering; }
bool ThinkingShown() { return ShowThinking.load(std::memory_order_relaxed); }

std::int32_t SearchStartMs = 0; // when this search began, for the time column

// The thinking output of the protocol: depth, score in centipawns, time in centiseconds, nodes,
// line. Interfaces read whole numbers only: a score in pawns would hide the line from them.
int FormatProgressLine(char* buffer, std::size_t size, std::uint32_t depth, int score, const char* line) {
    int centiseconds = (ProcessClockMs() - SearchStartMs) / 10;
    return std::snprintf(buffer, size, "    %d     %d     %d     %d  %s\n", static_cast<int>(depth), score,
                         centiseconds, static_cast<int>(NodeCount), line);
}

// The depth of the last iteration line this search printed (0: none), so that the closing line
// does not repeat it.
std::uint32_t PrintedDepth = 0;

void PrintProgressLine(std::uint32_t depth, int score, const char* line) {
    char text[ProgressLineSize];
    FormatProgressLine(text, sizeof(text), depth, score, line);
    std::fputs(text, stdout);
}

// The closing line of a ponder search that ended by itself, for a hit that comes afterwards.
char PendingFinalLine[ProgressLineSize];
bool FinalLinePending = false;

void ReportIteration(int score) {
    if (IsPondering()) LogLine("-PONDER:");
    char line[LineBufferSize];
    HashLine(line, static_cast<int>(IterationDepth));
    LogLine("-E: ", IterationDepth, ":\t", score, "\t", line);
    if (ThinkingShown()) {
        PrintProgressLine(IterationDepth, score, line);
        PrintedDepth = IterationDepth;
    }
}

} // namespace

void PrintPendingFinalLine() {
    if (FinalLinePending) std::fputs(PendingFinalLine, stdout);
    FinalLinePending = false;
}

Move IterativeDeepening() {
    PlyRecord& root = PlyStack[0];
    ScoredMove& result = MoveStack[0];
    FinalLinePending = false;
    SearchStartMs = ProcessClockMs();
    PrintedDepth = 0;

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

    // 3. Resume from what the table knows of the root.
    if (const HashEntry* entry = ProbeHash()) {
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
        if (IterationDepth > QuietIterations || mate) ReportIteration(score);
        saved = result;
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

    // 8-9. The closing line, unless it would repeat the last iteration's; after the last
    // iteration the depth limit allows, that iteration's depth.
    std::uint32_t depth = std::min(IterationDepth, MaxSearchDepth.load(std::memory_order_relaxed));
    char line[LineBufferSize];
    HashLine(line, static_cast<int>(depth));
    if (!ThinkingShown()) {
        FinalLinePending = FormatProgressLine(PendingFinalLine, sizeof(PendingFinalLine), depth, saved.score, line) > 0;
    } else if (PrintedDepth != depth) {
        PrintProgressLine(depth, saved.score, line);
    }
    result = saved;
    return saved.move;
}

} // namespace velkor
