// Playing below full strength. A level runs from 0 (the weakest) to 20 (full strength), with
// fractions between. A weaker level searches fewer nodes and chooses among its few best root
// moves, the worse of them less often: it misses deeper tactics and plans, and its games vary,
// but every move it weighs was searched, so it does not throw pieces away for nothing. A node
// budget rather than a time makes a level play alike on every machine and at every clock.
#pragma once

#include <cstdint>
#include <span>

#include "core/move.h"

namespace velkor {

inline constexpr double FullStrengthLevel = 20.0;

// The lines a weakened search looks for, whatever the interface shows: four, and two from
// CloseLinesLevel on, where the choice is left only between moves of about the same score and
// the depth the other lines would cost counts for more.
inline constexpr int LevelCandidateLines = 4;
inline constexpr int CloseCandidateLines = 2;
inline constexpr double CloseLinesLevel = 15.0;
int CandidateLines(double level);

// The level of the next search: set by the command thread while the search is idle;
// FullStrengthLevel for analysis and every search the interface ends itself.
extern double PlayingLevel;

bool Weakened(double level);

// The nodes a search at this level may spend; NoNodeLimit at full strength.
std::uint64_t LevelNodeBudget(double level);

// The line played, of the best lines of the last completed iteration (best first, each with its
// exact score; at least one).
ScoredMove ChooseLevelLine(std::span<const ScoredMove> lines, double level);

// The level that plays at this Elo on the scale the levels were measured on, and the Elo of
// full strength, the top of that scale.
inline constexpr int LowestLevelElo = 800;
double LevelForElo(int elo);
int FullStrengthElo();

} // namespace velkor
