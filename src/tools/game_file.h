// The binary game file: records of 16-bit little-endian words, a header word (result in bits
// 15-14: 10 "1-0", 01 "0-1", 11 "1/2-1/2"; move count in bits 13-0) followed by the moves from
// the standard start position.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

#include "position/position.h"

namespace velkor {

inline constexpr int MaxGameMoves = 1023;
inline constexpr std::uint16_t WhiteWins = 0x8000;
inline constexpr std::uint16_t BlackWins = 0x4000;
inline constexpr std::uint16_t Drawn = 0xC000;
inline constexpr std::uint16_t ResultBits = 0xC000;
inline constexpr std::uint16_t MoveCountBits = 0x3FFF;

// A conversion error with its fixed message text ("MOVE NOT LEGAL 1", "WRONG RESULT", ...).
struct GameFileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct GameRecord {
    char text[11];        // the move token being read or written
    char resultText[8];   // "1-0", "0-1", "1/2-1/2", "*" or empty
    char resultCode;      // 'W', 'B', 'D', '*', or '?' before a Result tag
    bool setUp;           // the game starts from a set-up position (not storable)
    std::array<std::uint16_t, MaxGameMoves + 1> words; // header, then the moves

    int MoveCount() const { return words[0] & MoveCountBits; }
};

// Records used to make a game's moves: a game is longer than the search's ply stack.
extern std::array<PlyRecord, MaxGameMoves + 1> GameMoveRecords;

// Reads the next record; false at the end of the file or in a record cut short. Raises
// "WRONG RESULT" for result bits 00 and "WRONG MOVE COUNT" for more than 1023 moves.
bool ReadGameRecord(GameRecord& record, std::istream& file);

// Appends the header word and the moves.
void WriteGameRecord(const GameRecord& record, std::ostream& file);

// The result text and code of a header word.
void DecodeResult(GameRecord& record);

// The bytes a record takes in the file.
inline std::uint64_t RecordBytes(const GameRecord& record) { return 2 * (std::uint64_t(record.MoveCount()) + 1); }

// Appends records to a game file through a buffer of its own, and reads back any record already
// in the file or the buffer, so that a duplicate can be confirmed against the stored record.
class GameFileAppender {
  public:
    GameFileAppender() = default;
    GameFileAppender(const GameFileAppender&) = delete;
    GameFileAppender& operator=(const GameFileAppender&) = delete;
    ~GameFileAppender() { Close(); }

    // Opens path for appending (creating it); existingBytes is the length of its whole records.
    // False when it cannot be opened.
    bool Open(const char* path, std::uint64_t existingBytes);
    // Appends the record; returns its offset in the file.
    std::uint64_t Append(const GameRecord& record);
    // True when the record stored at offset has the same words as record.
    bool Holds(std::uint64_t offset, const GameRecord& record);
    // Writes out what is buffered.
    void Flush();
    // Writes out what is buffered and closes the file.
    void Close();
    bool IsOpen() const { return file != nullptr; }

  private:
    std::FILE* file = nullptr;
    std::uint64_t fileBytes = 0; // the bytes in the file, the buffer not counted
    std::vector<std::uint8_t> buffer;
    std::vector<std::uint8_t> readBack;
};

} // namespace velkor
