// What the engine asks of the operating system beyond the standard library, behind one narrow
// interface: where its executable lives and where a user's state files go.
#pragma once

#include <string>

namespace velkor {

// The folder of the running executable, without a trailing slash; "" when it cannot be told.
std::string ExecutableDirectory();

// The folder for the user's state files of this program ($XDG_STATE_HOME/velkor, or
// ~/.local/state/velkor), created when missing; "" when there is none that can be made.
std::string UserStateDirectory();

} // namespace velkor
