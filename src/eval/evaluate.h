// The static evaluation of the current position.
#pragma once

#include <cstdint>

namespace velkor {

// The score of the current position in centipawns for the side to move (positive: better for
// the side to move). Summed from White's point of view and negated for Black. Uses and fills the
// pawn-structure cache; changes nothing else.
std::int16_t Evaluate();

// The pawn-structure term (White's point of view), computed without the cache.
int PawnStructureScore();

} // namespace velkor
