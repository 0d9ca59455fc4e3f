// The bench run: each position from a fresh set-up, with the engine's own iterative deepening. The thinking output goes to the log only.
#include "tools/bench.h"

#include <chrono>
#include <cstdio>

#include "control/setup.h"
#include "notation/coordinate.h"
#include "search/helpers.h"
#include "search/iterative.h"
#include "search/search.h"
#include "search/signals.h"

namespace velkor {

BenchResult RunBench(int depth, bool verbose) {
    auto start = std::chrono::steady_clock::now();
    std::uint64_t total = 0, quiescence = 0, helpers = 0;
    for (const char* fen : BenchPositions) {
        SetupPosition(fen, false);
        CurrentPly = PlyStack.data();
        ShowThinking = false; // the thinking output goes to the log only
        EngineState = Pondering;
        StopSearch = 0;
        AspirationState = 0;
        WindowState = 0;
        MaxSearchDepth = static_cast<std::uint32_t>(depth);
        Move best = IterativeDeepening();
        total += NodeCount;
        quiescence += QuiescenceNodeCount;
        helpers += HelperNodes();
        if (verbose) {
            char text[8];
            FormatCoordinateMove(text, best);
            std::printf("%-70s %-6s %10u\n", fen, text, NodeCount);
        }
    }
    EngineState = Idle;
    ShowThinking = true;
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return {total, quiescence, helpers, seconds};
}

} // namespace velkor
