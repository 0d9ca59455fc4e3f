// The search's shared state.
#include "position/make_move.h"
#include "search/search.h"
#include "search/signals.h"

namespace velkor {

std::uint32_t IterationDepth;
std::uint32_t NodeCount;
std::uint64_t QuiescenceNodeCount;
std::array<std::uint32_t, 2> InCheckCount;
std::array<ScoredMove, MoveStackSize> MoveStack;

void EnterChild(Move move, PlyRecord& record) {
    MakeMove(move, record);
    ++CurrentPly;
}

void LeaveChild(Move move, PlyRecord& record) {
    --CurrentPly;
    UnmakeMove(move, record);
}

bool SearchStopped() { return StopSearch.load(std::memory_order_relaxed) && IterationDepth > 2; }

} // namespace velkor
