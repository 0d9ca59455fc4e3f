// Process plumbing for the end-to-end tests.
#include "support/engine_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace velkor::test {

namespace {
long long NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
} // namespace

EngineProcess::EngineProcess(const std::string& binary) {
    char pattern[] = "/tmp/velkor-test-XXXXXX";
    if (!mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
    directory = pattern;
    int input[2], outputPipe[2];
    if (pipe(input) != 0 || pipe(outputPipe) != 0) throw std::runtime_error("pipe failed");
    pid = fork();
    if (pid == 0) {
        dup2(input[0], 0);
        dup2(outputPipe[1], 1);
        close(input[1]);
        close(outputPipe[0]);
        if (chdir(directory.c_str()) != 0) _exit(126);
        execl(binary.c_str(), binary.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(input[0]);
    close(outputPipe[1]);
    toEngine = input[1];
    fromEngine = outputPipe[0];
    signal(SIGPIPE, SIG_IGN);
}

EngineProcess::~EngineProcess() {
    if (toEngine >= 0) close(toEngine);
    if (pid > 0) {
        int status;
        if (waitpid(pid, &status, WNOHANG) == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
        }
    }
    if (fromEngine >= 0) close(fromEngine);
    std::string command = "rm -rf '" + directory + "'";
    [[maybe_unused]] int ignored = std::system(command.c_str());
}

void EngineProcess::Send(const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        ssize_t count = write(toEngine, text.data() + written, text.size() - written);
        if (count <= 0) return;
        written += static_cast<std::size_t>(count);
    }
}

void EngineProcess::CloseInput() {
    if (toEngine >= 0) close(toEngine);
    toEngine = -1;
}

bool EngineProcess::ReadSome(int timeoutMs) {
    pollfd poller{fromEngine, POLLIN, 0};
    if (poll(&poller, 1, timeoutMs) <= 0) return false;
    char buffer[4096];
    ssize_t count = read(fromEngine, buffer, sizeof(buffer));
    if (count <= 0) return false;
    output.append(buffer, static_cast<std::size_t>(count));
    return true;
}

bool EngineProcess::WaitForOutput(const std::string& text, int timeoutMs, std::size_t from) {
    long long deadline = NowMs() + Scaled(timeoutMs);
    while (output.find(text, from) == std::string::npos) {
        long long left = deadline - NowMs();
        if (left <= 0 || !ReadSome(static_cast<int>(left))) return output.find(text, from) != std::string::npos;
    }
    return true;
}

int EngineProcess::WaitForExit(int timeoutMs) {
    long long deadline = NowMs() + Scaled(timeoutMs);
    while (NowMs() < deadline) {
        ReadSome(10);
        int status;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            while (ReadSome(10)) {
            }
            pid = -1;
            if (WIFEXITED(status)) return WEXITSTATUS(status);
            return 128 + WTERMSIG(status);
        }
    }
    return -1;
}

void EngineProcess::Signal(int signalNumber) { kill(pid, signalNumber); }

void EngineProcess::WriteFile(const std::string& name, const std::string& content) const {
    std::ofstream file(directory + "/" + name, std::ios::binary);
    file << content;
}

std::string EngineProcess::Log() const {
    std::ifstream file(directory + "/Velkor.log", std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace velkor::test
