// Zobrist keys: row c (1..12) entry s is piece c on square s; row 0 holds the en-passant keys,
// and its entries g1, c1, g8, c8 double as the keys of the castling rights.
#pragma once

#include <array>

#include "core/types.h"

namespace velkor {

using ZobristTable = std::array<std::array<HashKeyValue, SquareCount>, PieceCodeCount>;

namespace detail {
// A fixed splitmix64 stream: any fixed pseudo-random values do, nothing outside depends on them.
constexpr ZobristTable MakeZobristKeys() {
    ZobristTable keys{};
    std::uint64_t state = 0x56454C4B4F52ULL; // "VELKOR"
    for (auto& row : keys) {
        for (auto& key : row) {
            state += 0x9E3779B97F4A7C15ULL;
            std::uint64_t z = state;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
            key = z ^ (z >> 31);
        }
    }
    return keys;
}
} // namespace detail

inline constexpr ZobristTable ZobristKeys = detail::MakeZobristKeys();

// The key XORed into HashKey when a castling right is lost by a move.
constexpr HashKeyValue CastlingRightKey(int right) {
    switch (right) {
    case WhiteShort: return ZobristKeys[0][G1];
    case WhiteLong: return ZobristKeys[0][C1];
    case BlackShort: return ZobristKeys[0][G8];
    default: return ZobristKeys[0][C8];
    }
}

} // namespace velkor
