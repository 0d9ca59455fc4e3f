// Game files back to text: PGN-like games with coordinate moves, and a table of positions.
#pragma once

#include <iosfwd>

#include "tools/game_file.h"

namespace velkor {

// The Result tag line, then the numbered coordinate moves and the result on one line.
void WriteGamePgn(const GameRecord& record, std::ostream& stream);

// One tab-separated line per ply from the start position (ply, result code, the four FEN fields,
// the move, the signed 64-bit key); limit 0, negative or above 1023 means all. Raises
// "MOVE NOT LEGAL" when a stored move does not fit its position.
void WriteGamePositions(const GameRecord& record, std::ostream& stream, int limit);

// "game2pgn" and "game2pos": both append to their output. False after an error line.
bool ExportPgn(const char* gamePath, const char* pgnPath);
bool ExportPositions(const char* gamePath, const char* tablePath);
// The same between streams (velkor-tool reads and writes "-" as the standard streams).
bool ExportPgn(std::istream& games, std::ostream& pgn);
bool ExportPositions(std::istream& games, std::ostream& table);

} // namespace velkor
