// Fuzz target: the set-up text (FEN, EPD). An accepted position must be consistent in every
// structure, its FEN must set up the same position again, the evasions must be exactly the legal
// moves in check, and every legal move must make and unmake exactly, keys and counters included.
#include <cstddef>
#include <cstdint>
#include <string>

#include "control/setup.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/position_check.h"
#include "movegen/attacks.h"
#include "movegen/generators.h"
#include "movegen/legal.h"
#include "notation/fen.h"
#include "position/make_move.h"
#include "support/position_state.h"
#include "tools/perft.h"

using namespace velkor;

namespace {

inline constexpr std::size_t SetupTextLimit = 254; // what "setboard" hands over at most

void CheckEveryLegalMove(std::uint16_t rightsAtSetup) {
    ScoredMove legal[MaxMoves];
    ScoredMove* end = GenerateLegalMoves(legal);
    test::PositionState before = test::PositionState::Capture();
    for (ScoredMove* entry = legal; entry != end; ++entry) {
        PlyRecord record;
        SaveSnapshot(record);
        MakeMove(entry->move, record);
        fuzz::CheckPosition(rightsAtSetup);
        fuzz::Check(PositionIsPlayable(), "a legal move left the position unplayable");
        UnmakeMove(entry->move, record);
        fuzz::Check(test::PositionState::Capture() == before, "unmake did not restore the position");
    }
}

// In check the evasion generator must give exactly the legal moves of the full generator.
void CheckEvasions() {
    PlyRecord record;
    ScoredMove list[MaxMoves];
    ScoredMove* end = GenerateForPly(list, record);
    if (!record.checkers) return;
    ScoredMove* allEnd = GenerateAll[SideToMove](list);
    int mover = SideToMove, legalFromAll = 0;
    SaveSnapshot(record);
    for (ScoredMove* entry = list; entry != allEnd; ++entry) {
        MakeMove(entry->move, record);
        legalFromAll += !LeavesKingAttacked(entry->move, mover);
        UnmakeMove(entry->move, record);
    }
    ScoredMove legal[MaxMoves];
    fuzz::Check(GenerateLegalMoves(legal) - legal == legalFromAll, "evasions differ from the legal moves");
    (void)end;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InitOnce();
    std::string text = fuzz::TextOf(data, size, SetupTextLimit);
    if (!SetupPosition(text.c_str(), false)) return 0;
    std::uint16_t rights = CastlingRights;
    fuzz::CheckPosition(rights);
    fuzz::Check(PositionIsPlayable(), "an accepted position is not playable");

    char fen[FenBufferSize];
    FormatFen(fen);
    test::PositionState accepted = test::PositionState::Capture();
    fuzz::Check(SetupPosition(fen, false), "the engine's own FEN is refused");
    fuzz::Check(test::PositionState::Capture() == accepted, "the FEN sets up another position");

    CheckEveryLegalMove(rights);
    CheckEvasions();
    Perft(2);
    return 0;
}
