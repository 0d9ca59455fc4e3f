// The operating system's side of the engine on Linux and other POSIX systems.
#include "core/platform.h"

#include <poll.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <csignal>
#include <cstdlib>
#include <system_error>

namespace velkor {

namespace {
inline constexpr std::size_t HugePageBytes = std::size_t{2} << 20;
} // namespace

bool WaitForInput(int timeoutMs) {
    pollfd reader{STDIN_FILENO, POLLIN, 0};
    return poll(&reader, 1, timeoutMs) > 0;
}

namespace {
bool InputReadFailed = false;
} // namespace

std::size_t ReadInput(char* buffer, std::size_t size) {
    ssize_t count;
    do {
        count = read(STDIN_FILENO, buffer, size);
    } while (count < 0 && errno == EINTR);
    if (count < 0) InputReadFailed = true;
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

bool InputFailed() { return InputReadFailed; }

bool IsTerminal(StandardStream stream) {
    return isatty(stream == StandardStream::Input ? STDIN_FILENO : STDERR_FILENO) != 0;
}

void UseBinaryStandardStreams() {}

void IgnoreInterruptsUnlessAtATerminal() {
    if (!IsTerminal(StandardStream::Input)) std::signal(SIGINT, SIG_IGN);
}

void* TryAllocateLargeMemory(std::size_t bytes) {
    std::size_t rounded = (bytes + HugePageBytes - 1) / HugePageBytes * HugePageBytes;
    // Mapped with a huge page's worth to spare, so that an aligned start can be picked; the
    // spare ends are given back, and the kernel hands out zero-filled pages only when they are
    // first touched.
    void* mapped = mmap(nullptr, rounded + HugePageBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) return nullptr;
    auto address = reinterpret_cast<std::uintptr_t>(mapped);
    auto aligned = (address + HugePageBytes - 1) & ~(HugePageBytes - 1);
    if (aligned > address) munmap(mapped, aligned - address);
    if (std::size_t tail = address + HugePageBytes - aligned) munmap(reinterpret_cast<void*>(aligned + rounded), tail);
    void* table = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
    madvise(table, rounded, MADV_HUGEPAGE);
#endif
    return table;
}

void* AllocateLargeMemory(std::size_t bytes) {
    if (void* table = TryAllocateLargeMemory(bytes)) return table;
    std::fputs("out of memory for the engine's tables\n", stderr);
    std::abort();
}

void FreeLargeMemory(void* memory, std::size_t bytes) {
    munmap(memory, (bytes + HugePageBytes - 1) / HugePageBytes * HugePageBytes);
}

std::uint64_t AvailableMemoryBytes() {
    // MemAvailable counts the page cache the kernel would give up; without it, the free pages.
    if (std::FILE* info = std::fopen("/proc/meminfo", "r")) {
        char line[256];
        unsigned long long kilobytes = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof(line), info))
            found = std::sscanf(line, "MemAvailable: %llu kB", &kilobytes) == 1;
        std::fclose(info);
        if (found) return std::uint64_t{kilobytes} * 1024;
    }
    return static_cast<std::uint64_t>(sysconf(_SC_AVPHYS_PAGES)) * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
}

std::filesystem::path ExecutableDirectory() {
    std::error_code error;
    std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable.parent_path();
}

std::filesystem::path UserStateDirectory() {
    std::filesystem::path base;
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state == '/') base = state;
    else if (const char* home = std::getenv("HOME"); home && *home == '/') base = std::filesystem::path(home) / ".local/state";
    else return {};
    std::filesystem::path folder = base / "velkor";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || access(folder.c_str(), W_OK) != 0) return {};
    return folder;
}

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) { return std::fopen(path.c_str(), mode); }

bool SeekFile(std::FILE* file, std::uint64_t offset) { return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0; }

bool TruncateFile(std::FILE* file, std::uint64_t size) { return ftruncate(fileno(file), static_cast<off_t>(size)) == 0; }

bool LockForWriting(std::FILE* file) { return flock(fileno(file), LOCK_EX | LOCK_NB) == 0; }

} // namespace velkor
