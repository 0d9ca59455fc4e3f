// Process entry of the engine.
#include <csignal>

#include "frontend/command_loop.h"

int main() {
    // xboard sends SIGINT before the first command after every engine move; it must not kill us.
    std::signal(SIGINT, SIG_IGN);
    velkor::CommandLoop();
    return 0;
}
