// The log file and its line writer.
#include "core/log.h"

#include <cstdio>
#include <mutex>

#include "core/platform.h"

namespace velkor {

namespace {

inline constexpr const char* LogFileName = "Velkor.log";

// The working directory first, as interfaces expect; where it cannot be written (an installed
// engine started in /usr/games), the user's state folder; else no log at all, and no complaint.
std::FILE* OpenLogFile() {
    if (std::FILE* file = std::fopen(LogFileName, "wb")) return file;
    std::filesystem::path folder = UserStateDirectory();
    return folder.empty() ? nullptr : OpenFile(folder / LogFileName, "wb");
}

// Opened during static initialisation, before the entry runs; closed by static clean-up.
struct LogFile {
    std::FILE* file = OpenLogFile();
    std::mutex lock;
    ~LogFile() {
        if (file) std::fclose(file);
    }
};

LogFile& TheLog() {
    static LogFile log;
    return log;
}

// Forces the log open before main, as the first line may come from anywhere.
[[maybe_unused]] const bool LogOpenedAtStart = (TheLog(), true);

} // namespace

namespace detail {

void LogBuffer::Append(std::string_view piece) {
    std::size_t room = sizeof(text) - 1 - length;
    std::size_t count = piece.size() < room ? piece.size() : room;
    piece.copy(text + length, count);
    length += count;
}

void LogBuffer::Append(long long piece) {
    char digits[24];
    int count = std::snprintf(digits, sizeof(digits), "%lld", piece);
    Append(std::string_view(digits, static_cast<std::size_t>(count)));
}

void LogBuffer::Append(Hex piece) {
    char digits[12];
    int count = std::snprintf(digits, sizeof(digits), "%x", static_cast<unsigned>(piece.value));
    Append(std::string_view(digits, static_cast<std::size_t>(count)));
}

void WriteLogLine(LogBuffer& line) {
    line.text[line.length++] = '\n';
    LogFile& log = TheLog();
    if (!log.file) return;
    std::lock_guard guard(log.lock);
    std::fwrite(line.text, 1, line.length, log.file);
    std::fflush(log.file);
}

} // namespace detail

void LogBlock(std::string_view text) {
    LogFile& log = TheLog();
    if (!log.file) return;
    std::lock_guard guard(log.lock);
    std::fwrite(text.data(), 1, text.size(), log.file);
    std::fputc('\n', log.file);
    std::fflush(log.file);
}

} // namespace velkor
