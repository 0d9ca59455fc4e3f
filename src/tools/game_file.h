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

// The most bytes a record takes: the header and MaxGameMoves moves.
inline constexpr std::uint64_t MaxRecordBytes = 2 * (MaxGameMoves + 1);

// Reads the next record; false at the end of the file. Raises "WRONG RESULT" for result bits 00,
// "WRONG MOVE COUNT" for more than 1023 moves, CutRecordText for a record cut short by the end of
// the file, and a "READ ERROR" when the file cannot be read.
inline constexpr const char* CutRecordText = "RECORD CUT SHORT";
bool ReadGameRecord(GameRecord& record, std::istream& file);

// Appends the header word and the moves.
void WriteGameRecord(const GameRecord& record, std::ostream& file);

// True when both names lead to one existing file ("-", standard input or output, never does).
bool IsSameFile(const char* first, const char* second);

// "READ ERROR (reason)" and "WRITE ERROR (reason)", with the reason the system gave for the last
// failed call.
std::string ReadErrorText();
std::string WriteErrorText();

// The result text and code of a header word.
void DecodeResult(GameRecord& record);

// The bytes a record takes in the file.
constexpr std::uint64_t RecordBytes(std::uint16_t header) { return 2 * (std::uint64_t(header & MoveCountBits) + 1); }
inline std::uint64_t RecordBytes(const GameRecord& record) { return RecordBytes(record.words[0]); }

// Appends records to a game file through a buffer of its own, and reads back any record already
// in the file or the buffer, so that a duplicate can be confirmed against the stored record.
class GameFileAppender {
  public:
    GameFileAppender() = default;
    GameFileAppender(const GameFileAppender&) = delete;
    GameFileAppender& operator=(const GameFileAppender&) = delete;
    ~GameFileAppender() { Close(); }

    // Opens path for appending (creating it) and takes the writer's lock. Returns Opened, or
    // Busy (closed again) while another process writes the file, or Failed.
    enum class OpenResult { Opened, Busy, Failed };
    OpenResult Open(const char* path);
    // Appends after existingBytes, the length of the file's whole records.
    void Start(std::uint64_t existingBytes) { fileBytes = existingBytes; }
    // Appends the record; returns its offset in the file.
    std::uint64_t Append(const GameRecord& record);
    // True when the record stored at offset has the same words as record.
    bool Holds(std::uint64_t offset, const GameRecord& record);
    // Writes out what is buffered. False when the write failed: the file is cut back to the last
    // whole record that reached it, the buffered records after it are lost (LostRecords tells
    // how many) and Error() says why; nothing more is written.
    bool Flush();
    // Writes out what is buffered and closes the file; false as Flush, or when the close failed.
    bool Close();
    bool IsOpen() const { return file != nullptr; }
    bool Failed() const { return !error.empty(); }
    const std::string& Error() const { return error; }
    int LostRecords() const { return lostRecords; }
    const std::string& Path() const { return path; }

  private:
    std::FILE* file = nullptr;
    std::string path;
    std::uint64_t fileBytes = 0; // the bytes in the file, the buffer not counted
    std::vector<std::uint8_t> buffer;
    int bufferedRecords = 0;
    int lostRecords = 0;
    std::string error;
    std::vector<std::uint8_t> readBack;
};

} // namespace velkor
