// Drives a real velkor process over pipes, in a fresh working directory of its own.
#pragma once

#include <sys/types.h>

#include <string>

namespace velkor::test {

class EngineProcess {
  public:
    explicit EngineProcess(const std::string& binary = VELKOR_BINARY);
    ~EngineProcess();
    EngineProcess(const EngineProcess&) = delete;
    EngineProcess& operator=(const EngineProcess&) = delete;

    void Send(const std::string& text);
    void CloseInput();
    // Reads standard output until it contains text at or after offset from (true) or the
    // time-out passes (false).
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
