// Process entry of the engine.
#include <unistd.h>

#include <csignal>

#include "frontend/command_loop.h"

int main() {
    // xboard sends SIGINT before the first command after every engine move; it must not kill us.
    // At a terminal Ctrl-C is the person's way out, as in any console program.
    if (!isatty(STDIN_FILENO)) std::signal(SIGINT, SIG_IGN);
    velkor::CommandLoop();
    return 0;
}
