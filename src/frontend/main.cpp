// Process entry of the engine.
#include "core/platform.h"
#include "frontend/command_loop.h"

int main() {
    velkor::UseBinaryStandardStreams();
    // xboard sends SIGINT before the first command after every engine move; it must not kill us.
    // At a terminal Ctrl-C is the person's way out, as in any console program.
    velkor::IgnoreInterruptsUnlessAtATerminal();
    velkor::CommandLoop();
    return 0;
}
