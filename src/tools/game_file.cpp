// Reading and writing game-file records.
#include "tools/game_file.h"

#include <cstring>

#include "core/platform.h"
#include <istream>
#include <ostream>

namespace velkor {

std::array<PlyRecord, MaxGameMoves + 1> GameMoveRecords;

namespace {

bool ReadWord(std::istream& file, std::uint16_t& word) {
    int low = file.get();
    int high = file.get();
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

bool ReadGameRecord(GameRecord& record, std::istream& file) {
    if (!ReadWord(file, record.words[0])) return false;
    DecodeResult(record);
    // A count beyond the record's room comes from a damaged or foreign file.
    int count = record.words[0] & MoveCountBits;
    if (count > MaxGameMoves) throw GameFileError("WRONG MOVE COUNT");
    for (int i = 1; i <= count; ++i)
        if (!ReadWord(file, record.words[static_cast<std::size_t>(i)])) return false;
    return true;
}

void WriteGameRecord(const GameRecord& record, std::ostream& file) {
    for (int i = 0; i <= record.MoveCount(); ++i) WriteWord(file, record.words[static_cast<std::size_t>(i)]);
}

namespace {
inline constexpr std::size_t AppendBufferBytes = 1 << 20;
} // namespace

bool GameFileAppender::Open(const char* path, std::uint64_t existingBytes) {
    Close();
    file = std::fopen(path, "ab+");
    fileBytes = existingBytes;
    buffer.clear();
    buffer.reserve(AppendBufferBytes);
    return file != nullptr;
}

std::uint64_t GameFileAppender::Append(const GameRecord& record) {
    std::uint64_t offset = fileBytes + buffer.size();
    for (int i = 0; i <= record.MoveCount(); ++i) {
        std::uint16_t word = record.words[static_cast<std::size_t>(i)];
        buffer.push_back(static_cast<std::uint8_t>(word & 0xFF));
        buffer.push_back(static_cast<std::uint8_t>(word >> 8));
    }
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

void GameFileAppender::Flush() {
    if (!file || buffer.empty()) return;
    std::fseek(file, 0, SEEK_END);
    std::fwrite(buffer.data(), 1, buffer.size(), file);
    std::fflush(file);
    fileBytes += buffer.size();
    buffer.clear();
}

void GameFileAppender::Close() {
    Flush();
    if (file) std::fclose(file);
    file = nullptr;
}

} // namespace velkor
