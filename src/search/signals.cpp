// Storage of the words the two threads share.
#include "search/signals.h"

namespace velkor {

std::atomic<std::int32_t> EngineState{Idle};
std::atomic<std::uint8_t> StopSearch{0};
std::atomic<std::uint32_t> MaxSearchDepth{0};
std::atomic<bool> ShowThinking{true};
std::atomic<bool> ClaimRootDraws{true};
std::atomic<std::int32_t> AspirationState{0};

} // namespace velkor
