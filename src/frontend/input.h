// Standard input as the command loop reads it: whitespace-delimited tokens and the rest of a
// line, with hard limits so that nothing that arrives can overflow a buffer.
#pragma once

#include <cstddef>
#include <string>

namespace velkor {

inline constexpr std::size_t TokenBufferSize = 256; // a token is at most 255 characters
inline constexpr std::size_t LineTextLimit = 254;    // the rest of a "setboard" line

enum class ReadResult { Token, TooLong, End };

// Reads the next whitespace-delimited token into buffer (TokenBufferSize bytes). A longer token
// is consumed whole and reported as TooLong, with buffer left empty. NUL bytes separate tokens.
// Of a word longer than a token only its first TokenBufferSize bytes are ever kept: the line
// readers see it cut there.
ReadResult ReadToken(char* buffer);

// Looks ahead without consuming anything: copies the next whole token after the ones already
// looked at into buffer, waiting at most timeoutMs for it. Returns false when no whole token has
// arrived: it must be followed by a separator, so that "?" is not taken for "?x". Every read
// starts the look-ahead again at the first unread token. Tokens too long to read are passed over.
bool ScanToken(char* buffer, int timeoutMs);

// Waits at most timeoutMs for input and copies the next whole token into buffer without
// consuming it; false when none has arrived. A token too long to read comes back at once as an
// empty one.
bool PeekToken(char* buffer, int timeoutMs);

// True once standard input has ended.
bool InputEnded();
// True once standard input has ended and the look-ahead has seen all of it.
bool ScanEnded();

// Forgets everything read so far and reads standard input afresh (for tests and fuzzers that run
// the command loop more than once in a process).
void ResetInput();

// Reads the rest of the current line, keeping its line end, into buffer (LineTextLimit + 1 bytes);
// characters past the limit are discarded up to the line end. Returns false at end of input
// when nothing was read.
bool ReadRestOfLine(char* buffer);

// Reads the next line without its line end (and a carriage return before it) into line; NUL
// bytes become blanks, and a line longer than MaxLineLength keeps its first MaxLineLength
// characters. Returns false at end of input when nothing was read.
inline constexpr std::size_t MaxLineLength = 1 << 20;
bool ReadLine(std::string& line);

} // namespace velkor
