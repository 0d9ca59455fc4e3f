// Clock formula and the parsing of the clock commands.
#include "control/time_control.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace velkor {

std::uint32_t MovesPerControl = DefaultMovesPerControl;
std::uint32_t IncrementMs = 0;
std::uint32_t MoveTimeMs = 0;
std::uint8_t BookMovePlayed = 0;

namespace {
std::int64_t RemainingClockMs = -1; // unknown until the first "time"
std::uint32_t FixedMoveTimeMs = 0;  // "st": the budget of every move; 0 when the clock decides
std::int64_t OverheadMs = 0;        // UCI: what the interface and the pipes take of every move
} // namespace

namespace {

inline constexpr long long ClockReserveThreshold = 200; // centiseconds
inline constexpr long long ClockReserve = 100;          // one second held back
inline constexpr std::uint32_t TestClockCentiseconds = 4123456689u;
inline constexpr long long MaxIncrementMs = 24LL * 3600 * 1000;
inline constexpr std::int64_t StopReserveMs = 100;    // noticing the stop, answering, the pipe
inline constexpr std::int64_t ClockShare = 3;         // on a low clock a third of it per move
inline constexpr std::int64_t LowClockMs = 2000;      // below: the low-clock share
inline constexpr std::int64_t ClockReserveMs = 1000;  // above: all but one second may be used
inline constexpr std::uint32_t ExtraTimeThresholdMs = 6000;
inline constexpr std::uint32_t ExtraTimeFactor = 2;
inline constexpr std::uint32_t BookExitFactor = 3;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits with an optional fraction, as milliseconds: "2" 2000, "0.1" 100, "1.25" 1250.
bool ParseSecondsAsMs(const char* text, long long& ms) {
    if (!IsDigit(*text)) return false;
    long long whole = 0;
    for (; IsDigit(*text); ++text) {
        whole = whole * 10 + (*text - '0');
        if (whole > MaxIncrementMs) return false;
    }
    long long fraction = 0, scale = 100;
    if (*text == '.') {
        for (++text; IsDigit(*text); ++text, scale /= 10) fraction += (*text - '0') * scale;
    }
    if (*text) return false;
    ms = whole * 1000 + fraction;
    return ms <= MaxIncrementMs;
}

// The base: minutes, or minutes:seconds.
bool IsWellFormedBase(const char* text) {
    long long ignored;
    if (!IsDigit(*text)) return false;
    while (IsDigit(*text)) ++text;
    if (*text == '\0') return true;
    return *text == ':' && ParseSecondsAsMs(text + 1, ignored);
}

} // namespace

bool ParseInteger(const char* text, long long& value) {
    const char* p = text;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    if (!IsDigit(*p)) return false;
    long long result = 0;
    for (; IsDigit(*p); ++p) {
        if (result > (LLONG_MAX - 9) / 10) return false;
        result = result * 10 + (*p - '0');
    }
    if (*p) return false;
    value = negative ? -result : result;
    return true;
}

void ApplyClock(long long centiseconds) {
    if (centiseconds < 0 || centiseconds > INT_MAX) centiseconds = 0;
    OverheadMs = 0;
    RemainingClockMs = centiseconds * 10;
    if (FixedMoveTimeMs) {
        MoveTimeMs = FixedMoveTimeMs;
        return;
    }
    auto remaining = static_cast<std::uint32_t>(centiseconds);
    if (remaining >= ClockReserveThreshold) remaining -= ClockReserve;
    MoveTimeMs = (remaining / MovesPerControl) * 10 + IncrementMs;
}

bool ApplyFixedMoveTime(const char* seconds) {
    long long ms;
    if (!ParseSecondsAsMs(seconds, ms) || ms == 0) return false;
    // The stop reserve keeps the answer inside the N seconds; a tiny N keeps half of itself.
    FixedMoveTimeMs = static_cast<std::uint32_t>(ms - std::min<long long>(StopReserveMs, ms / 2));
    MoveTimeMs = FixedMoveTimeMs;
    return true;
}

bool ApplyLevel(const char* moves, const char* base, const char* increment) {
    long long moveCount, incrementMs;
    if (!ParseInteger(moves, moveCount) || moveCount < 0 || moveCount > INT_MAX) return false;
    if (!IsWellFormedBase(base) || !ParseSecondsAsMs(increment, incrementMs)) return false;
    MovesPerControl = moveCount == 0 ? DefaultMovesPerControl : static_cast<std::uint32_t>(moveCount);
    IncrementMs = static_cast<std::uint32_t>(incrementMs);
    FixedMoveTimeMs = 0;
    return true;
}

std::int64_t MoveTimeCapMs() {
    if (RemainingClockMs < 0) return INT64_MAX;
    std::int64_t cap = RemainingClockMs >= LowClockMs ? RemainingClockMs - ClockReserveMs
                                                       : RemainingClockMs / ClockShare - StopReserveMs;
    cap -= OverheadMs;
    return cap > 0 ? cap : 0;
}

void ApplyUciTime(long long clockMs, long long incrementMs, long long movesToGo, long long moveTimeMs,
                  long long overheadMs) {
    IncrementMs = static_cast<std::uint32_t>(std::clamp<long long>(incrementMs, 0, MaxIncrementMs));
    MovesPerControl = movesToGo > 0 ? static_cast<std::uint32_t>(std::min<long long>(movesToGo, INT_MAX))
                                    : DefaultMovesPerControl;
    FixedMoveTimeMs = 0;
    if (clockMs != NoUciClock) {
        // The clock formula works in the centiseconds xboard sends.
        ApplyClock(std::clamp<long long>(clockMs, 0, INT_MAX) / 10);
    } else {
        RemainingClockMs = -1;
        MoveTimeMs = 0;
    }
    // The overhead guards the clock once, in the cap: taken off the clock's share as well, it
    // would leave nothing of a bullet clock's share.
    OverheadMs = std::clamp<long long>(overheadMs, 0, MaxIncrementMs);
    if (moveTimeMs != NoUciMoveTime) {
        FixedMoveTimeMs = static_cast<std::uint32_t>(std::clamp<long long>(moveTimeMs - OverheadMs, 1, MaxIncrementMs));
        MoveTimeMs = FixedMoveTimeMs;
    }
}

std::int64_t FailLowExtraTimeMs(std::int64_t elapsedMs) {
    if (MoveTimeMs <= ExtraTimeThresholdMs || FixedMoveTimeMs) return 0;
    std::int64_t extra = std::min<std::int64_t>(std::int64_t{ExtraTimeFactor} * MoveTimeMs, MoveTimeCapMs() - elapsedMs);
    return extra > 0 ? extra : 0;
}

void ApplyBookExitTime() {
    BookMovePlayed = 0;
    if (FixedMoveTimeMs) return; // "st": every move gets the same time
    std::uint32_t tripled = BookExitFactor * MoveTimeMs;
    std::uint32_t perControl = (MovesPerControl * MoveTimeMs) / 10;
    MoveTimeMs = tripled < perControl ? tripled : perControl;
}

void SetTestTimeControl() {
    RemainingClockMs = -1;
    FixedMoveTimeMs = 0;
    MovesPerControl = 1;
    IncrementMs = 0;
    // Unsigned 32-bit arithmetic on purpose: the product wraps to about 29.9 days.
    MoveTimeMs = (TestClockCentiseconds / MovesPerControl) * 10u + IncrementMs;
}

} // namespace velkor
