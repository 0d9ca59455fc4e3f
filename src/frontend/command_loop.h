// The process entry's loop: protocol handshake, then one token at a time, dispatched.
#pragma once

#include <cstdint>

namespace velkor {

inline constexpr const char* TestPositionFen = "4rr2/5ppk/1n6/1pQ4p/p2P3P/2P4R/1q3PP1/R5K1 w - -";

// Performs the xboard handshake after the interface's first word; always succeeds.
bool ProtocolHandshake(const char* first);

// Reads the first word, which chooses xboard or UCI, and runs until "quit" or the end of
// standard input; the search thread has ended on return.
void CommandLoop();

} // namespace velkor
