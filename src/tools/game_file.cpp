// Reading and writing game-file records.
#include "tools/game_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <istream>
#include <ostream>

#include "core/platform.h"

namespace velkor {

std::array<PlyRecord, MaxGameMoves + 1> GameMoveRecords;

namespace {

std::string SystemReason() {
    int code = errno;
    return code ? std::strerror(code) : "unknown reason";
}

// The next word; false at the end of the file, which may come after one byte of it. A read error
// is never taken for the end.
bool ReadWord(std::istream& file, std::uint16_t& word, bool& partial) {
    errno = 0;
    int low = file.get();
    int high = low == std::char_traits<char>::eof() ? low : file.get();
    if (file.bad()) throw GameFileError(ReadErrorText());
    partial = low != std::char_traits<char>::eof();
    if (high == std::char_traits<char>::eof()) return false;
    word = static_cast<std::uint16_t>(low | (high << 8));
    return true;
}

void WriteWord(std::ostream& file, std::uint16_t word) {
    file.put(static_cast<char>(word & 0xFF));
    file.put(static_cast<char>(word >> 8));
}

} // namespace

void DecodeResult(GameRecord& record) {
    switch (record.words[0] & ResultBits) {
    case BlackWins:
        record.resultCode = 'B';
        std::strcpy(record.resultText, "0-1");
        break;
    case WhiteWins:
        record.resultCode = 'W';
        std::strcpy(record.resultText, "1-0");
        break;
    case Drawn:
        record.resultCode = 'D';
        std::strcpy(record.resultText, "1/2-1/2");
        break;
    default:
        throw GameFileError("WRONG RESULT");
    }
}

bool IsSameFile(const char* first, const char* second) {
    if (std::strcmp(first, "-") == 0 || std::strcmp(second, "-") == 0) return false;
    std::error_code error;
    return std::filesystem::equivalent(first, second, error);
}

std::string ReadErrorText() { return "READ ERROR (" + SystemReason() + ")"; }
std::string WriteErrorText() { return "WRITE ERROR (" + SystemReason() + ")"; }

bool ReadGameRecord(GameRecord& record, std::istream& file) {
    bool partial;
    if (!ReadWord(file, record.words[0], partial)) {
        if (partial) throw GameFileError(CutRecordText);
        return false;
    }
    DecodeResult(record);
    // A count beyond the record's room comes from a damaged or foreign file.
    int count = record.words[0] & MoveCountBits;
    if (count > MaxGameMoves) throw GameFileError("WRONG MOVE COUNT");
    for (int i = 1; i <= count; ++i)
        if (!ReadWord(file, record.words[static_cast<std::size_t>(i)], partial)) throw GameFileError(CutRecordText);
    return true;
}

void WriteGameRecord(const GameRecord& record, std::ostream& file) {
    for (int i = 0; i <= record.MoveCount(); ++i) WriteWord(file, record.words[static_cast<std::size_t>(i)]);
}

namespace {
inline constexpr std::size_t AppendBufferBytes = 1 << 20;
} // namespace

GameFileAppender::OpenResult GameFileAppender::Open(const char* filePath) {
    Close();
    path = filePath;
    file = std::fopen(filePath, "ab+");
    fileBytes = 0;
    buffer.clear();
    buffer.reserve(AppendBufferBytes);
    bufferedRecords = lostRecords = 0;
    error.clear();
    if (!file) return OpenResult::Failed;
    if (LockForWriting(file)) return OpenResult::Opened;
    std::fclose(file);
    file = nullptr;
    return OpenResult::Busy;
}

std::uint64_t GameFileAppender::Append(const GameRecord& record) {
    std::uint64_t offset = fileBytes + buffer.size();
    for (int i = 0; i <= record.MoveCount(); ++i) {
        std::uint16_t word = record.words[static_cast<std::size_t>(i)];
        buffer.push_back(static_cast<std::uint8_t>(word & 0xFF));
        buffer.push_back(static_cast<std::uint8_t>(word >> 8));
    }
    ++bufferedRecords;
    if (buffer.size() >= AppendBufferBytes) Flush();
    return offset;
}

bool GameFileAppender::Holds(std::uint64_t offset, const GameRecord& record) {
    std::size_t bytes = static_cast<std::size_t>(RecordBytes(record));
    const std::uint8_t* stored;
    if (offset >= fileBytes) {
        if (offset - fileBytes + bytes > buffer.size()) return false;
        stored = buffer.data() + (offset - fileBytes);
    } else {
        if (offset + bytes > fileBytes) return false;
        readBack.resize(bytes);
        // Reading sets the file's position; appending writes at its end whatever the position.
        if (!SeekFile(file, offset) ||
            std::fread(readBack.data(), 1, bytes, file) != bytes)
            return false;
        stored = readBack.data();
    }
    for (std::size_t i = 0; i < bytes / 2; ++i)
        if ((stored[2 * i] | (stored[2 * i + 1] << 8)) != record.words[i]) return false;
    return true;
}

bool GameFileAppender::Flush() {
    if (!file || Failed()) return !Failed();
    if (buffer.empty()) return true;
    errno = 0;
    if (std::fseek(file, 0, SEEK_END) == 0 && std::fwrite(buffer.data(), 1, buffer.size(), file) == buffer.size() &&
        std::fflush(file) == 0) {
        fileBytes += buffer.size();
        buffer.clear();
        bufferedRecords = 0;
        return true;
    }
    // Part of the buffer may have reached the file: the whole records of it stay, the record
    // cut short goes, so that the file ends in a whole record.
    error = WriteErrorText();
    std::clearerr(file);
    std::error_code sizeError;
    std::uint64_t size = std::filesystem::file_size(path, sizeError);
    std::uint64_t written = !sizeError && size > fileBytes ? size - fileBytes : 0;
    std::uint64_t kept = 0;
    int keptRecords = 0;
    while (kept + 2 <= buffer.size()) {
        std::uint64_t bytes = RecordBytes(static_cast<std::uint16_t>(buffer[kept] | buffer[kept + 1] << 8));
        if (kept + bytes > written) break;
        kept += bytes;
        ++keptRecords;
    }
    if (TruncateFile(file, fileBytes + kept)) {
        fileBytes += kept;
    } else {
        error += ", and the record cut short could not be removed";
        keptRecords = 0;
    }
    lostRecords = bufferedRecords - keptRecords;
    buffer.clear();
    bufferedRecords = 0;
    return false;
}

bool GameFileAppender::Close() {
    bool written = Flush();
    if (file && std::fclose(file) != 0 && written) {
        error = WriteErrorText();
        written = false;
    }
    file = nullptr;
    return written;
}

} // namespace velkor
