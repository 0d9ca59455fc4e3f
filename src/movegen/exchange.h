// Static exchange evaluation of a capture (or queen promotion) for move ordering.
#pragma once

#include <cstdint>

#include "core/types.h"

namespace velkor {

// Ordering score, on the generators' scale, of piece (of the side to move) going from `from` to
// `to`, with the rook-like pool (rooks and queens of both colours) and the bishop-like pool
// (bishops and queens of both colours). A king stepping onto a defended square scores -32767.
std::int16_t ExchangeScore(int piece, int from, int to, Bitboard rookPool, Bitboard bishopPool);

} // namespace velkor
