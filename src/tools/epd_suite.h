// Test suites in EPD: positions with "bm" (best move) and "am" (avoid move) operations in SAN,
// searched with the engine's own iterative deepening.
#pragma once

#include <string>
#include <vector>

#include "core/move.h"

namespace velkor {

struct EpdCase {
    std::string fen;               // the four position fields
    std::string id;
    std::vector<std::string> best; // bm moves as written
    std::vector<std::string> avoid;
};

// Reads one EPD line; false when it holds no position.
bool ParseEpdLine(const std::string& line, EpdCase& parsed);

struct EpdLimits {
    int depth = 0;        // iteration limit, or 0
    int moveTimeMs = 0;   // time per position, or 0
};

// Sets the case's position up and searches it; returns the move found (NoMove when the position
// is not accepted).
Move SearchEpdCase(const EpdCase& epd, const EpdLimits& limits);

// True when found is one of the best moves (if any) and none of the moves to avoid. Moves are
// compared on the position of the case, which must be set up.
bool EpdSolved(const EpdCase& epd, Move found);

} // namespace velkor
