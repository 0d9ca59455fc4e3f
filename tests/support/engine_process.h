// Drives a real velkor process over pipes, in a fresh working directory of its own.
#pragma once

#include <sys/types.h>

#include <string>

namespace velkor::test {

// The sanitizer builds run the engine several times slower: every time-out of the tests that
// drive it, and every bound that proves an answer came at once, is scaled by this factor.
#ifndef VELKOR_TIME_FACTOR
#define VELKOR_TIME_FACTOR 1
#endif
inline constexpr long long TimeFactor = VELKOR_TIME_FACTOR;
constexpr long long Scaled(long long ms) { return ms * TimeFactor; }

class EngineProcess {
  public:
    explicit EngineProcess(const std::string& binary = VELKOR_BINARY);
    ~EngineProcess();
    EngineProcess(const EngineProcess&) = delete;
    EngineProcess& operator=(const EngineProcess&) = delete;

    void Send(const std::string& text);
    void CloseInput();
    // Reads standard output until it contains text at or after offset from (true) or the
    // time-out passes (false). Time-outs here are Release times, scaled for slower builds.
    bool WaitForOutput(const std::string& text, int timeoutMs = 5000, std::size_t from = 0);
    // Reads until the process closes its output; returns the exit status (-1 on time-out,
    // 128 + signal when killed by a signal).
    int WaitForExit(int timeoutMs = 5000);
    void Signal(int signal);
    // Writes a file into the engine's working directory.
    void WriteFile(const std::string& name, const std::string& content) const;

    const std::string& Output() const { return output; }
    std::string Log() const;
    const std::string& Directory() const { return directory; }

  private:
    bool ReadSome(int timeoutMs);

    pid_t pid = -1;
    int toEngine = -1;
    int fromEngine = -1;
    std::string directory;
    std::string output;
};

} // namespace velkor::test
