// Building an opening book from a game file: the opening lines that enough games share.
#pragma once

namespace velkor {

inline constexpr int DefaultBookPlies = 16;
inline constexpr int DefaultBookMinGames = 3;

// Writes a book of the lines of at most `plies` moves (64 at most) shared by at least `minGames`
// games of the game file, every move checked for legality. Returns the number of lines written,
// or -1 when a file cannot be opened or the game file is damaged.
int BuildBook(const char* gamePath, const char* bookPath, int plies, int minGames);

} // namespace velkor
