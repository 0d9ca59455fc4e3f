// The search thread and the hand-shake through which the command loop starts and stops it.
#pragma once

#include <atomic>
#include <cstdint>

#include "movegen/move.h"
#include "position/position.h"

namespace velkor {

enum EngineStates : std::int32_t { Idle = 0, Thinking = 1, Pondering = 2, Waiting = 3, Quit = 4 };

// Words shared with the search thread; written by the command thread except AspirationState.
extern std::atomic<std::int32_t> EngineState;
extern std::atomic<std::uint8_t> StopSearch;
extern std::atomic<std::int32_t> SearchStartTime;
extern std::atomic<std::uint32_t> MaxSearchDepth;
extern std::atomic<std::int32_t> AspirationState;

// Command-thread state.
extern Move PonderMove;
extern PlyRecord PonderRecord;

inline constexpr unsigned StartDepthArgument = 128;
inline constexpr unsigned MaxIterationDepth = 127;

// Creates the three events; points CurrentPly at the base of PlyStack.
void CreateEngineEvents();
// Starts the search thread; it ends after a start in the Quit state.
void LaunchSearchThread();
void JoinSearchThread();

// Wakes the search thread for the state the caller has set and waits for its acknowledgement.
void StartEngine(unsigned depth);
// Asks a running search to stop and waits until the thread is idle; leaves EngineState Idle.
void StopEngine();
// The stop at the end of the engine's own thinking time, with extra time on a failing root.
void StopEngineConditional();
// Stops the engine and, when a ponder move stands on the board, takes it back.
void StopEngineAndTakeBackPonder();
// Takes PonderMove back after the search has been stopped.
void TakeBackPonderMove();

// Plays a move of the game on the position; false for NoMove or when it cannot be played.
bool ApplyGameMove(Move move);
// One complete engine turn: think, stop, announce, start pondering.
void PlayEngineMove();

} // namespace velkor
