// The generator choice of every search node.
#include "movegen/attacks.h"
#include "movegen/generators.h"

namespace velkor {

ScoredMove* GenerateForPly(ScoredMove* list, PlyRecord& record) {
    ComputeCheckInfo(record);
    return record.checkers ? GenerateEvasions[SideToMove](list, record) : GenerateAll[SideToMove](list);
}

} // namespace velkor
