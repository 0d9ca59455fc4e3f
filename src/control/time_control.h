// The engine's time budget, from the interface's "level" and "time" commands.
#pragma once

#include <climits>
#include <cstdint>

namespace velkor {

inline constexpr std::uint32_t DefaultMovesPerControl = 40;

extern std::uint32_t MovesPerControl;
extern std::uint32_t IncrementMs;
extern std::uint32_t MoveTimeMs;
extern std::uint8_t BookMovePlayed;

// "time T": T is the engine's clock in centiseconds. A negative or absurd value counts as an
// empty clock.
void ApplyClock(long long centiseconds);

// The most one move may take from its start, thinking and extra time together, so that no move
// can lose on time: the remaining clock less one second, and on a clock below two seconds a third
// of it less a reserve for stopping and answering. The clock formula's budget stands wherever
// the clock covers it. Unlimited until the first "time" (and after "test").
std::int64_t MoveTimeCapMs();

// The extra time a root failing low gets once the budget has run out, elapsedMs into the move:
// twice the budget when the budget exceeds six seconds, within the cap; 0 for none.
std::int64_t FailLowExtraTimeMs(std::int64_t elapsedMs);

// UCI "go": the clock of the side to move in milliseconds (NoUciClock when not given; zero or
// less is an empty clock) with its increment, the moves to go including this one (0: sudden
// death), a fixed move time (NoUciMoveTime: none; zero or less moves at once), and the overhead
// that the cap and a fixed move time give up (the clock's share stays whole, within the cap).
// The same clock formula, cap and extra time as xboard's "time" then apply.
inline constexpr long long NoUciClock = LLONG_MIN;
inline constexpr long long NoUciMoveTime = LLONG_MIN;
void ApplyUciTime(long long clockMs, long long incrementMs, long long movesToGo, long long moveTimeMs,
                  long long overheadMs);

// "st N": every move from now on gets exactly N seconds (decimals allowed) less a reserve for
// the stop, whatever the clock says, until the next "level". The cap still guards the clock.
// Returns false, changing nothing, for bad text or 0.
bool ApplyFixedMoveTime(const char* seconds);

// The book exit: the first searched move after the book gets a larger budget.
void ApplyBookExitTime();

// "level M B I": returns false, changing nothing, when M or I is not a number (B, the base in
// minutes or minutes:seconds, has no effect but must be well formed too). I is decimal seconds.
bool ApplyLevel(const char* moves, const char* base, const char* increment);

// "test": one move per control, no increment, in effect unlimited time.
void SetTestTimeControl();

// Strict whole-token integer parse; false for anything else.
bool ParseInteger(const char* text, long long& value);

} // namespace velkor
