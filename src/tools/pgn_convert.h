// PGN collections into the binary game file: every game replayed from the start position with
// full legality checks, stored once with its result.
#pragma once

#include <iosfwd>
#include <string>

#include "tools/game_file.h"

namespace velkor {

// "pgn2game": counter grows by one per game written.
void ConvertPgnFile(const char* pgnPath, const char* gamePath, int& counter);

// "pgnlist2game": every PGN file named in the list, one name per line.
void ConvertPgnList(const char* listPath, const char* gamePath);

// Reads the tag section; true when the stream is still good.
bool ReadPgnTags(GameRecord& record, std::istream& stream, std::string& log);

// Reads one game; its header's result bits when it is to be stored, 0 when it is skipped.
// Raises GameFileError for the errors that end a conversion.
int ReadPgnGame(GameRecord& record, std::istream& stream, std::string& log);

} // namespace velkor
