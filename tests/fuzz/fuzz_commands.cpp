// Fuzz target: the command stream, xboard's or (after a first word "uci") UCI's. The input is fed to the real command loop in this process,
// on a pipe that stands in for standard input, up to its end (which quits). Searches stop at a
// shallow depth so that every input runs in milliseconds. Slashes are taken out of the input:
// the tools' file names then stay inside the scratch working directory (a FEN reads the same
// without them).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "control/engine.h"
#include "frontend/command_loop.h"
#include "frontend/input.h"
#include "fuzz/fuzz_support.h"
#include "movegen/legal.h"
#include "position/position.h"
#include "search/search.h"

using namespace velkor;

namespace {

inline constexpr std::size_t InputLimit = 16384; // well inside a pipe's buffer
inline constexpr unsigned FuzzDepthCeiling = 3;

void FeedStandardInput(const std::string& text) {
    int ends[2];
    if (pipe(ends) != 0) fuzz::Fail("pipe");
    if (write(ends[1], text.data(), text.size()) != static_cast<ssize_t>(text.size())) fuzz::Fail("write");
    close(ends[1]);
    dup2(ends[0], STDIN_FILENO);
    close(ends[0]);
    ResetInput();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InitOnce();
    if (size > InputLimit) return 0;
    std::string text(reinterpret_cast<const char*>(data), size);
    std::erase(text, '/');
    SearchDepthCeiling = FuzzDepthCeiling;
    FeedStandardInput(text);
    CommandLoop();
    fuzz::Check(EngineState.load() == Quit, "the loop ended without the quit sequence");
    fuzz::Check(CurrentPly == PlyStack.data(), "CurrentPly is off the base of the ply stack");
    fuzz::Check(PonderMove == NoMove, "a ponder move was left on the board");
    fuzz::Check(NodeLimit == NoNodeLimit && RootMoveCount == 0, "a search limit outlived its search");
    return 0;
}
