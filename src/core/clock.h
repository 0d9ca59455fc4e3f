// The process clock: monotonic milliseconds since the process started.
#pragma once

#include <cstdint>

namespace velkor {

std::int32_t ProcessClockMs();

} // namespace velkor
