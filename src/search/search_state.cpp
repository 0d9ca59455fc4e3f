// The search's shared state.
#include "frontend/engine.h"
#include "search/search.h"

namespace velkor {

std::uint32_t IterationDepth;
std::uint32_t NodeCount;
std::array<std::uint32_t, 2> InCheckCount;
std::array<ScoredMove, MoveStackSize> MoveStack;

bool SearchStopped() { return StopSearch.load(std::memory_order_relaxed) && IterationDepth > 2; }

} // namespace velkor
