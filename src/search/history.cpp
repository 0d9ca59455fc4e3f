// History counters of cut-off moves, the killers, and the clears that reach every search thread.
#include "search/history.h"

#include <atomic>

#include "position/position.h"

namespace velkor {

alignas(CacheLineBytes) VELKOR_PER_THREAD std::array<std::array<std::uint32_t, 4096>, 2> HistoryScores{};

namespace {

// How many clears have been asked for, and how many of them this thread has carried out.
std::atomic<std::uint32_t> HistoryClears{0};
std::atomic<std::uint32_t> KillerClears{0};
VELKOR_PER_THREAD std::uint32_t HistoryClearsDone = 0;
VELKOR_PER_THREAD std::uint32_t KillerClearsDone = 0;

void ClearOwnHistoryScores() {
    for (auto& colour : HistoryScores) colour.fill(0);
}

void ClearOwnKillers() {
    for (PlyRecord& record : PlyStack) record.killer1 = record.killer2 = NoMove;
}

} // namespace

void ClearHistoryScores() {
    ClearOwnHistoryScores();
    HistoryClearsDone = HistoryClears.fetch_add(1, std::memory_order_relaxed) + 1;
}

void ClearKillers() {
    ClearOwnKillers();
    KillerClearsDone = KillerClears.fetch_add(1, std::memory_order_relaxed) + 1;
}

void CatchUpClears() {
    auto catchUp = [](const std::atomic<std::uint32_t>& asked, std::uint32_t& done, void (*clear)()) {
        if (std::uint32_t count = asked.load(std::memory_order_relaxed); count != done) {
            clear();
            done = count;
        }
    };
    catchUp(HistoryClears, HistoryClearsDone, ClearOwnHistoryScores);
    catchUp(KillerClears, KillerClearsDone, ClearOwnKillers);
}

} // namespace velkor
