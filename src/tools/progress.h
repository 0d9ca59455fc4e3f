// How far a long conversion has got, for the progress line velkor-tool shows on a terminal. The
// engine's typed commands show none: their standard error belongs to the interface.
#pragma once

#include <cstdint>
#include <cstdio>

namespace velkor {

struct ConversionProgress {
    std::uint64_t read = 0;    // games read
    std::uint64_t stored = 0;  // games written to the game file (or the text output)
    std::uint64_t skipped = 0; // games skipped: duplicates, unstorable or unreadable games
    std::uint64_t bytesRead = 0;
    std::uint64_t bytesTotal = 0; // 0 when the input's size is not known (a pipe)
    double seconds = 0;           // since the conversion began
};

// Called a few times a second while a conversion runs, and once with finished at its end.
using ProgressDisplay = void (*)(const ConversionProgress& progress, bool finished);
extern ProgressDisplay ShowProgress; // none by default

// Where the tools print their messages: standard output, unless that holds their data.
extern std::FILE* ToolMessages;

// Counts a conversion's games and calls ShowProgress when it is due.
class ProgressTracker {
  public:
    explicit ProgressTracker(std::uint64_t bytesTotal);
    // A game was read; bytesRead is asked only when a line is due.
    template <typename BytesRead>
    void Game(bool stored, BytesRead bytesRead) {
        ++progress.read;
        ++(stored ? progress.stored : progress.skipped);
        if (ShowProgress && (progress.read & CheckEvery) == 0) Tick(bytesRead());
    }
    void Finish(std::uint64_t bytesRead);
    const ConversionProgress& Progress() const { return progress; }

  private:
    static constexpr std::uint64_t CheckEvery = 255; // games between looks at the clock
    void Tick(std::uint64_t bytesRead);

    ConversionProgress progress;
    double started;
    double shown = 0;
};

} // namespace velkor
