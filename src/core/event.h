// Events between threads (the command thread and the search threads): a flag under a mutex with a
// condition variable, either manual-reset (stays set until reset) or auto-reset (a successful
// wait clears it).
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace velkor {

struct Event {
    std::mutex lock;
    std::condition_variable changed;
    bool set = false;
    bool manualReset = false;
};

void InitEvent(Event& event, bool manualReset);
void SetEvent(Event& event);
void ResetEvent(Event& event);
// Waits without limit.
void WaitEvent(Event& event);
// Waits at most the given milliseconds; returns true when the event was set in time.
bool WaitEvent(Event& event, std::int64_t milliseconds);

} // namespace velkor
