// velkor-tool's game-file commands: the engine's conversions from the command line, with "-" for
// the standard streams, an exit status and a progress line on a terminal.
#pragma once

#include <string>

namespace velkor {

inline constexpr const char* GameFileCommandsUsage =
    "       velkor-tool pgn2game IN OUT | pgnlist2game LIST OUT | game2pgn IN OUT | game2pos IN OUT\n"
    "       (IN and LIST may be - for standard input, the OUT of game2pgn and game2pos - for standard output)\n";

// True when command is one of them.
bool IsGameFileCommand(const std::string& command);

// Runs it: 0 on success, 1 after an error line.
int RunGameFileCommand(const std::string& command, const char* input, const char* output);

} // namespace velkor
