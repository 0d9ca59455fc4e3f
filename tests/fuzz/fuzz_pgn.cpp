// Fuzz target: a PGN file. It is converted into a fresh game file, which is read back and
// exported as PGN and as positions; the exported PGN must convert into the same game file again.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "fuzz/fuzz_support.h"
#include "position/position.h"
#include "tools/game_export.h"
#include "tools/pgn_convert.h"

using namespace velkor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InitOnce();
    for (const char* name : {"out.game", "out.pgn", "out.pos", "round.game"}) std::remove(name);
    fuzz::WriteFile("in.pgn", data, size);
    int counter = 0;
    ConvertPgnFile("in.pgn", "out.game", counter);
    fuzz::Check(CurrentPly == PlyStack.data(), "the conversion left CurrentPly elsewhere");
    ExportPgn("out.game", "out.pgn");
    ExportPositions("out.game", "out.pos");
    fuzz::Check(CurrentPly == PlyStack.data(), "the export left CurrentPly elsewhere");
    int again = 0;
    ConvertPgnFile("out.pgn", "round.game", again);
    fuzz::Check(again == counter, "the exported PGN converts into another number of games");
    fuzz::Check(fuzz::ReadFile("round.game") == fuzz::ReadFile("out.game"), "the round trip changed the game file");
    return 0;
}
