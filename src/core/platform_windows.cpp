// The operating system's side of the engine on Windows (built with MinGW-w64).
#include "core/platform.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

namespace velkor {

namespace {

// Standard input may be a pipe (every interface) or a console (a person typing): a reader thread
// blocks on it for both, and the engine waits on what it has read, with a time-out.
struct InputQueue {
    std::mutex lock;
    std::condition_variable arrived;
    std::string bytes;
    bool ended = false;
    bool failed = false;
};

void ReadStandardInput(InputQueue* queue) {
    char chunk[4096];
    for (;;) {
        int count = _read(0, chunk, sizeof(chunk));
        std::lock_guard guard(queue->lock);
        if (count <= 0) queue->ended = true;
        if (count < 0) queue->failed = true;
        else queue->bytes.append(chunk, static_cast<std::size_t>(count));
        queue->arrived.notify_all();
        if (count <= 0) return;
    }
}

// Never destroyed: the reader thread may still be blocked in its read while the process exits.
InputQueue& Input() {
    static InputQueue* queue = [] {
        auto* created = new InputQueue;
        std::thread(ReadStandardInput, created).detach();
        return created;
    }();
    return *queue;
}

std::wstring Widen(const char* text) { return std::wstring(text, text + std::strlen(text)); }

} // namespace

bool WaitForInput(int timeoutMs) {
    InputQueue& queue = Input();
    std::unique_lock guard(queue.lock);
    return queue.arrived.wait_for(guard, std::chrono::milliseconds(std::max(timeoutMs, 0)),
                                  [&] { return !queue.bytes.empty() || queue.ended; });
}

std::size_t ReadInput(char* buffer, std::size_t size) {
    InputQueue& queue = Input();
    std::unique_lock guard(queue.lock);
    queue.arrived.wait(guard, [&] { return !queue.bytes.empty() || queue.ended; });
    std::size_t count = std::min(size, queue.bytes.size());
    std::memcpy(buffer, queue.bytes.data(), count);
    queue.bytes.erase(0, count);
    return count;
}

bool InputFailed() {
    InputQueue& queue = Input();
    std::lock_guard guard(queue.lock);
    return queue.failed;
}

bool IsTerminal(StandardStream stream) {
    return _isatty(_fileno(stream == StandardStream::Input ? stdin : stderr)) != 0;
}

void UseBinaryStandardStreams() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

void IgnoreInterruptsUnlessAtATerminal() {
    if (!IsTerminal(StandardStream::Input)) std::signal(SIGINT, SIG_IGN);
}

void* TryAllocateLargeMemory(std::size_t bytes) {
    // Large pages need a privilege most users lack; without it the ordinary pages serve.
    if (SIZE_T large = GetLargePageMinimum()) {
        SIZE_T rounded = (bytes + large - 1) / large * large;
        if (void* table = VirtualAlloc(nullptr, rounded, MEM_RESERVE | MEM_COMMIT | MEM_LARGE_PAGES, PAGE_READWRITE))
            return table;
    }
    return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void* AllocateLargeMemory(std::size_t bytes) {
    if (void* table = TryAllocateLargeMemory(bytes)) return table;
    std::fputs("out of memory for the engine's tables\n", stderr);
    std::abort();
}

void FreeLargeMemory(void* memory, std::size_t) { VirtualFree(memory, 0, MEM_RELEASE); }

std::uint64_t AvailableMemoryBytes() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    return GlobalMemoryStatusEx(&status) ? status.ullAvailPhys : 0;
}

std::filesystem::path ExecutableDirectory() {
    wchar_t name[MAX_PATH * 4];
    DWORD length = GetModuleFileNameW(nullptr, name, static_cast<DWORD>(std::size(name)));
    if (length == 0 || length >= std::size(name)) return {};
    return std::filesystem::path(std::wstring(name, length)).parent_path();
}

std::filesystem::path UserStateDirectory() {
    const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
    if (!local || !*local) return {};
    std::filesystem::path folder = std::filesystem::path(local) / "velkor";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return error ? std::filesystem::path() : folder;
}

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
    return _wfopen(path.c_str(), Widen(mode).c_str());
}

bool SeekFile(std::FILE* file, std::uint64_t offset) {
    return _fseeki64(file, static_cast<long long>(offset), SEEK_SET) == 0;
}

bool TruncateFile(std::FILE* file, std::uint64_t size) {
    return _chsize_s(_fileno(file), static_cast<long long>(size)) == 0;
}

bool LockForWriting(std::FILE* file) {
    // Windows locks are mandatory: one byte far beyond any game file's end is locked, so that
    // the lock keeps writers apart without holding up anyone who reads the file.
    OVERLAPPED beyondEnd{};
    beyondEnd.OffsetHigh = 0x7FFFFFFF;
    auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    return LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &beyondEnd) != 0;
}

} // namespace velkor
