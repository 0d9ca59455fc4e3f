// Draws the board alone cannot show: bare material, the fifty-move rule and repetition.
#pragma once

#include <cstdint>

#include "core/move.h"

namespace velkor {

// Neither side can mate: fewer than four material units (a single minor piece) and no pawn.
bool IsBareMaterial();

// The result marker of a draw of the current position, or 0. count is how many earlier
// occurrences make a repetition: 1 in the search, 2 (the game rule) at the root.
Move DrawCode(int count);

} // namespace velkor
