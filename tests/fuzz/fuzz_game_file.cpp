// Fuzz target: a game file. It is exported as PGN and as positions; then games are appended to
// it, and a file that read cleanly before must read cleanly afterwards with every game in it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz/fuzz_support.h"
#include "position/position.h"
#include "tools/game_export.h"
#include "tools/pgn_convert.h"

using namespace velkor;

namespace {

constexpr char TwoGames[] = "[Result \"1-0\"]\n1. e4 e5 2. Nf3 Nc6 1-0\n\n[Result \"0-1\"]\n1. d4 d5 0-1\n";

// What an export prints, read back from a file that stands in for standard output.
template <typename Run>
std::string Printed(Run run) {
    std::fflush(stdout);
    if (!std::freopen("printed.txt", "w", stdout)) fuzz::Fail("cannot capture standard output");
    run();
    std::fflush(stdout);
    if (!std::freopen("/dev/null", "w", stdout)) fuzz::Fail("cannot silence standard output");
    return fuzz::ReadFile("printed.txt");
}

int ExportedGames(const std::string& printed) {
    std::size_t at = printed.find("converted: ");
    return at == std::string::npos ? -1 : std::stoi(printed.substr(at + 11));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InitOnce();
    for (const char* name : {"out.pgn", "out.pos"}) std::remove(name);
    fuzz::WriteFile("in.game", data, size);
    fuzz::WriteFile("two.pgn", reinterpret_cast<const std::uint8_t*>(TwoGames), sizeof(TwoGames) - 1);
    std::string before = Printed([] { ExportPgn("in.game", "out.pgn"); });
    ExportPositions("in.game", "out.pos");
    fuzz::Check(CurrentPly == PlyStack.data(), "the export left CurrentPly elsewhere");

    int counter = 0;
    ConvertPgnFile("two.pgn", "in.game", counter);
    std::string after = Printed([] { ExportPgn("in.game", "out.pgn"); });
    if (before.rfind("OK\n", 0) == 0) {
        fuzz::Check(after.rfind("OK\n", 0) == 0, "appending damaged a readable game file");
        fuzz::Check(ExportedGames(after) == ExportedGames(before) + counter, "appended games were lost");
    }
    return 0;
}
