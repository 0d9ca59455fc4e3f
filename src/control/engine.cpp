// The search thread, its three events and the start/stop hand-shake.
#include "control/engine.h"

#include <algorithm>
#include <cstdio>
#include <thread>

#include "control/announce.h"
#include "control/game_moves.h"
#include "control/time_control.h"
#include "core/clock.h"
#include "core/event.h"
#include "core/log.h"
#include "core/tables.h"
#include "movegen/legal.h"
#include "notation/coordinate.h"
#include "position/make_move.h"
#include "search/helpers.h"
#include "search/iterative.h"
#include "search/thinking_output.h"
#include "search/transposition.h"

namespace velkor {

std::atomic<std::int32_t> SearchStartTime{0};

std::uint8_t PonderEnabled = 1;
Move PonderMove = NoMove;
PlyRecord PonderRecord;
unsigned SearchDepthLimit = StartDepthArgument;
unsigned SearchDepthCeiling = MaxIterationDepth;

namespace {

inline constexpr int InputWatchSliceMs = 10; // how soon a search that ended by itself is seen

Event EngineStartSignal;   // auto-reset: a start request
Event EngineStoppedSignal; // manual-reset: set while the thread is idle
Event EngineStartedSignal; // auto-reset: the thread accepted a start
std::thread SearchThreadHandle;
std::int32_t TurnStart = 0; // when the engine's current turn began
// The game position as the command thread had it at the start of a search: the search thread
// searches its own copy of it. Written by the command thread while the search thread is idle.
GamePositionCopy SearchStartPosition;
ThinkingInputWatcher InputWatcher = nullptr;

// Makes the reply the table expects and searches on it while the opponent thinks. The move comes
// from the table and may not fit the position after a key collision: then there is no pondering.
void StartPondering() {
    std::optional<HashEntry> entry = ProbeHash();
    Move expected = entry ? entry->move() : NoMove;
    CurrentPly = &PonderRecord;
    bool made = expected != NoMove && MakeTentativeGameMove(expected, PonderRecord);
    CurrentPly = PlyStack.data();
    if (!made) {
        LogLine("- NO ponder move");
        return;
    }
    EngineState = Pondering;
    ShowThinking = false;
    PonderMove = expected;
    StartEngine(SearchDepthLimit);
    char text[8];
    FormatCoordinateMove(text, expected);
    LogLine("-ponder move: ", text);
}

void SearchThread() {
    for (;;) {
        LogLine("-------------- STOPPED", ProcessClockMs());
        SetEvent(EngineStoppedSignal);
        WaitEvent(EngineStartSignal);
        ResetEvent(EngineStoppedSignal);
        std::int32_t state = EngineState.load();
        if (state == Thinking || state == Pondering || state == Analysing) {
            AdoptGamePosition(SearchStartPosition);
            LogLine("-------------- STARTED", ProcessClockMs());
            SetEvent(EngineStartedSignal);
            IterativeDeepening();
        } else {
            LogLine("-------------- ELSE  ", ProcessClockMs());
        }
        if (EngineState.load() == Quit) break;
    }
    LogLine("-------------- STARTED");
    SetEvent(EngineStartedSignal);
}

} // namespace

void CreateEngineEvents() {
    InitEvent(EngineStartSignal, false);
    InitEvent(EngineStoppedSignal, true);
    InitEvent(EngineStartedSignal, false);
    CurrentPly = PlyStack.data();
}

void LaunchSearchThread() { SearchThreadHandle = std::thread(SearchThread); }

void JoinSearchThread() {
    if (SearchThreadHandle.joinable()) SearchThreadHandle.join();
}

void StartEngine(unsigned depth) {
    LogLine("-M: entered StartEngine");
    unsigned lowByte = depth & 0xFF;
    unsigned ceiling = std::min(MaxIterationDepth, SearchDepthCeiling);
    MaxSearchDepth = lowByte < ceiling ? lowByte : ceiling;
    StopSearch = 0;
    SearchStartTime = ProcessClockMs();
    CopyGamePosition(SearchStartPosition);
    SetEvent(EngineStartSignal);
    WaitEvent(EngineStartedSignal);
    LogLine("-M: exited StartEngine");
}

void StopEngine() {
    LogLine("-M: entered StopEngine");
    // A search stopped by a command has nothing more to show: its position is about to change.
    ShowThinking = false;
    EngineState = Idle;
    SearchStartTime = 0;
    StopSearch = 1;
    WaitEvent(EngineStoppedSignal);
    LogLine("-M: exited StopEngine");
}

bool StopEngineConditional(bool allowExtraTime) {
    LogLine("-M: entered StopEngineConditional");
    EngineState = Idle;
    // A root failing low gets up to twice its budget more, within what the clock allows; the
    // input is watched as in the thinking wait.
    ThinkingInput input = ThinkingInput::None;
    if (allowExtraTime && AspirationState.load() < 0) {
        if (std::int64_t extra = FailLowExtraTimeMs(ProcessClockMs() - TurnStart)) {
            LogLine("-M: FL - Extra time");
            input = WaitWhileThinking(extra, true);
        }
    }
    StopSearch = 1;
    SearchStartTime = 0;
    LogLine("-----WAIT INF C:");
    WaitEvent(EngineStoppedSignal);
    LogLine("-M: exited StopEngineConditional");
    return input != ThinkingInput::EndTurn;
}

void TakeBackPonderMove() {
    CurrentPly = &PonderRecord;
    TakeBackTentativeGameMove(PonderMove, PonderRecord);
    PonderMove = NoMove;
    CurrentPly = PlyStack.data();
}

void ConfirmPonderMove() {
    ConfirmTentativeGameMove();
    PonderMove = NoMove;
}

void StopEngineAndTakeBackPonder() {
    StopEngine();
    if (PonderMove != NoMove) TakeBackPonderMove();
}

void SetThinkingInputWatcher(ThinkingInputWatcher watcher) { InputWatcher = watcher; }

ThinkingInput WaitWhileThinking(std::int64_t ms, bool endsWithSearch) {
    std::int64_t deadline = ms >= NoTimeLimit ? NoTimeLimit : ProcessClockMs() + ms;
    for (int timeoutMs = 0;; timeoutMs = InputWatchSliceMs) {
        std::int64_t left = deadline - ProcessClockMs();
        if (InputWatcher) {
            ThinkingInput input = InputWatcher(static_cast<int>(std::clamp<std::int64_t>(left, 0, timeoutMs)));
            if (input != ThinkingInput::None) return input;
            left = deadline - ProcessClockMs();
        }
        if (left <= 0) return ThinkingInput::None;
        if (!endsWithSearch) continue;
        if (WaitEvent(EngineStoppedSignal, InputWatcher ? 0 : left) || !InputWatcher) return ThinkingInput::None;
    }
}

void StartThinkingClock() { TurnStart = ProcessClockMs(); }

bool EndThinking(ThinkingInput input) {
    // The command that ends the turn comes next; no move is played.
    if (input == ThinkingInput::EndTurn || !StopEngineConditional(input != ThinkingInput::MoveNow)) {
        StopEngine();
        return false;
    }
    return true;
}

void InitEngine(ThinkingInputWatcher watcher) {
    CreateEngineEvents();
    SetThinkingInputWatcher(watcher);
    LaunchSearchThread();
    InitTables();
    ClearHash();
}

void ShutDownEngine() {
    StopEngineAndTakeBackPonder();
    SetSearchThreadCount(1);
    EngineState = Quit;
    StartEngine(StartDepthArgument);
    JoinSearchThread();
}

void StartAnalysis() {
    if (!PositionIsPlayable()) {
        EngineState = Analysing; // nothing to analyse; moves and set-ups may change that
        return;
    }
    EngineState = Analysing;
    ShowThinking = true;
    ClaimRootDraws = false;
    StartEngine(SearchDepthLimit);
}

void PlayEngineMove() {
    bool ponderHit = EngineState.load() == Pondering;
    // "white" or "black" can leave the side not to move in check: nothing may be searched there.
    if (!ponderHit && !PositionIsPlayable()) {
        LogLine("-M: tellusererror Illegal position");
        std::fputs("tellusererror Illegal position\n", stdout);
        EngineState = Idle;
        return;
    }
    StartThinkingClock();
    ShowThinking = true;
    ClaimRootDraws = true;
    if (!ponderHit) {
        EngineState = Thinking;
        StartEngine(SearchDepthLimit);
    }
    EngineState = Thinking;
    LogLine("M-WAIT ", ProcessClockMs());
    // Time spent pondering counts against the budget after a hit.
    std::int64_t wait = MoveTimeMs;
    if (ponderHit) wait = std::max<std::int64_t>(0, static_cast<std::int32_t>(SearchStartTime + MoveTimeMs - TurnStart));
    if (!EndThinking(WaitWhileThinking(std::min(wait, MoveTimeCapMs())))) return;
    if (ponderHit) PrintPendingFinalLine();
    if (AnnounceSearchResult() || !PonderEnabled) {
        LogLine("- NO ponder move");
        return;
    }
    StartPondering();
}

} // namespace velkor
