// Progress of the conversions, at most a few lines a second.
#include "tools/progress.h"

#include <chrono>

namespace velkor {

ProgressDisplay ShowProgress = nullptr;
std::FILE* ToolMessages = stdout;

namespace {

inline constexpr double SecondsBetweenLines = 0.25;

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace

ProgressTracker::ProgressTracker(std::uint64_t bytesTotal) : started(Now()) { progress.bytesTotal = bytesTotal; }

void ProgressTracker::Tick(std::uint64_t bytesRead) {
    double now = Now();
    if (now - shown < SecondsBetweenLines) return;
    shown = now;
    progress.bytesRead = bytesRead;
    progress.seconds = now - started;
    ShowProgress(progress, false);
}

void ProgressTracker::Finish(std::uint64_t bytesRead) {
    if (!ShowProgress) return;
    progress.bytesRead = bytesRead;
    progress.seconds = Now() - started;
    ShowProgress(progress, true);
}

} // namespace velkor
