// Standard input as the command loop reads it: whitespace-delimited tokens and the rest of a
// line, with hard limits so that nothing that arrives can overflow a buffer.
#pragma once

#include <cstddef>

namespace velkor {

inline constexpr std::size_t TokenBufferSize = 256; // a token is at most 255 characters
inline constexpr std::size_t LineTextLimit = 254;    // the rest of a "setboard" line

enum class ReadResult { Token, TooLong, End };

// Reads the next whitespace-delimited token into buffer (TokenBufferSize bytes). A longer token
// is consumed whole and reported as TooLong, with buffer left empty. NUL bytes separate tokens.
ReadResult ReadToken(char* buffer);

// Waits at most timeoutMs for input and copies the next whole token into buffer without
// consuming it (the blanks before it may be consumed). Returns false when no whole token has
// arrived: it must be followed by a separator, so that "?" is not taken for "?x".
bool PeekToken(char* buffer, int timeoutMs);

// True once standard input has ended.
bool InputEnded();

// Forgets everything read so far and reads standard input afresh (for tests and fuzzers that run
// the command loop more than once in a process).
void ResetInput();

// Reads the rest of the current line, keeping its line end, into buffer (LineTextLimit + 1 bytes);
// characters past the limit are discarded up to the line end. Returns false at end of input
// when nothing was read.
bool ReadRestOfLine(char* buffer);

} // namespace velkor
