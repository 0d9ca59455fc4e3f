// The thinking lines a search prints, in the protocol the engine speaks: xboard's
// "depth score time nodes line" or UCI's "info depth ... pv ...".
#pragma once

#include <cstdint>
#include <span>

#include "core/move.h"

namespace velkor {

enum class ThinkingFormat : std::uint8_t { Xboard, Uci };

// Chosen once at start-up, before the search thread runs.
extern ThinkingFormat ThinkingOutput;

// A search begins: its clock starts and nothing of it has been printed.
void BeginThinkingOutput();

// A completed iteration of the given depth, with its score and best move (the line then follows
// the table), also into the log. Printed only while thinking is shown; xboard sees the early
// iterations only when they find a mate.
void ReportIteration(std::uint32_t depth, int score, Move best, bool mate);

// A completed iteration of a search for several lines (UCI only): one line each, best first.
void ReportLines(std::uint32_t depth, std::span<const ScoredMove> lines);

// The line of the search's result once it has ended: depth is the iteration it ended in. Not
// printed when it would repeat the last iteration's line; kept for PrintPendingFinalLine when
// thinking is not shown.
void ReportSearchResult(std::uint32_t depth, std::uint32_t completedDepth, int score, Move best);

// A ponder search that ends by itself prints nothing; when the expected move then arrives, its
// closing line is printed by this (on the command thread, once the search thread is idle), so
// that the interface sees what the move is based on. Does nothing otherwise.
void PrintPendingFinalLine();

} // namespace velkor
