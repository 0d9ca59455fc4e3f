// The search thread, its three events and the start/stop hand-shake.
#include "frontend/engine.h"

#include <thread>

#include "frontend/clock.h"
#include "frontend/event.h"
#include "frontend/log.h"
#include "movegen/legal.h"
#include "position/make_move.h"
#include "search/history.h"
#include "search/iterative.h"

namespace velkor {

std::atomic<std::int32_t> EngineState{Idle};
std::atomic<std::uint8_t> StopSearch{0};
std::atomic<std::int32_t> SearchStartTime{0};
std::atomic<std::uint32_t> MaxSearchDepth{0};
std::atomic<std::int32_t> AspirationState{0};

Move PonderMove = NoMove;
PlyRecord PonderRecord;

namespace {

Event EngineStartSignal;   // auto-reset: a start request
Event EngineStoppedSignal; // manual-reset: set while the thread is idle
Event EngineStartedSignal; // auto-reset: the thread accepted a start
std::thread SearchThreadHandle;

void SearchThread() {
    for (;;) {
        LogLine("-------------- STOPPED", ProcessClockMs());
        SetEvent(EngineStoppedSignal);
        WaitEvent(EngineStartSignal);
        ResetEvent(EngineStoppedSignal);
        std::int32_t state = EngineState.load();
        if (state == Thinking || state == Pondering) {
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
    MaxSearchDepth = lowByte < MaxIterationDepth ? lowByte : MaxIterationDepth;
    StopSearch = 0;
    SearchStartTime = ProcessClockMs();
    SetEvent(EngineStartSignal);
    WaitEvent(EngineStartedSignal);
    LogLine("-M: exited StartEngine");
}

void StopEngine() {
    LogLine("-M: entered StopEngine");
    EngineState = Idle;
    SearchStartTime = 0;
    StopSearch = 1;
    WaitEvent(EngineStoppedSignal);
    LogLine("-M: exited StopEngine");
}

void StopEngineConditional() {
    LogLine("-M: entered StopEngineConditional");
    EngineState = Idle;
    StopSearch = 1;
    SearchStartTime = 0;
    LogLine("-----WAIT INF C:");
    WaitEvent(EngineStoppedSignal);
    LogLine("-M: exited StopEngineConditional");
}

void TakeBackPonderMove() {
    CurrentPly = &PonderRecord;
    UnmakeMove(PonderMove, PonderRecord);
    PonderMove = NoMove;
    CurrentPly = PlyStack.data();
}

void StopEngineAndTakeBackPonder() {
    StopEngine();
    if (PonderMove != NoMove) TakeBackPonderMove();
}

bool ApplyGameMove(Move move) {
    if (move == NoMove) return false;
    // The game plus the deepest search line must fit into the history.
    if (HistoryIndex() + PlyStackSize + 1 >= GameHistorySize) {
        LogLine("-M: game history full, move ignored");
        return false;
    }
    // Whatever arrives is checked: an illegal move would corrupt the position.
    if (!IsLegalMove(move)) return false;
    MakeMove(move, *CurrentPly);
    RefreshGameSnapshot();
    ClearHistoryScores();
    LogLine(Hex{HighHalf(HashKey)}, " ", Hex{LowHalf(HashKey)});
    return true;
}

void PlayEngineMove() {
    // Without a search there is nothing to announce: the engine simply waits.
    EngineState = Waiting;
}

} // namespace velkor
