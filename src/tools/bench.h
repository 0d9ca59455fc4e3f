// The bench: a fixed list of positions searched to a fixed depth. Its total node count is a
// signature that changes only when the search or the evaluation changes.
#pragma once

#include <array>
#include <cstdint>

namespace velkor {

inline constexpr int DefaultBenchDepth = 10;

// Opening, middlegame, endgame and tactical positions.
inline constexpr std::array<const char*, 30> BenchPositions = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - -",
    "rnbqkb1r/p3pppp/1p6/2ppP3/3N4/2P5/PPP1QPPP/R1B1KB1R w KQkq -",
    "r1b2rk1/2q1b1pp/p2ppn2/1p6/3QP3/1BN1B3/PPP3PP/R4RK1 w - -",
    "2q1rr1k/3bbnnp/p2p1pp1/2pPp3/PpP1P1P1/1P2BNNP/2BQ1PRK/7R b - -",
    "r1bqk2r/pp2bppp/2p5/3pP3/P2Q1P2/2N1B3/1PP3PP/R4RK1 b kq -",
    "rnb1kbnr/pp1ppppp/8/q7/8/2N5/PPPP1PPP/R1BQKBNR w KQkq -",
    "r2q1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N2N2/PP2BPPP/R2Q1RK1 w - -",
    "r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2PP1N2/PP3PPP/RNBQ1RK1 w - -",
    "3r1k2/4npp1/1ppr3p/p6P/P2PPPP1/1NR5/5K2/2R5 w - -",
    "1k1r4/pp1b1R2/3q2pp/4p3/2B5/4Q3/PPP2B2/2K5 b - -",
    "2rr3k/pp3pp1/1nnqbN1p/3pN3/2pP4/2P3Q1/PPB4P/R4RK1 w - -",
    "5rk1/1ppb3p/p1pb4/6q1/3P1p1r/2P1R2P/PP1BQ1P1/5RKN w - -",
    "r1bq1r2/pp4k1/4p2p/3pPp1Q/3N1R1P/2PB4/6P1/6K1 w - -",
    "k4r2/1R4pb/1pQp1n1p/3P4/5p1P/3P2P1/r1q1R2K/8 w - -",
    "2Q2n2/2R4p/1p1qpp1k/8/3P3P/3B2P1/5PK1/r7 w - -",
    "r1k5/1p3q2/1Qpb4/3N1p2/5Pp1/3P2Pp/PPPK3P/4R3 w - -",
    "4rr2/5ppk/1n6/1pQ4p/p2P3P/2P4R/1q3PP1/R5K1 w - -",
    "8/7p/5k2/5p2/p1p2P2/Pr1pPK2/1P1R3P/8 b - -",
    "8/k1b5/P4p2/1Pp2p1p/K1P2P1P/8/3B4/8 w - -",
    "5rk1/p5pp/8/8/2Pbp3/1P4P1/7P/4RN1K b - -",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
    "8/8/8/4k3/8/8/3PK3/8 w - -",
    "8/5pk1/6p1/8/4P3/5PK1/8/8 w - -",
    "8/8/4kp2/8/5P2/4K3/8/6R1 w - -",
    "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - -",
    "8/3k4/8/8/3KB3/8/8/5N2 w - -",
    "r3k3/8/8/8/8/8/8/4K2R w Kq -",
    "4k3/8/8/3q4/8/8/3Q4/4K3 w - -",
};

struct BenchResult {
    std::uint64_t nodes;           // the signature: moves made by the root and main searches
    std::uint64_t quiescenceNodes; // moves made by the quiescence search
    std::uint64_t helperNodes;     // moves made by helper threads, of every kind
    double seconds;
};

// Searches every bench position from a fresh set-up to depth, with the search threads set (one
// by default: the signature holds only there); prints one line per position when verbose.
BenchResult RunBench(int depth, bool verbose);

} // namespace velkor
