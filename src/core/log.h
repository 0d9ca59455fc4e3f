// The diagnostic log "Velkor.log": opened (truncated) before main runs, one whole line at a
// time under a lock, flushed after every line so that it is complete even after a kill.
#pragma once

#include <cstdint>
#include <string_view>

namespace velkor {

// An integer written in lower-case hexadecimal without prefix.
struct Hex {
    std::uint32_t value;
};

namespace detail {
struct LogBuffer {
    char text[1024];
    std::size_t length = 0;
    void Append(std::string_view piece);
    void Append(char piece) { Append(std::string_view(&piece, 1)); }
    void Append(long long piece);
    void Append(Hex piece);
};
void WriteLogLine(LogBuffer& line);

inline void AppendPiece(LogBuffer& line, std::string_view piece) { line.Append(piece); }
inline void AppendPiece(LogBuffer& line, const char* piece) { line.Append(std::string_view(piece)); }
inline void AppendPiece(LogBuffer& line, char* piece) { line.Append(std::string_view(piece)); }
inline void AppendPiece(LogBuffer& line, char piece) { line.Append(piece); }
inline void AppendPiece(LogBuffer& line, Hex piece) { line.Append(piece); }
template <typename Integer>
void AppendPiece(LogBuffer& line, Integer piece) {
    line.Append(static_cast<long long>(piece));
}
} // namespace detail

// Appends several whole lines at once (the text and a final line end) and flushes once.
void LogBlock(std::string_view text);

// Appends one line made of the given pieces (texts, integers, Hex) and flushes it.
template <typename... Pieces>
void LogLine(const Pieces&... pieces) {
    detail::LogBuffer line;
    (detail::AppendPiece(line, pieces), ...);
    detail::WriteLogLine(line);
}

} // namespace velkor
