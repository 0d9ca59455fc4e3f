// Fuzz target: SAN text against a set of positions. The reader must never change the position,
// and a move it returns that the generator produces must make and unmake cleanly. The resolver
// is driven directly too, with any destination square and origin mask.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "control/setup.h"
#include "fuzz/fuzz_support.h"
#include "movegen/legal.h"
#include "notation/san.h"
#include "position/make_move.h"
#include "support/position_state.h"

using namespace velkor;

namespace {

// Castling both ways, en passant, promotions with and without capture, ambiguities, checks.
constexpr const char* Positions[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
    "r3k2r/1P4P1/8/3pP3/8/8/1p4p1/R3K2R w KQkq d6",
    "r3k2r/1P4P1/8/8/3Pp3/8/1p4p1/R3K2R b KQkq d3",
    "4k3/8/8/8/N7/8/4N3/4K3 w - -",
    "4k3/8/8/8/8/3R4/8/R3K2R w K -",
    "7k/8/8/3Pp3/5K2/8/8/8 w - e6",
    "1n2k3/8/5n2/8/8/8/8/R3K2R b KQ -",
};

void CheckMove(Move move) {
    if (move == NoMove || !IsPseudoLegal(move)) return;
    test::PositionState before = test::PositionState::Capture();
    PlyRecord record;
    SaveSnapshot(record);
    MakeMove(move, record);
    UnmakeMove(move, record);
    fuzz::Check(test::PositionState::Capture() == before, "a SAN move did not unmake exactly");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InitOnce();
    if (size < 1) return 0;
    const char* fen = Positions[data[0] % std::size(Positions)];
    if (!SetupPosition(fen, false)) fuzz::Fail("a fixed position was refused");
    std::string text = fuzz::TextOf(data + 1, size - 1, 64);
    test::PositionState before = test::PositionState::Capture();

    CheckMove(ParseSanMove(text.c_str()));
    fuzz::Check(test::PositionState::Capture() == before, "the SAN reader changed the position");

    // The resolver: a destination square and an origin mask from the input, then the text.
    if (size >= 10) {
        int to = data[1] % SquareCount;
        Bitboard mask;
        std::memcpy(&mask, data + 2, sizeof(mask));
        std::string piece = fuzz::TextOf(data + 10, size - 10, 16);
        if (piece.empty()) piece = "N";
        CheckMove(ResolveSanMove(piece.c_str(), to, mask));
        fuzz::Check(test::PositionState::Capture() == before, "the SAN resolver changed the position");
    }
    return 0;
}
