// Everything the engine asks of the operating system beyond the standard library, behind one
// narrow interface with one implementation per system (platform_posix.cpp, platform_windows.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>

namespace velkor {

// ---- Standard input, read in blocks ------------------------------------------------------------
// Waits at most timeoutMs for standard input to have something (or to have ended); true when a
// read would not wait.
bool WaitForInput(int timeoutMs);
// Reads what standard input holds, at most size bytes, waiting until there is something; returns
// the count, 0 once it has ended.
std::size_t ReadInput(char* buffer, std::size_t size);
// True once a read of standard input failed (an I/O error), rather than found its end.
bool InputFailed();

// ---- The console ------------------------------------------------------------------------------
enum class StandardStream { Input, Error };
bool IsTerminal(StandardStream stream);
// The standard streams carry bytes as they are: lines end in LF on every system.
void UseBinaryStandardStreams();
// Interfaces may send Ctrl-C (xboard does before every move); only a person at a terminal
// means it.
void IgnoreInterruptsUnlessAtATerminal();

// ---- Memory and files -------------------------------------------------------------------------
// Zero-filled memory for a big table, on large pages where the system gives them; never fails.
void* AllocateLargeMemory(std::size_t bytes);
// The same, or nullptr where the system cannot give that much.
void* TryAllocateLargeMemory(std::size_t bytes);
// Gives back memory of AllocateLargeMemory or TryAllocateLargeMemory of the same size.
void FreeLargeMemory(void* memory, std::size_t bytes);
// The bytes of physical memory the system could still give to the process without swapping.
std::uint64_t AvailableMemoryBytes();

// The folder of the running executable; empty when it cannot be told.
std::filesystem::path ExecutableDirectory();
// The folder for the user's state files of this program ($XDG_STATE_HOME/velkor or
// ~/.local/state/velkor; %LOCALAPPDATA%\velkor on Windows), created when missing; empty when
// there is none that can be written.
std::filesystem::path UserStateDirectory();
// std::fopen for any path, whatever characters it holds.
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);
// Moves the file's position to offset, also beyond 2 GiB; false when it cannot.
bool SeekFile(std::FILE* file, std::uint64_t offset);
// Cuts the file to its first size bytes; false when it cannot.
bool TruncateFile(std::FILE* file, std::uint64_t size);
// Takes the advisory lock that makes the holder the file's one writer, without waiting; false
// while another process holds it. Readers are not held up. The lock goes with the file's close.
bool LockForWriting(std::FILE* file);

} // namespace velkor
