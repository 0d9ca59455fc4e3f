// PGN collections into the binary game file: every game replayed from the start position with
// full legality checks, stored once with its result.
#pragma once

#include <iosfwd>
#include <string>

#include "tools/game_file.h"
#include "tools/game_index.h"

namespace velkor {

// Whether the PGN text read is echoed to the log, as the engine's typed commands do (velkor-tool,
// which may read collections of any size, does not).
extern bool EchoPgnToLog;

// The game file a conversion appends to, with the index of the records already in it.
struct GameFileTarget {
    GameIndex index;
    GameFileAppender appender;
    bool stopped = false; // a read or write error: nothing more is to be converted

    // Indexes (and repairs) the game file and opens it for appending, once; false after telling
    // why not.
    bool Open(const char* gamePath);
    // Appends the record unless an identical one is stored; true when it was appended.
    bool Store(const GameRecord& record);
};

// Converts the PGN games of a stream (pgnName names it in the messages; pgnBytes is its size,
// 0 when not known) into the open target; false after an "ERROR:" line.
bool ConvertPgnStream(std::istream& pgn, const char* pgnName, GameFileTarget& target, int& counter,
                      std::uint64_t pgnBytes);

// False, after saying why, when outputPath cannot be the game file a conversion of inputPath
// writes: standard output, a device or pipe, a folder, or the input itself.
bool IsUsableGameFileName(const char* outputPath, const char* inputPath);

// "pgn2game": counter grows by one per game written. False after an error line.
bool ConvertPgnFile(const char* pgnPath, const char* gamePath, int& counter);

// "pgnlist2game": every PGN file named in the list, one name per line; the game file is indexed
// once. False when any file failed.
bool ConvertPgnList(const char* listPath, const char* gamePath);
bool ConvertPgnList(std::istream& list, const char* gamePath);

// Reads the tag section; true when the stream is still good.
bool ReadPgnTags(GameRecord& record, std::istream& stream, std::string& log);

// Reads one game; its header's result bits when it is to be stored, 0 when it is skipped.
// Raises GameFileError for the errors that end a conversion.
int ReadPgnGame(GameRecord& record, std::istream& stream, std::string& log);

} // namespace velkor
