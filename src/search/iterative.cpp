// Iterative deepening with aspiration windows, progress output and the search's log lines.
#include "search/iterative.h"

#include <algorithm>
#include <span>

#include "core/log.h"
#include "movegen/attacks.h"
#include "movegen/legal.h"
#include "notation/coordinate.h"
#include "notation/fen.h"
#include "position/make_move.h"
#include "search/draw.h"
#include "search/helpers.h"
#include "search/history.h"
#include "search/playing_level.h"
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

// The state of the aspiration window: the searches read this thread's; the main search also
// publishes it for the time control.
void SetWindowState(std::int32_t state, bool main) {
    WindowState = state;
    if (main) AspirationState = state;
}

// The root searched within (alpha, beta), and again with a wider window where the score falls
// outside it, so that it is exact. For the best line, saved takes the move that failed high, which
// an interrupted re-search still plays. main: the main search (not a helper).
int SearchWithinWindow(int alpha, int beta, ScoredMove* saved, bool main = true) {
    int score = RootSearch(alpha, beta);
    if (score <= alpha) {
        SetWindowState(-1, main);
        int b = score + 1;
        score = RootSearch(-FirstWindow, b);
        if (score <= -FirstWindow || score >= b) score = RootSearch(-FirstWindow, ResearchUpperBound);
        SetWindowState(0, main);
    } else if (score >= beta) {
        SetWindowState(1, main);
        if (std::optional<HashEntry> entry = saved ? ProbeHash() : std::nullopt)
            *saved = {static_cast<std::int16_t>(score), entry->move()};
        int a = score - 1;
        score = RootSearch(a, ResearchUpperBound);
        if (score <= a || score >= ResearchUpperBound) score = RootSearch(-FirstWindow, ResearchUpperBound);
        SetWindowState(0, main);
    }
    return score;
}

// The lines after the best one: each searches the root without the moves of the lines before it.
// Returns false when the search was stopped before all were found. lines[0] holds the best line;
// the others are filled in, and all of them sorted best first, the best line's move again first
// in the root's list.
bool SearchOtherLines(std::span<ScoredMove> lines, std::array<int, MaxPrincipalLines>& previousScores, bool first) {
    for (std::size_t k = 1; k < lines.size(); ++k) {
        ExcludedRootMoves[k - 1] = lines[k - 1].move;
        ExcludedRootMoveCount = static_cast<int>(k);
        int alpha = first ? -FirstWindow : previousScores[k] - AspirationHalfWidth;
        int beta = first ? FirstWindow : previousScores[k] + AspirationHalfWidth;
        int score = SearchWithinWindow(alpha, beta, nullptr);
        if (SearchStopped()) break;
        lines[k] = {static_cast<std::int16_t>(score), MoveStack[0].move};
    }
    bool complete = !SearchStopped();
    ExcludedRootMoveCount = 0;
    if (!complete) return false;
    std::stable_sort(lines.begin(), lines.end(), [](const ScoredMove& a, const ScoredMove& b) { return a.score > b.score; });
    for (std::size_t k = 0; k < lines.size(); ++k) previousScores[k] = lines[k].score;
    ScoredMove* end = PlyStack[0].moveListEnd;
    ScoredMove* best = std::find_if(MoveStack.data(), end, [&](const ScoredMove& entry) { return entry.move == lines[0].move; });
    if (best != end) std::swap(*best, MoveStack[0]);
    MoveStack[0].score = lines[0].score;
    return true;
}

// How many of the wanted lines this search can find: no more than there are moves to choose from.
std::size_t LinesToFind(int wanted) {
    if (wanted <= 1) return 1;
    ScoredMove legal[MaxMoves];
    ScoredMove* end = GenerateLegalMoves(legal);
    auto count = static_cast<int>(end - legal);
    if (RootMoveCount)
        count = static_cast<int>(std::count_if(legal, end, [](const ScoredMove& entry) {
            return std::find(RootMoves.begin(), RootMoves.begin() + RootMoveCount, entry.move) != RootMoves.begin() + RootMoveCount;
        }));
    return static_cast<std::size_t>(std::clamp(std::min(count, wanted), 1, MaxPrincipalLines));
}

} // namespace

Move IterativeDeepening() {
    PlyRecord& root = PlyStack[0];
    ScoredMove& result = MoveStack[0];
    CatchUpClears();
    BeginThinkingOutput();

    // 1. A draw on the board needs no search where the game claims it. Elsewhere one iteration
    // shows a line and a move; deeper ones could not change the result.
    Move draw = DrawCode(2);
    if (draw && ClaimRootDraws) {
        SearchResult = result = {0, draw};
        StartHelpers(true);
        return draw;
    }

    // 2.
    NodeCount = 0;
    QuiescenceNodeCount = 0;
    SelectiveDepth = 0;
    // A weakened search looks for its candidate lines and shows as many as were asked for.
    bool weak = Weakened(PlayingLevel);
    std::array<ScoredMove, MaxPrincipalLines> lineStore, candidates;
    std::array<int, MaxPrincipalLines> lineScores{};
    std::span<ScoredMove> lines(lineStore.data(), LinesToFind(std::max(PrincipalLineCount, CandidateLines(PlayingLevel))));
    std::size_t shownLines = std::min(lines.size(), static_cast<std::size_t>(PrincipalLineCount));
    InCheckCount = {0, 0};
    result.move = NoMove;
    root.moveListEnd = nullptr;
    IterationDepth = FirstIteration;
    int alpha = -FirstWindow, beta = FirstWindow;
    ScoredMove saved{0, NoMove};

    // 3. Resume from what the table knows of the root, unless the root moves are restricted or the
    // search is to stay within its level's depth.
    if (std::optional<HashEntry> entry = RootMoveCount || weak ? std::nullopt : ProbeHash()) {
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
    // Helpers search beside a search of the whole tree: a weakened or node-limited search, which
    // must play the same at any thread count, runs alone.
    bool alone = weak || NodeLimit != NoNodeLimit || SearchThreadCount() == 1;
    StartHelpers(alone);

    // 6.
    int score = 0;
    std::uint32_t completedDepth = 0;
    while (IterationDepth <= MaxSearchDepth.load(std::memory_order_relaxed)) {
        score = SearchWithinWindow(alpha, beta, &saved);
        if (SearchStopped()) break;
        if (result.move == ResultStalemate) {
            saved = result;
            break;
        }
        lines[0] = result;
        if (lines.size() > 1) {
            if (!SearchOtherLines(lines, lineScores, completedDepth == 0)) break;
            score = result.score;
        }
        bool mate = InMateRange(score, IterationDepth);
        if (shownLines > 1) ReportLines(IterationDepth, lines.first(shownLines));
        else ReportIteration(IterationDepth, score, result.move, mate);
        if (weak) std::copy(lines.begin(), lines.end(), candidates.begin());
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

    if (!alone) StopHelpers();
    // A weakened search plays its level's choice among the lines of its last completed iteration.
    if (weak && completedDepth) saved = ChooseLevelLine(std::span(candidates.data(), lines.size()), PlayingLevel);

    // 7. (With helpers the root's entry may be a helper's.)
    if (std::optional<HashEntry> entry = ProbeHash()) {
        if (entry->move() != saved.move && alone && !weak) {
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
    SearchResult = result = saved;
    return saved.move;
}

void HelperSearch(int helperNumber) {
    CatchUpClears();
    NodeCount = 0;
    QuiescenceNodeCount = 0;
    SelectiveDepth = 0;
    InCheckCount = {0, 0};
    ExcludedRootMoveCount = 0;
    WindowState = 0;
    PlyRecord& root = PlyStack[0];
    root.moveListEnd = nullptr;
    ComputeCheckInfo(root);
    // Every other helper starts one iteration deeper: two threads on the same depth search the
    // same tree in the same order and mostly wait on each other's table entries, while one a
    // depth ahead fills the table with the moves the next iteration wants first.
    IterationDepth = FirstIteration + static_cast<std::uint32_t>(helperNumber % 2);
    int alpha = -FirstWindow, beta = FirstWindow;
    while (IterationDepth <= MaxSearchDepth.load(std::memory_order_relaxed)) {
        int score = SearchWithinWindow(alpha, beta, nullptr, false);
        if (SearchStopped() || IsMarker(MoveStack[0].move)) break;
        alpha = score - AspirationHalfWidth;
        beta = score + AspirationHalfWidth;
        ++IterationDepth;
    }
}

} // namespace velkor
