// The state of each search thread and the search's shared state.
#include "position/make_move.h"
#include "search/search.h"
#include "search/signals.h"

namespace velkor {

VELKOR_PER_THREAD std::uint32_t IterationDepth{};
VELKOR_PER_THREAD std::uint32_t NodeCount{};
VELKOR_PER_THREAD std::uint64_t QuiescenceNodeCount{};
VELKOR_PER_THREAD std::array<std::uint32_t, 2> InCheckCount{};
VELKOR_PER_THREAD std::int32_t WindowState = 0;
VELKOR_PER_THREAD std::array<Move, MaxMoves> ExcludedRootMoves{};
VELKOR_PER_THREAD int ExcludedRootMoveCount = 0;
VELKOR_PER_THREAD int SelectiveDepth = 0;
alignas(CacheLineBytes) VELKOR_PER_THREAD std::array<ScoredMove, MoveStackSize> MoveStack{};
VELKOR_PER_THREAD const std::atomic<std::uint8_t>* StopRequest = &StopSearch;
VELKOR_PER_THREAD std::atomic<std::uint64_t>* NodeCountOut = nullptr;

ScoredMove SearchResult{0, NoMove};
std::uint64_t NodeLimit = NoNodeLimit;
std::array<Move, MaxMoves> RootMoves;
int RootMoveCount = 0;
int PrincipalLineCount = 1;

void EnterChild(Move move, PlyRecord& record) {
    MakeMove(move, record);
    ++CurrentPly;
}

void LeaveChild(Move move, PlyRecord& record) {
    --CurrentPly;
    UnmakeMove(move, record);
}

bool SearchStopped() {
    return (StopRequest->load(std::memory_order_relaxed) || NodeCount + QuiescenceNodeCount >= NodeLimit) &&
           IterationDepth > 2;
}

int MateMoves(int score) {
    // Mated at ply p scores -(MateScore - p): p plies from the root, the mating move the last.
    int plies = MateScore - (score < 0 ? -score : score);
    if (plies < 0 || plies > PlyStackSize) return 0;
    return score > 0 ? (plies + 1) / 2 : -(plies / 2);
}

} // namespace velkor
