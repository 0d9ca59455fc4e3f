// The game-file commands of velkor-tool. They print the engine's messages (on standard error
// when standard output carries the data), and leave the PGN text out of the log: a collection
// may be far larger than any log should be.
#include "frontend/tool_game_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <system_error>

#include "core/platform.h"
#include "tools/game_export.h"
#include "tools/pgn_convert.h"
#include "tools/progress.h"

namespace velkor {

namespace {

// Standard input as a stream that can always take back a character, also right after its buffer
// was refilled: the PGN reader puts back what it read ahead, and a pipe cannot be seeked back
// as a file can.
class StandardInputBuffer : public std::streambuf {
  public:
    StandardInputBuffer() { setg(data, data + PutbackRoom, data + PutbackRoom); }

  protected:
    int_type underflow() override {
        if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
        std::size_t keep = std::min<std::size_t>(PutbackRoom, static_cast<std::size_t>(gptr() - eback()));
        std::memmove(data + PutbackRoom - keep, gptr() - keep, keep);
        std::size_t count = ReadInput(data + PutbackRoom, sizeof(data) - PutbackRoom);
        // A read error is raised as a file's would be: it is not the end of the input.
        if (count == 0 && InputFailed()) throw std::ios_base::failure("standard input", std::error_code(errno, std::generic_category()));
        if (count == 0) return traits_type::eof();
        setg(data + PutbackRoom - keep, data + PutbackRoom, data + PutbackRoom + count);
        return traits_type::to_int_type(*gptr());
    }

  private:
    static constexpr std::size_t PutbackRoom = 16;
    char data[1 << 16];
};

bool IsStandardStream(const char* name) { return name[0] == '-' && name[1] == '\0'; }

// "  1234567 games read, 1200000 stored, 34567 skipped, 61234 games/s, 42%", on one line that
// is written over.
void PrintProgressLine(const ConversionProgress& progress, bool finished) {
    double rate = progress.seconds > 0 ? static_cast<double>(progress.read) / progress.seconds : 0;
    std::fprintf(stderr, "\r%10llu games read, %llu stored, %llu skipped, %.0f games/s",
                 static_cast<unsigned long long>(progress.read), static_cast<unsigned long long>(progress.stored),
                 static_cast<unsigned long long>(progress.skipped), rate);
    if (progress.bytesTotal)
        std::fprintf(stderr, ", %.0f%%", 100.0 * static_cast<double>(progress.bytesRead) / static_cast<double>(progress.bytesTotal));
    std::fputs(finished ? "\x1b[K\n" : "\x1b[K", stderr);
    std::fflush(stderr);
}

int ExitStatus(bool done) { return done ? 0 : 1; }

int ConvertPgn(const char* input, const char* output) {
    int counter = 0;
    if (!IsStandardStream(input)) return ExitStatus(ConvertPgnFile(input, output, counter));
    GameFileTarget target;
    if (!IsUsableGameFileName(output, input) || !target.Open(output)) return 1;
    StandardInputBuffer buffer;
    std::istream pgn(&buffer);
    bool done = ConvertPgnStream(pgn, input, target, counter, 0);
    if (!target.appender.Close() && done) {
        std::fprintf(ToolMessages, "ERROR: %s file: %s\n", target.appender.Error().c_str(), output);
        done = false;
    }
    return ExitStatus(done);
}

int ConvertList(const char* list, const char* output) {
    if (!IsStandardStream(list)) return ExitStatus(ConvertPgnList(list, output));
    StandardInputBuffer buffer;
    std::istream names(&buffer);
    return ExitStatus(ConvertPgnList(names, output));
}

// game2pgn and game2pos, each between files or the standard streams.
int Export(bool (*fromFiles)(const char*, const char*), bool (*fromStreams)(std::istream&, std::ostream&),
           const char* cannotCreate, const char* input, const char* output) {
    if (!IsStandardStream(input) && !IsStandardStream(output)) return ExitStatus(fromFiles(input, output));
    std::ifstream inputFile;
    if (!IsStandardStream(input)) {
        inputFile.open(input, std::ios::binary);
        if (!inputFile) {
            std::fprintf(ToolMessages, "Cannot open GAME input file: '%s'\n", input);
            return 1;
        }
    }
    std::ofstream outputFile;
    if (!IsStandardStream(output)) {
        outputFile.open(output, std::ios::app | std::ios::binary);
        if (!outputFile) {
            std::fprintf(ToolMessages, cannotCreate, output);
            return 1;
        }
    }
    StandardInputBuffer buffer;
    std::istream standardInput(&buffer);
    std::istream& games = IsStandardStream(input) ? standardInput : inputFile;
    std::ostream& text = IsStandardStream(output) ? std::cout : outputFile;
    return ExitStatus(fromStreams(games, text));
}

} // namespace

bool IsGameFileCommand(const std::string& command) {
    return command == "pgn2game" || command == "pgnlist2game" || command == "game2pgn" || command == "game2pos";
}

int RunGameFileCommand(const std::string& command, const char* input, const char* output) {
    // Standard output carries whole collections: unsynchronised, it is written in blocks.
    std::ios::sync_with_stdio(false);
    EchoPgnToLog = false;
    if (IsStandardStream(output)) ToolMessages = stderr;
    if (IsTerminal(StandardStream::Error)) ShowProgress = PrintProgressLine;
    if (command == "pgn2game") return ConvertPgn(input, output);
    if (command == "pgnlist2game") return ConvertList(input, output);
    bool (*filesPgn)(const char*, const char*) = ExportPgn;
    bool (*streamsPgn)(std::istream&, std::ostream&) = ExportPgn;
    if (command == "game2pgn")
        return Export(filesPgn, streamsPgn, "Cannot create PGN output file: '%s'\n", input, output);
    bool (*filesPositions)(const char*, const char*) = ExportPositions;
    bool (*streamsPositions)(std::istream&, std::ostream&) = ExportPositions;
    return Export(filesPositions, streamsPositions, "Cannot create DB output file: '%s'\n", input, output);
}

} // namespace velkor
