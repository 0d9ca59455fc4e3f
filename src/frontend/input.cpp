// A small reader over standard input. It buffers what arrives but never hands out more than one
// token at a time, so arguments can be read right after their command.
#include "frontend/input.h"

#include <chrono>
#include <cstring>
#include <thread>

#include "core/platform.h"

namespace velkor {

namespace {

// Room for everything an interface may send while the engine thinks on one move, which the
// look-ahead must be able to see past.
inline constexpr std::size_t InputBufferSize = 64 * 1024;

struct InputBuffer {
    char data[InputBufferSize];
    std::size_t position = 0; // the first unread byte
    std::size_t length = 0;
    std::size_t scan = 0;     // the look-ahead: where the next unseen token starts
    std::size_t run = 0;      // the length of the word arriving last, as far as it has arrived
    bool ended = false;
};

InputBuffer Input;

bool IsSeparator(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == '\0';
}

// Reads what has arrived into data. No word longer than TokenBufferSize bytes enters the buffer:
// the rest of a longer one is dropped as it arrives, so that one word can never fill the buffer
// and hide the commands behind it. Returns the bytes kept; 0 only at the end of input.
std::size_t ReadArrived(char* data, std::size_t size) {
    for (;;) {
        std::size_t count = ReadInput(data, size);
        if (count == 0) return 0;
        std::size_t kept = 0;
        for (std::size_t i = 0; i < count; ++i) {
            if (IsSeparator(static_cast<unsigned char>(data[i]))) Input.run = 0;
            else if (Input.run++ >= TokenBufferSize) continue;
            data[kept++] = data[i];
        }
        if (kept > 0) return kept;
    }
}

// The next byte, or -1 at end of input.
int Peek() {
    if (Input.position == Input.length) {
        if (Input.ended) return -1;
        std::size_t count = ReadArrived(Input.data, sizeof(Input.data));
        if (count == 0) {
            Input.ended = true;
            return -1;
        }
        Input.position = Input.scan = 0;
        Input.length = count;
    }
    return static_cast<unsigned char>(Input.data[Input.position]);
}

int Next() {
    int c = Peek();
    if (c >= 0) ++Input.position;
    Input.scan = Input.position;
    return c;
}

// Adds whatever has arrived to the unread bytes, waiting at most timeoutMs for it.
void ReadAvailable(int timeoutMs) {
    if (Input.ended) return;
    std::memmove(Input.data, Input.data + Input.position, Input.length - Input.position);
    Input.length -= Input.position;
    Input.scan -= Input.position;
    Input.position = 0;
    // Full of unread input: nothing more can be seen until the command loop reads on.
    if (Input.length == sizeof(Input.data)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
        return;
    }
    if (!WaitForInput(timeoutMs)) return;
    std::size_t count = ReadArrived(Input.data + Input.length, sizeof(Input.data) - Input.length);
    if (count == 0) Input.ended = true;
    else Input.length += count;
}

// The next whole token among the bytes already read, skipping the blanks before it; a token
// too long to read is told at once, as an empty one.
bool PeekBuffered(char* buffer) {
    while (Input.position < Input.length && IsSeparator(static_cast<unsigned char>(Input.data[Input.position])))
        ++Input.position;
    if (Input.scan < Input.position) Input.scan = Input.position;
    std::size_t end = Input.position;
    while (end < Input.length && !IsSeparator(static_cast<unsigned char>(Input.data[end]))) ++end;
    std::size_t length = end - Input.position;
    if (length >= TokenBufferSize) length = 0;
    // A token reaching the end of what has arrived may go on, unless the input has ended.
    else if ((end == Input.length && !Input.ended) || length == 0) return false;
    std::memcpy(buffer, Input.data + Input.position, length);
    buffer[length] = '\0';
    return true;
}

// The next whole token after the look-ahead, which moves past it.
bool ScanBuffered(char* buffer) {
    for (;;) {
        std::size_t start = Input.scan;
        while (start < Input.length && IsSeparator(static_cast<unsigned char>(Input.data[start]))) ++start;
        Input.scan = start;
        std::size_t end = start;
        while (end < Input.length && !IsSeparator(static_cast<unsigned char>(Input.data[end]))) ++end;
        std::size_t length = end - start;
        // A token too long to read is passed over at once: the rest of it never arrives.
        if (length >= TokenBufferSize) {
            Input.scan = end;
            continue;
        }
        if ((end == Input.length && !Input.ended) || end == start) return false;
        Input.scan = end;
        std::memcpy(buffer, Input.data + start, length);
        buffer[length] = '\0';
        return true;
    }
}

} // namespace

bool ScanToken(char* buffer, int timeoutMs) {
    if (ScanBuffered(buffer)) return true;
    ReadAvailable(timeoutMs);
    return ScanBuffered(buffer);
}

bool InputEnded() { return Input.ended && Input.position == Input.length; }

bool ScanEnded() { return Input.ended && Input.scan == Input.length; }

void ResetInput() { Input = InputBuffer{}; }

bool PeekToken(char* buffer, int timeoutMs) {
    if (PeekBuffered(buffer)) return true;
    ReadAvailable(timeoutMs);
    return PeekBuffered(buffer);
}

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

bool ReadLine(std::string& line) {
    line.clear();
    bool any = false;
    for (int c; (c = Next()) >= 0;) {
        any = true;
        if (c == '\n') break;
        if (line.size() < MaxLineLength) line.push_back(c == '\0' ? ' ' : static_cast<char>(c));
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return any;
}

} // namespace velkor
