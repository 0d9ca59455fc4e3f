// The words the command thread and the search thread share: what the engine is doing, the stop
// request, the depth limit, the state of the aspiration window and whether thinking is shown.
// Each is written by one thread only; the search polls them with relaxed loads.
#pragma once

#include <atomic>
#include <cstdint>

namespace velkor {

// Analysing (analysis mode, "analyze") searches the position without end and never moves.
enum EngineStates : std::int32_t { Idle = 0, Thinking = 1, Pondering = 2, Waiting = 3, Quit = 4, Analysing = 5 };

inline constexpr unsigned MaxIterationDepth = 127;
inline constexpr unsigned MinIterationDepth = 2; // the first iteration of every search

// Written by the command thread.
extern std::atomic<std::int32_t> EngineState;
extern std::atomic<std::uint8_t> StopSearch;
extern std::atomic<std::uint32_t> MaxSearchDepth;
// Whether the running search prints its thinking: not while it ponders, and not once a command
// has stopped it (its position is about to change); a ponder hit turns it on.
extern std::atomic<bool> ShowThinking;

// Whether a draw on the board at the root ends the search at once with its result marker: so in
// a game, where the engine claims it; analysis searches on and shows its lines.
extern std::atomic<bool> ClaimRootDraws;

// Written by the search: -1 while the root is searched again after failing low, +1 after failing
// high, 0 once the iteration has settled.
extern std::atomic<std::int32_t> AspirationState;

} // namespace velkor
