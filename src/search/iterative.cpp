// Iterative deepening. Until the search exists, the thread finds no move.
#include "search/iterative.h"

namespace velkor {

Move IterativeDeepening() { return NoMove; }

} // namespace velkor
