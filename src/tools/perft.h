// Perft: leaf counts of the legal move tree, counted with the engine's own machinery exactly as
// the searches use it (full generator, or evasions in check; make; legality test; unmake).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/move.h"

namespace velkor {

std::uint64_t Perft(int depth);

struct DivideEntry {
    Move move;
    std::uint64_t nodes;
};
// The perft count below each legal move of the current position.
std::vector<DivideEntry> Divide(int depth);

// One line of a perft suite: "FEN ;D1 n ;D2 n ...".
struct PerftCase {
    std::string fen;
    std::vector<std::pair<int, std::uint64_t>> counts; // (depth, nodes)
};
bool ParsePerftLine(const std::string& line, PerftCase& parsed);

} // namespace velkor
