// Event operations.
#include "core/event.h"

#include <chrono>

namespace velkor {

void InitEvent(Event& event, bool manualReset) {
    std::lock_guard guard(event.lock);
    event.set = false;
    event.manualReset = manualReset;
}

void SetEvent(Event& event) {
    {
        std::lock_guard guard(event.lock);
        event.set = true;
    }
    event.changed.notify_all();
}

void ResetEvent(Event& event) {
    std::lock_guard guard(event.lock);
    event.set = false;
}

void WaitEvent(Event& event) {
    std::unique_lock guard(event.lock);
    event.changed.wait(guard, [&] { return event.set; });
    if (!event.manualReset) event.set = false;
}

bool WaitEvent(Event& event, std::int64_t milliseconds) {
    std::unique_lock guard(event.lock);
    bool signalled = event.changed.wait_for(guard, std::chrono::milliseconds(milliseconds),
                                            [&] { return event.set; });
    if (signalled && !event.manualReset) event.set = false;
    return signalled;
}

} // namespace velkor
