// A small reader over a file descriptor. It buffers what read() returns but never hands out
// more than one token at a time, so arguments can be read right after their command.
#include "frontend/input.h"

#include <unistd.h>

#include <cerrno>

namespace velkor {

namespace {

struct InputBuffer {
    char data[4096];
    std::size_t position = 0;
    std::size_t length = 0;
    bool ended = false;
};

InputBuffer Input;

// The next byte, or -1 at end of input.
int Peek() {
    if (Input.position == Input.length) {
        if (Input.ended) return -1;
        ssize_t count;
        do {
            count = read(STDIN_FILENO, Input.data, sizeof(Input.data));
        } while (count < 0 && errno == EINTR);
        if (count <= 0) {
            Input.ended = true;
            return -1;
        }
        Input.position = 0;
        Input.length = static_cast<std::size_t>(count);
    }
    return static_cast<unsigned char>(Input.data[Input.position]);
}

int Next() {
    int c = Peek();
    if (c >= 0) ++Input.position;
    return c;
}

bool IsSeparator(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == '\0';
}

} // namespace

ReadResult ReadToken(char* buffer) {
    int c;
    while ((c = Peek()) >= 0 && IsSeparator(c)) Next();
    if (c < 0) {
        buffer[0] = '\0';
        return ReadResult::End;
    }
    std::size_t length = 0;
    bool tooLong = false;
    while ((c = Peek()) >= 0 && !IsSeparator(c)) {
        Next();
        if (length < TokenBufferSize - 1) buffer[length++] = static_cast<char>(c);
        else tooLong = true;
    }
    buffer[tooLong ? 0 : length] = '\0';
    return tooLong ? ReadResult::TooLong : ReadResult::Token;
}

bool ReadRestOfLine(char* buffer) {
    std::size_t length = 0;
    int c;
    bool any = false;
    while ((c = Next()) >= 0) {
        any = true;
        if (length < LineTextLimit) buffer[length++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    buffer[length] = '\0';
    return any;
}

} // namespace velkor
