// The UCI front end: the same engine driven by the line commands of the Universal Chess Interface,
// which a first token "uci" chooses for the life of the process.
#pragma once

namespace velkor {

// Answers the "uci" already read, then handles UCI commands until "quit" or the end of standard
// input; the search thread has ended on return.
void UciSession();

} // namespace velkor
