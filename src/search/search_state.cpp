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
std::uint64_t NodeLimit = NoNodeLimit;
std::array<Move, MaxMoves> RootMoves;
int RootMoveCount = 0;
int PrincipalLineCount = 1;
std::array<Move, MaxMoves> ExcludedRootMoves;
int ExcludedRootMoveCount = 0;
int SelectiveDepth = 0;

void EnterChild(Move move, PlyRecord& record) {
    MakeMove(move, record);
    ++CurrentPly;
}

void LeaveChild(Move move, PlyRecord& record) {
    --CurrentPly;
    UnmakeMove(move, record);
}

bool SearchStopped() {
    return (StopSearch.load(std::memory_order_relaxed) || NodeCount + QuiescenceNodeCount >= NodeLimit) &&
           IterationDepth > 2;
}

int MateMoves(int score) {
    // Mated at ply p scores -(MateScore - p): p plies from the root, the mating move the last.
    int plies = MateScore - (score < 0 ? -score : score);
    if (plies < 0 || plies > PlyStackSize) return 0;
    return score > 0 ? (plies + 1) / 2 : -(plies / 2);
}

} // namespace velkor
