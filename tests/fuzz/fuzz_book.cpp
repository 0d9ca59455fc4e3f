// Fuzz target: a book file. It is loaded from the start position, which must stand unchanged
// afterwards (CurrentPly and the table's age too), and every planted line is then played out:
// each book move met must be a legal move of its position.
#include <cstddef>
#include <cstdint>

#include "book/book.h"
#include "control/setup.h"
#include "fuzz/fuzz_support.h"
#include "movegen/legal.h"
#include "position/make_move.h"
#include "search/transposition.h"
#include "support/position_state.h"

using namespace velkor;

namespace {

// Follows the book moves from the current position, depth first, up to the longest line.
void PlayOut(int depth) {
    if (depth == MaxBookLineMoves) return;
    std::optional<HashEntry> entry = ProbeHash();
    if (!entry || entry->age() != BookMoveAge || entry->move() == NoMove) return;
    Move move = entry->move();
    fuzz::Check(IsLegalMove(move), "a planted book move is not legal in its position");
    SaveSnapshot(*CurrentPly);
    MakeMove(move, *CurrentPly);
    ++CurrentPly;
    PlayOut(depth + 1);
    --CurrentPly;
    UnmakeMove(move, *CurrentPly);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InitOnce();
    fuzz::WriteFile("in.book", data, size);
    CurrentPly = PlyStack.data();
    if (!SetupPosition(StartPositionFen, false)) fuzz::Fail("the start position was refused");
    test::PositionState start = test::PositionState::Capture();
    std::uint16_t age = HashAge;
    LoadBook("in.book");
    fuzz::Check(test::PositionState::Capture() == start, "loading the book moved the position");
    fuzz::Check(CurrentPly == PlyStack.data(), "loading the book moved CurrentPly");
    fuzz::Check(HashAge == age, "loading the book changed the table's age");
    PlayOut(0);
    fuzz::Check(test::PositionState::Capture() == start, "playing the book out moved the position");
    return 0;
}
