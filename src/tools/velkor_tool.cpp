// velkor-tool: developer and user utilities built on the engine library.
#include <cstdio>

int main(int argc, char** argv) {
    (void)argv;
    if (argc < 2) {
        std::fprintf(stderr, "usage: velkor-tool COMMAND [ARGS]\n");
        return 2;
    }
    std::fprintf(stderr, "velkor-tool: unknown command\n");
    return 2;
}
