// The operating system's side of the engine: Linux and other POSIX systems.
#include "core/platform.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace velkor {

std::string ExecutableDirectory() {
    std::error_code error;
    std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || executable.empty()) return "";
    return executable.parent_path().string();
}

std::string UserStateDirectory() {
    std::filesystem::path base;
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state == '/') base = state;
    else if (const char* home = std::getenv("HOME"); home && *home == '/') base = std::filesystem::path(home) / ".local/state";
    else return "";
    std::filesystem::path folder = base / "velkor";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || access(folder.c_str(), W_OK) != 0) return "";
    return folder.string();
}

} // namespace velkor
