// The search thread and the hand-shake through which the command loop starts and stops it.
#pragma once

#include <atomic>
#include <cstdint>

#include "core/move.h"
#include "position/position.h"
#include "search/signals.h"

namespace velkor {

// The start of the current search (also a ponder search), for the wait after a ponder hit;
// written by the command thread only.
extern std::atomic<std::int32_t> SearchStartTime;

// Command-thread state.
extern std::uint8_t PonderEnabled;
extern Move PonderMove;
extern PlyRecord PonderRecord;

inline constexpr unsigned StartDepthArgument = 128;

// The depth argument of every search start; "sd N" lowers it.
extern unsigned SearchDepthLimit;
// No search goes deeper than this, whatever it is asked; the fuzzers lower it so that every
// input runs in milliseconds.
extern unsigned SearchDepthCeiling;

// What the input asks while the engine thinks on its own move: nothing (yet), move now, end the
// turn without a move (the command that asks it stays in the input for the command loop), or
// (UCI) the opponent played the move the search ponders on.
enum class ThinkingInput { None, MoveNow, EndTurn, PonderHit };
// Waits at most timeoutMs for input and tells what it asks.
using ThinkingInputWatcher = ThinkingInput (*)(int timeoutMs);
// Installed by the command loop; without one the thinking wait does not look at the input.
void SetThinkingInputWatcher(ThinkingInputWatcher watcher);

// Everything a front end needs before its first command: the events, the input watcher, the
// search thread, the tables and a clear transposition table.
void InitEngine(ThinkingInputWatcher watcher);
// Stops any search, ends the search thread and the helper threads and waits for them.
void ShutDownEngine();

// Creates the three events; points CurrentPly at the base of PlyStack.
void CreateEngineEvents();
// Starts the search thread; it ends after a start in the Quit state.
void LaunchSearchThread();
void JoinSearchThread();

// Wakes the search thread for the state the caller has set and waits for its acknowledgement.
void StartEngine(unsigned depth);
// Asks a running search to stop and waits until the thread is idle; leaves EngineState Idle.
void StopEngine();
// The stop at the end of the engine's own thinking time, with extra time on a failing root
// unless the interface asked for the move now. False when the input ended the turn during the
// extra time: the search is then stopped, but its result is not to be played.
bool StopEngineConditional(bool allowExtraTime = true);
// Stops the engine and, when a ponder move stands on the board, takes it back.
void StopEngineAndTakeBackPonder();
// Takes PonderMove back after the search has been stopped.
void TakeBackPonderMove();
// The opponent played PonderMove (a ponder hit): it enters the game; the search runs on.
void ConfirmPonderMove();

// The engine's own turn begins now (its extra time counts from here).
void StartThinkingClock();

inline constexpr std::int64_t NoTimeLimit = INT64_MAX / 4;

// The thinking wait: up to ms (NoTimeLimit: none) for the search to end by itself, watching the
// input meanwhile; with endsWithSearch false, the end of the search does not end the wait (UCI's
// infinite and ponder searches wait for their command). Returns what ended it on the input's
// side, or None.
ThinkingInput WaitWhileThinking(std::int64_t ms, bool endsWithSearch = true);

// Ends the engine's thinking once the wait is over: stops the search, with extra time on a
// failing root unless the input asked for the move now. False when the input ended the turn: the
// search is stopped and its result is not to be played.
bool EndThinking(ThinkingInput input);

// Starts the endless search of analysis mode on the current position (EngineState Analysing).
void StartAnalysis();
// One complete engine turn: think, stop, announce, start pondering.
void PlayEngineMove();

} // namespace velkor
