// What the fuzz targets share: one-time set-up (tables, quiet standard output, a scratch working
// directory of the runner's choosing), files from input bytes, and a loud failure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "core/tables.h"

namespace velkor::fuzz {

// A property the engine must keep was broken: libFuzzer records the input.
[[noreturn]] inline void Fail(const char* what) {
    std::fprintf(stderr, "fuzz property broken: %s\n", what);
    std::abort();
}

inline void Check(bool condition, const char* what) {
    if (!condition) Fail(what);
}

// The tables filled and the engine's chatter on standard output sent nowhere.
inline void InitOnce() {
    static const bool done = [] {
        InitTables();
        if (!std::freopen("/dev/null", "w", stdout)) Fail("cannot silence standard output");
        return true;
    }();
    (void)done;
}

inline void WriteFile(const char* name, const std::uint8_t* data, std::size_t size) {
    std::ofstream(name, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                   static_cast<std::streamsize>(size));
}

inline std::string ReadFile(const char* name) {
    std::ifstream file(name, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The input as a string that ends at its first NUL, at most limit characters.
inline std::string TextOf(const std::uint8_t* data, std::size_t size, std::size_t limit) {
    std::string text(reinterpret_cast<const char*>(data), size < limit ? size : limit);
    return text.substr(0, text.find('\0'));
}

} // namespace velkor::fuzz
