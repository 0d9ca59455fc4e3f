// Process clock on the steady clock, counted from static initialisation.
#include "core/clock.h"

#include <chrono>

namespace velkor {

namespace {
const auto ProcessStart = std::chrono::steady_clock::now();
}

std::int32_t ProcessClockMs() {
    auto elapsed = std::chrono::steady_clock::now() - ProcessStart;
    return static_cast<std::int32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

} // namespace velkor
