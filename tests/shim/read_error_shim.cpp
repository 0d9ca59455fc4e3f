// A preloaded library for the tests of read errors: read() fails with EIO once FAIL_READ_AFTER
// bytes have been read from the file whose name ends in FAIL_READ_PATH ("-" for standard input).
// Everything else reads as usual.
#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using ReadFunction = ssize_t (*)(int, void*, size_t);

bool IsWatched(int fd, const char* name) {
    if (std::strcmp(name, "-") == 0) return fd == 0;
    char link[64], path[4096];
    std::snprintf(link, sizeof(link), "/proc/self/fd/%d", fd);
    ssize_t length = readlink(link, path, sizeof(path) - 1);
    if (length <= 0) return false;
    path[length] = '\0';
    std::size_t nameLength = std::strlen(name);
    return static_cast<std::size_t>(length) >= nameLength && std::strcmp(path + length - nameLength, name) == 0;
}

} // namespace

extern "C" ssize_t read(int fd, void* buffer, size_t count) {
    static auto realRead = reinterpret_cast<ReadFunction>(dlsym(RTLD_NEXT, "read"));
    static long long left = std::getenv("FAIL_READ_AFTER") ? std::atoll(std::getenv("FAIL_READ_AFTER")) : -1;
    const char* name = std::getenv("FAIL_READ_PATH");
    if (left < 0 || !name || !IsWatched(fd, name)) return realRead(fd, buffer, count);
    if (left == 0) {
        errno = EIO;
        return -1;
    }
    ssize_t got = realRead(fd, buffer, count < static_cast<size_t>(left) ? count : static_cast<size_t>(left));
    if (got > 0) left -= got;
    return got;
}
