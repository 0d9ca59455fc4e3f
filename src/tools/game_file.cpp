// Reading and writing game-file records.
#include "tools/game_file.h"

#include <cstring>
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

} // namespace velkor
