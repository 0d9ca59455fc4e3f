// The helper threads of a parallel search. Each searches the main search's root on its own copy
// of the position, with its own stacks, killers and history; all share the transposition table, so
// that each finds much of its tree already searched by the others, and the main search, which
// alone decides the move and prints, goes deeper in the same time.
#pragma once

#include <cstdint>

namespace velkor {

inline constexpr int MaxSearchThreads = 256;

// Sets how many threads search: the main search and count - 1 helpers, started or ended here.
// The search must be idle. Returns the count set, lower where the system gives no more threads.
int SetSearchThreadCount(int count);
int SearchThreadCount();

// The main search, once its position is set: zeroes the helpers' counts and, unless this search
// is to run alone, copies the position for them and sets them searching it.
void StartHelpers(bool alone);
// Asks the helpers to stop and waits until every one is idle; their counts are then final.
void StopHelpers();
// The moves the helpers have made in this search (as each last published them: at every root
// move).
std::uint64_t HelperNodes();

// A helper's search of the position it adopted: iterative deepening from its own first depth,
// without output, until it is stopped or reaches the depth limit. helperNumber counts from 1.
void HelperSearch(int helperNumber);

} // namespace velkor
