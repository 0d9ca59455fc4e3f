// velkor-tool: developer and user utilities built on the engine library.
//   perft DEPTH [FEN]            leaf count, seconds and nodes per second
//   divide DEPTH [FEN]           the count below each legal move
//   perftsuite FILE [MAXDEPTH]   every "FEN ;D1 n ;D2 n ..." line, mismatches reported
//   bench [DEPTH [HASH_MIB [THREADS]]]  the bench positions searched to DEPTH: node signature and speed
//   epd FILE [--depth N | --movetime MS]   an EPD test suite (bm/am operations)
//   makebook GAMEFILE BOOKFILE [PLIES] [MINGAMES]  an opening book from a game file
//   pgn2game, pgnlist2game, game2pgn, game2pos IN OUT   the engine's game-file conversions
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "control/setup.h"
#include "core/platform.h"
#include "core/tables.h"
#include "frontend/tool_game_files.h"
#include "notation/coordinate.h"
#include "search/helpers.h"
#include "search/transposition.h"
#include "tools/bench.h"
#include "tools/book_builder.h"
#include "tools/epd_suite.h"
#include "tools/perft.h"

using namespace velkor;

namespace {

double PerSecond(std::uint64_t count, double seconds) { return seconds > 0 ? static_cast<double>(count) / seconds : 0.0; }

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

#ifndef VELKOR_DATA_DIR
#define VELKOR_DATA_DIR "/usr/local/share/games/velkor"
#endif

// Where the engine will look for the book that makebook writes.
constexpr const char* BookPlacesNote = "The engine reads Velkor.book from its working directory, or for every user from "
                                       VELKOR_DATA_DIR "/Velkor.book.\n";

int Usage() {
    std::fprintf(stderr, "usage: velkor-tool perft DEPTH [FEN]\n"
                         "       velkor-tool divide DEPTH [FEN]\n"
                         "       velkor-tool perftsuite FILE [MAXDEPTH]\n"
                         "       velkor-tool bench [DEPTH [HASH_MIB [THREADS]]]\n"
                         "       velkor-tool epd FILE [--depth N | --movetime MS]\n"
                         "       velkor-tool makebook GAMEFILE BOOKFILE [PLIES] [MINGAMES]\n"
                         "%s%s",
                 GameFileCommandsUsage, BookPlacesNote);
    return 2;
}

bool SetUpOrComplain(const std::string& fen) {
    if (SetupBoardOnly(fen.c_str())) return true;
    std::fprintf(stderr, "velkor-tool: position not accepted: %s\n", fen.c_str());
    return false;
}

std::string JoinArguments(int argc, char** argv, int first) {
    std::string text;
    for (int i = first; i < argc; ++i) {
        if (i > first) text += ' ';
        text += argv[i];
    }
    return text.empty() ? StartPositionFen : text;
}

int RunPerft(int depth, const std::string& fen) {
    if (!SetUpOrComplain(fen)) return 1;
    auto start = std::chrono::steady_clock::now();
    std::uint64_t nodes = Perft(depth);
    double seconds = SecondsSince(start);
    std::printf("nodes %llu\nseconds %.3f\nnps %.0f\n", static_cast<unsigned long long>(nodes), seconds,
                PerSecond(nodes, seconds));
    return 0;
}

int RunDivide(int depth, const std::string& fen) {
    if (!SetUpOrComplain(fen)) return 1;
    auto start = std::chrono::steady_clock::now();
    std::uint64_t total = 0;
    for (const DivideEntry& entry : Divide(depth)) {
        char text[8];
        FormatCoordinateMove(text, entry.move);
        std::printf("%s %llu\n", text, static_cast<unsigned long long>(entry.nodes));
        total += entry.nodes;
    }
    double seconds = SecondsSince(start);
    std::printf("nodes %llu\nseconds %.3f\n", static_cast<unsigned long long>(total), seconds);
    return 0;
}

int RunPerftSuite(const char* path, int maxDepth) {
    std::ifstream file(path);
    if (!file) {
        std::fprintf(stderr, "velkor-tool: cannot open %s\n", path);
        return 1;
    }
    auto start = std::chrono::steady_clock::now();
    int passed = 0, failed = 0;
    std::string line;
    for (int lineNumber = 1; std::getline(file, line); ++lineNumber) {
        PerftCase perftCase;
        if (!ParsePerftLine(line, perftCase)) continue;
        if (!SetupBoardOnly(perftCase.fen.c_str())) {
            std::printf("line %d: position not accepted: %s\n", lineNumber, perftCase.fen.c_str());
            ++failed;
            continue;
        }
        for (auto [depth, expected] : perftCase.counts) {
            if (depth > maxDepth) continue;
            std::uint64_t nodes = Perft(depth);
            if (nodes == expected) {
                ++passed;
            } else {
                ++failed;
                std::printf("line %d: %s depth %d: expected %llu, counted %llu\n", lineNumber,
                            perftCase.fen.c_str(), depth, static_cast<unsigned long long>(expected),
                            static_cast<unsigned long long>(nodes));
            }
        }
    }
    std::printf("seconds %.1f\n%d passed, %d failed\n", SecondsSince(start), passed, failed);
    return failed ? 1 : 0;
}

// The signature (nodes) first, as ever; then the quiescence moves and the rate of all moves made.
// The bench with the table at its default size, or at the size of hashMiB, and with helper threads,
// for experiments: with them the counts vary from run to run, and the helpers' moves join the rate.
int RunBenchCommand(int depth, long long hashMiB, long long threads) {
    if (hashMiB > 0 && !ResizeHash(HashBucketBitsFor(static_cast<std::uint64_t>(hashMiB)))) {
        std::fprintf(stderr, "velkor-tool: no memory for a table of %lld MiB\n", hashMiB);
        return 1;
    }
    SetSearchThreadCount(static_cast<int>(std::clamp<long long>(threads, 1, MaxSearchThreads)));
    BenchResult result = RunBench(depth, true);
    SetSearchThreadCount(1);
    std::uint64_t all = result.nodes + result.quiescenceNodes + result.helperNodes;
    std::printf("depth %d\nnodes %llu\nseconds %.3f\nnps %.0f\n", depth,
                static_cast<unsigned long long>(result.nodes), result.seconds, PerSecond(result.nodes, result.seconds));
    if (threads > 1)
        std::printf("threads %lld\nhelpernodes %llu\n", std::clamp<long long>(threads, 1, MaxSearchThreads),
                    static_cast<unsigned long long>(result.helperNodes));
    std::printf("qnodes %llu\nallnodes %llu\nallnps %.0f\n", static_cast<unsigned long long>(result.quiescenceNodes),
                static_cast<unsigned long long>(all), PerSecond(all, result.seconds));
    return 0;
}

std::string Joined(const std::vector<std::string>& moves) {
    std::string text;
    for (const std::string& move : moves) text += (text.empty() ? "" : " ") + move;
    return text;
}

int RunEpdSuite(const char* path, EpdLimits limits) {
    std::ifstream file(path);
    if (!file) {
        std::fprintf(stderr, "velkor-tool: cannot open %s\n", path);
        return 1;
    }
    auto start = std::chrono::steady_clock::now();
    int solved = 0, total = 0;
    std::string line;
    while (std::getline(file, line)) {
        EpdCase epd;
        if (!ParseEpdLine(line, epd)) continue;
        ++total;
        Move found = SearchEpdCase(epd, limits);
        char text[8] = "-";
        if (found) FormatCoordinateMove(text, found);
        bool ok = found && EpdSolved(epd, found);
        solved += ok;
        std::string expected = epd.best.empty() ? "am " + Joined(epd.avoid) : "bm " + Joined(epd.best);
        std::printf("%-24s %-20s found %-6s %s\n", epd.id.empty() ? epd.fen.c_str() : epd.id.c_str(),
                    expected.c_str(), text, ok ? "ok" : "--");
    }
    std::printf("seconds %.1f\nsolved %d/%d\n", SecondsSince(start), solved, total);
    return 0;
}

int RunEpdCommand(int argc, char** argv) {
    EpdLimits limits;
    for (int i = 3; i + 1 < argc; i += 2) {
        std::string option = argv[i];
        if (option == "--depth") limits.depth = std::atoi(argv[i + 1]);
        else if (option == "--movetime") limits.moveTimeMs = std::atoi(argv[i + 1]);
        else return Usage();
    }
    if (limits.depth <= 0 && limits.moveTimeMs <= 0) limits.depth = 8;
    return RunEpdSuite(argv[2], limits);
}

} // namespace

int main(int argc, char** argv) {
    UseBinaryStandardStreams();
    if (argc < 2) return Usage();
    InitTables();
    std::string command = argv[1];
    if (command == "bench")
        return RunBenchCommand(argc > 2 ? std::atoi(argv[2]) : DefaultBenchDepth, argc > 3 ? std::atoll(argv[3]) : 0,
                               argc > 4 ? std::atoll(argv[4]) : 1);
    if (argc < 3) return Usage();
    if (command == "perft") return RunPerft(std::atoi(argv[2]), JoinArguments(argc, argv, 3));
    if (command == "divide") return RunDivide(std::atoi(argv[2]), JoinArguments(argc, argv, 3));
    if (command == "epd") return RunEpdCommand(argc, argv);
    if (command == "makebook") {
        if (argc < 4) return Usage();
        int plies = argc > 4 ? std::atoi(argv[4]) : DefaultBookPlies;
        int minGames = argc > 5 ? std::atoi(argv[5]) : DefaultBookMinGames;
        int lines = BuildBook(argv[2], argv[3], plies, minGames);
        if (lines < 0) {
            std::fprintf(stderr, "velkor-tool: cannot build a book from %s into %s\n", argv[2], argv[3]);
            return 1;
        }
        std::printf("%d lines written to %s\n%s", lines, argv[3], BookPlacesNote);
        return 0;
    }
    if (IsGameFileCommand(command)) return argc < 4 ? Usage() : RunGameFileCommand(command, argv[2], argv[3]);
    if (command == "perftsuite") return RunPerftSuite(argv[2], argc > 3 ? std::atoi(argv[3]) : 99);
    return Usage();
}
