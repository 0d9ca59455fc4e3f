// The three pseudo-legal move generators, each a white and a black twin reached through a
// routine table indexed by SideToMove (entry 0 Black, entry 1 White).
#pragma once

#include "core/move.h"
#include "position/position.h"

namespace velkor {

using GenerateRoutine = ScoredMove* (*)(ScoredMove* list);
using EvasionRoutine = ScoredMove* (*)(ScoredMove* list, const PlyRecord& record);

ScoredMove* GenerateAllBlack(ScoredMove* list);
ScoredMove* GenerateAllWhite(ScoredMove* list);
ScoredMove* GenerateCapturesBlack(ScoredMove* list);
ScoredMove* GenerateCapturesWhite(ScoredMove* list);
ScoredMove* GenerateEvasionsBlack(ScoredMove* list, const PlyRecord& record);
ScoredMove* GenerateEvasionsWhite(ScoredMove* list, const PlyRecord& record);

inline constexpr GenerateRoutine GenerateAll[2] = {GenerateAllBlack, GenerateAllWhite};
inline constexpr GenerateRoutine GenerateCaptures[2] = {GenerateCapturesBlack, GenerateCapturesWhite};
inline constexpr EvasionRoutine GenerateEvasions[2] = {GenerateEvasionsBlack, GenerateEvasionsWhite};

// Fills the record's check information and generates the moves the searches use there: the
// evasions when the side to move is in check, all moves otherwise.
ScoredMove* GenerateForPly(ScoredMove* list, PlyRecord& record);

} // namespace velkor
