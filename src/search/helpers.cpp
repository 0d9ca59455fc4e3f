// The helper threads, their start and stop hand-shake and their node counts.
#include "search/helpers.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

#include "core/event.h"
#include "position/position.h"
#include "search/search.h"

namespace velkor {

namespace {

struct Helper {
    int number = 0;
    std::thread thread;
    Event start; // auto-reset: search (or, with quit set, end)
    Event idle;  // manual-reset: set while the helper waits
    std::atomic<bool> quit{false};
    std::atomic<std::uint64_t> nodes{0};
};

std::vector<std::unique_ptr<Helper>> Helpers;
// The main search's position, copied when it starts the helpers; they copy it in turn. Written
// only while every helper is idle.
GamePositionCopy HelperStartPosition;
// The helpers' stop request, set by the main search.
std::atomic<std::uint8_t> HelpersStop{0};

void HelperThread(Helper& helper) {
    StopRequest = &HelpersStop;
    NodeCountOut = &helper.nodes;
    for (;;) {
        WaitEvent(helper.start);
        if (helper.quit.load()) return;
        AdoptGamePosition(HelperStartPosition);
        HelperSearch(helper.number);
        helper.nodes.store(NodeCount + QuiescenceNodeCount, std::memory_order_relaxed);
        SetEvent(helper.idle);
    }
}

} // namespace

int SetSearchThreadCount(int count) {
    count = std::clamp(count, 1, MaxSearchThreads);
    while (static_cast<int>(Helpers.size()) > count - 1) {
        Helper& helper = *Helpers.back();
        helper.quit = true;
        SetEvent(helper.start);
        helper.thread.join();
        Helpers.pop_back();
    }
    while (static_cast<int>(Helpers.size()) < count - 1) {
        auto helper = std::make_unique<Helper>();
        helper->number = static_cast<int>(Helpers.size()) + 1;
        InitEvent(helper->start, false);
        InitEvent(helper->idle, true);
        SetEvent(helper->idle);
        try {
            helper->thread = std::thread(HelperThread, std::ref(*helper));
        } catch (const std::system_error&) {
            break; // the system gives no more threads: search with those there are
        }
        Helpers.push_back(std::move(helper));
    }
    return SearchThreadCount();
}

int SearchThreadCount() { return static_cast<int>(Helpers.size()) + 1; }

void StartHelpers(bool alone) {
    for (auto& helper : Helpers) helper->nodes.store(0, std::memory_order_relaxed);
    if (alone || Helpers.empty()) return;
    CopyGamePosition(HelperStartPosition);
    HelpersStop = 0;
    for (auto& helper : Helpers) {
        ResetEvent(helper->idle);
        SetEvent(helper->start);
    }
}

void StopHelpers() {
    HelpersStop = 1;
    for (auto& helper : Helpers) WaitEvent(helper->idle);
}

std::uint64_t HelperNodes() {
    std::uint64_t nodes = 0;
    for (auto& helper : Helpers) nodes += helper->nodes.load(std::memory_order_relaxed);
    return nodes;
}

} // namespace velkor
