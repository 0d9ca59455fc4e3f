// Thinking lines in the two protocols' forms, formatted into fixed buffers and written whole.
#include "search/thinking_output.h"

#include <algorithm>
#include <cstdio>

#include "core/clock.h"
#include "core/log.h"
#include "notation/coordinate.h"
#include "search/helpers.h"
#include "search/search.h"
#include "search/signals.h"
#include "search/transposition.h"

namespace velkor {

ThinkingFormat ThinkingOutput = ThinkingFormat::Xboard;

namespace {

inline constexpr std::uint32_t QuietIterations = 6; // xboard: no line up to here but for mates
inline constexpr int LineBufferSize = 1024;         // 128 moves of six characters and a marker
inline constexpr int ProgressLineSize = LineBufferSize + 64;

std::int32_t SearchStartMs = 0; // when this search began, for the time column

// What this search printed last, so that the closing line does not repeat it.
std::uint32_t PrintedDepth = 0;
Move PrintedMove = NoMove;
std::uint64_t PrintedNodes = 0;

// The closing line of a ponder search that ended by itself, for a hit that comes afterwards.
char PendingFinalLine[ProgressLineSize];
bool FinalLinePending = false;

bool ThinkingShown() { return ShowThinking.load(std::memory_order_relaxed); }
std::int32_t ElapsedMs() { return ProcessClockMs() - SearchStartMs; }
// Every thread's moves count: the main search's and its helpers'.
std::uint64_t SearchedNodes() { return NodeCount + QuiescenceNodeCount + HelperNodes(); }

inline constexpr int XboardMateScore = 100000;

// xboard's score: centipawns, or for a mate in N moves (the mating move included) 100000 + N,
// and -100000 - N when mated in N, which interfaces show as "#N" and "#-N".
int XboardScore(int score) {
    int mate = MateMoves(score);
    if (mate > 0) return XboardMateScore + mate;
    if (mate < 0 || score <= -MateScore) return -XboardMateScore + mate;
    return score;
}

// xboard: depth, score, time in centiseconds, nodes, line. Interfaces read whole numbers only: a
// score in pawns would hide the line from them.
int FormatXboardLine(char* buffer, std::size_t size, std::uint32_t depth, int score, const char* line) {
    return std::snprintf(buffer, size, "    %d     %d     %d     %d  %s\n", static_cast<int>(depth), XboardScore(score),
                         ElapsedMs() / 10, static_cast<int>(NodeCount), line);
}

// UCI: every node the search made counts, and the line starts with the move that is played.
// With several lines each names its rank (multiPv from 1); with one, none does.
int FormatUciLine(char* buffer, std::size_t size, std::uint32_t depth, int score, Move best, int multiPv) {
    std::uint64_t nodes = SearchedNodes();
    std::int32_t ms = ElapsedMs();
    int mate = MateMoves(score);
    char scoreText[24], rankText[24] = "";
    if (mate || score <= -MateScore) std::snprintf(scoreText, sizeof(scoreText), "mate %d", mate);
    else std::snprintf(scoreText, sizeof(scoreText), "cp %d", score);
    if (multiPv) std::snprintf(rankText, sizeof(rankText), " multipv %d", multiPv);
    int length = std::snprintf(buffer, size, "info depth %u seldepth %d%s score %s nodes %llu nps %llu time %d pv", depth,
                               std::max(SelectiveDepth, static_cast<int>(depth)), rankText, scoreText,
                               static_cast<unsigned long long>(nodes),
                               static_cast<unsigned long long>(nodes * 1000 / static_cast<std::uint64_t>(ms > 0 ? ms : 1)),
                               static_cast<int>(ms));
    Move line[MaxIterationDepth];
    int count = PrincipalLine(best, line, static_cast<int>(depth < MaxIterationDepth ? depth : MaxIterationDepth));
    for (int i = 0; i < count && length + 8 < static_cast<int>(size); ++i) {
        buffer[length++] = ' ';
        length = static_cast<int>(FormatCoordinateMove(buffer + length, line[i]) - buffer);
    }
    buffer[length++] = '\n';
    buffer[length] = '\0';
    return length;
}

void PrintLine(std::uint32_t depth, int score, Move best, const char* xboardLine) {
    char text[ProgressLineSize];
    if (ThinkingOutput == ThinkingFormat::Uci)
        FormatUciLine(text, sizeof(text), depth, score, best, PrincipalLineCount > 1 ? 1 : 0);
    else FormatXboardLine(text, sizeof(text), depth, score, xboardLine);
    std::fputs(text, stdout);
    PrintedDepth = depth;
    PrintedMove = best;
    PrintedNodes = SearchedNodes();
}

} // namespace

void BeginThinkingOutput() {
    SearchStartMs = ProcessClockMs();
    PrintedDepth = 0;
    PrintedMove = NoMove;
    PrintedNodes = 0;
    FinalLinePending = false;
}

void ReportIteration(std::uint32_t depth, int score, Move best, bool mate) {
    bool uci = ThinkingOutput == ThinkingFormat::Uci;
    if (!uci && depth <= QuietIterations && !mate) return;
    if (EngineState.load(std::memory_order_relaxed) == Pondering) LogLine("-PONDER:");
    char line[LineBufferSize];
    HashLine(line, static_cast<int>(depth));
    LogLine("-E: ", depth, ":\t", score, "\t", line);
    // An iteration the table answered without a node is printed too: the next one may take long,
    // and an analysing interface would show nothing until it ends.
    if (ThinkingShown()) PrintLine(depth, score, best, line);
}

void ReportLines(std::uint32_t depth, std::span<const ScoredMove> lines) {
    char line[LineBufferSize];
    HashLine(line, static_cast<int>(depth));
    LogLine("-E: ", depth, ":\t", lines[0].score, "\t", line);
    if (!ThinkingShown()) return;
    char text[ProgressLineSize];
    for (std::size_t k = 0; k < lines.size(); ++k) {
        FormatUciLine(text, sizeof(text), depth, lines[k].score, lines[k].move, static_cast<int>(k + 1));
        std::fputs(text, stdout);
    }
    PrintedDepth = depth;
    PrintedMove = lines[0].move;
    PrintedNodes = SearchedNodes();
}

void ReportSearchResult(std::uint32_t depth, std::uint32_t completedDepth, int score, Move best) {
    // UCI names the iteration the result comes from; xboard the one the search ended in.
    if (ThinkingOutput == ThinkingFormat::Uci) {
        if (completedDepth) depth = completedDepth;
        // A line the table answered is repeated with the nodes searched since.
        if (PrintedDepth == depth && PrintedMove == best && PrintedNodes == SearchedNodes()) return;
    } else if (PrintedDepth == depth) {
        return;
    }
    char line[LineBufferSize];
    HashLine(line, static_cast<int>(depth));
    if (ThinkingShown()) {
        PrintLine(depth, score, best, line);
    } else if (ThinkingOutput == ThinkingFormat::Xboard) {
        FinalLinePending = FormatXboardLine(PendingFinalLine, sizeof(PendingFinalLine), depth, score, line) > 0;
    }
}

void PrintPendingFinalLine() {
    if (FinalLinePending) std::fputs(PendingFinalLine, stdout);
    FinalLinePending = false;
}

} // namespace velkor
