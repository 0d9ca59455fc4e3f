// EPD suites: parsing of the lines, the search of a position, and the verdict.
#include "tools/epd_suite.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <sstream>
#include <thread>

#include "control/setup.h"
#include "notation/san.h"
#include "position/position.h"
#include "search/iterative.h"
#include "search/search.h"
#include "search/signals.h"

namespace velkor {

namespace {

inline constexpr int FenFields = 4;

bool IsNumber(const std::string& word) {
    return !word.empty() && word.find_first_not_of("0123456789-") == std::string::npos;
}

std::string Unquoted(std::string text) {
    text.erase(0, text.find_first_not_of(" \t\""));
    std::size_t end = text.find_last_not_of(" \t\"");
    return end == std::string::npos ? "" : text.substr(0, end + 1);
}

// Stops the running search after a time, unless it ends first.
class StopTimer {
  public:
    explicit StopTimer(int ms) : worker([this, ms] {
        std::unique_lock guard(lock);
        if (!done.wait_for(guard, std::chrono::milliseconds(ms), [this] { return finished; })) StopSearch = 1;
    }) {}
    ~StopTimer() {
        {
            std::lock_guard guard(lock);
            finished = true;
        }
        done.notify_all();
        worker.join();
    }

  private:
    std::mutex lock;
    std::condition_variable done;
    bool finished = false;
    std::thread worker;
};

bool Matches(const std::vector<std::string>& moves, Move found) {
    for (const std::string& text : moves)
        if (ParseSanMove(text.c_str()) == found) return true;
    return false;
}

} // namespace

bool ParseEpdLine(const std::string& line, EpdCase& parsed) {
    parsed = EpdCase{};
    std::istringstream words(line);
    std::string field;
    for (int i = 0; i < FenFields && words >> field; ++i) parsed.fen += (i ? " " : "") + field;
    if (parsed.fen.empty() || parsed.fen.find('/') == std::string::npos) return false;
    std::string rest;
    std::getline(words, rest, '\0');
    std::istringstream operations(rest);
    std::string operation;
    while (std::getline(operations, operation, ';')) {
        std::istringstream tokens(operation);
        std::string opcode;
        while (tokens >> opcode && IsNumber(opcode)) {
        } // move counters after the position
        std::string operands;
        std::getline(tokens, operands);
        if (opcode == "id") {
            parsed.id = Unquoted(operands);
        } else if (opcode == "bm" || opcode == "am") {
            std::istringstream moves(operands);
            for (std::string move; moves >> move;)
                if (move != "+") (opcode == "bm" ? parsed.best : parsed.avoid).push_back(move);
        }
    }
    return true;
}

Move SearchEpdCase(const EpdCase& epd, const EpdLimits& limits) {
    if (!SetupPosition(epd.fen.c_str(), false)) return NoMove;
    CurrentPly = PlyStack.data();
    ShowThinking = false; // the thinking output goes to the log only
    EngineState = Pondering;
    AspirationState = 0;
    WindowState = 0;
    StopSearch = 0;
    MaxSearchDepth = limits.depth > 0 ? static_cast<std::uint32_t>(limits.depth) : MaxIterationDepth;
    Move found;
    if (limits.moveTimeMs > 0) {
        StopTimer timer(limits.moveTimeMs);
        found = IterativeDeepening();
    } else {
        found = IterativeDeepening();
    }
    EngineState = Idle;
    ShowThinking = true;
    return found;
}

bool EpdSolved(const EpdCase& epd, Move found) {
    if (!epd.best.empty() && !Matches(epd.best, found)) return false;
    return !Matches(epd.avoid, found);
}

} // namespace velkor
