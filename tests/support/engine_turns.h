// Helpers for tests that play engine turns through the real binary: move lines, timings, waits.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "support/engine_process.h"
#include "support/gui_board.h"

namespace velkor::test {

using Clock = std::chrono::steady_clock;

inline long long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// The lines of a text that begin with prefix, without it.
inline std::vector<std::string> LinesAfter(const std::string& text, const std::string& prefix) {
    std::vector<std::string> found;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        if (text.compare(start, prefix.size(), prefix) == 0)
            found.push_back(text.substr(start + prefix.size(), end - start - prefix.size()));
    }
    return found;
}

// The text of the n-th "move " line of the output (0 for the first), or "".
inline std::string MoveReply(const std::string& output, int n = 0) {
    std::vector<std::string> moves = LinesAfter(output, "move ");
    return static_cast<std::size_t>(n) < moves.size() ? moves[static_cast<std::size_t>(n)] : "";
}

inline std::string PonderMoveOf(const std::string& log) {
    std::vector<std::string> moves = LinesAfter(log, "-ponder move: ");
    return moves.empty() ? "" : moves.back();
}

// Waits until the engine has printed `count` move lines; false after the time-out.
inline bool WaitForMoves(EngineProcess& engine, int count, int timeoutMs) {
    auto start = Clock::now();
    while (MoveReply(engine.Output(), count - 1).empty()) {
        if (MsSince(start) > Scaled(timeoutMs)) return false;
        engine.WaitForOutput("\x01", 20); // reads whatever arrives for a moment
    }
    return true;
}

// Sets the clock, then plays e2e4 and returns how long the reply took, or -1 when none came in
// time. The refused move is a ping: once it is answered, the clock commands have been handled.
inline long long MsToAnswerE4(EngineProcess& engine, const std::string& clock, int timeoutMs) {
    engine.Send("xboard\nnew\n" + clock + "e2e5\n");
    if (!engine.WaitForOutput("Illegal move: e2e5\n", 10000)) return -1;
    auto start = Clock::now();
    engine.Send("e2e4\n");
    return WaitForMoves(engine, 1, timeoutMs) ? MsSince(start) : -1;
}

// True when text is a legal move after the given moves from the start position. Uses the
// library's own position (the tables must be filled).
inline bool IsLegalAfter(const std::vector<std::string>& moves, const std::string& text) {
    GuiBoard board;
    for (const std::string& played : moves) board.Play(played);
    return board.IsLegal(text);
}

} // namespace velkor::test
