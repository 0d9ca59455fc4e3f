// PGN -> game file -> PGN and positions: the record format, duplicates, the awkward PGN syntax,
// round trips and damaged files.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "book/book.h"
#include "control/setup.h"
#include "position/position.h"
#include "support/test_position.h"
#include "tools/book_builder.h"
#include "tools/game_export.h"
#include "tools/game_index.h"
#include "tools/pgn_convert.h"

namespace velkor::test {

namespace {

class GameToolsTest : public PositionTest {
  protected:
    std::string dir = ScratchPath("/");

    void SetUp() override {
        PositionTest::SetUp();
        std::string command = "rm -rf '" + dir + "' && mkdir -p '" + dir + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
        SetUpFen(StartPositionFen);
        CurrentPly = PlyStack.data();
    }
    void TearDown() override {
        std::string command = "rm -rf '" + dir + "'";
        [[maybe_unused]] int ignored = std::system(command.c_str());
    }

    std::string Path(const char* name) const { return dir + name; }
    void WriteText(const char* name, const std::string& text) const { std::ofstream(Path(name), std::ios::binary) << text; }
    std::string ReadText(const char* name) const {
        std::ifstream file(Path(name), std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }
    // Converts and returns what the conversion printed.
    std::string Convert(const std::string& pgn, const char* game = "out.game") {
        int counter = 0;
        testing::internal::CaptureStdout();
        ConvertPgnFile(pgn.c_str(), Path(game).c_str(), counter);
        return testing::internal::GetCapturedStdout();
    }
    std::string ConvertText(const std::string& text, const char* game = "out.game") {
        WriteText("in.pgn", text);
        return Convert(Path("in.pgn"), game);
    }
    std::string Run(bool (*exporter)(const char*, const char*), const char* from, const char* to) {
        testing::internal::CaptureStdout();
        exporter(Path(from).c_str(), Path(to).c_str());
        return testing::internal::GetCapturedStdout();
    }
    static std::string Data(const char* name) { return std::string(VELKOR_TEST_DATA) + "/pgn/" + name; }
};

constexpr const char* FourMoves = "[Event \"x\"]\n[Result \"1-0\"]\n\n1. e4 e5 2. Nf3 Nc6 1-0\n";

} // namespace

TEST_F(GameToolsTest, TheTenByteRecord) {
    EXPECT_EQ(ConvertText(FourMoves), "converted: 1 games. (skipped: 0)\nfile: " + Path("in.pgn") + " \t\tfinished\n");
    EXPECT_EQ(ReadText("out.game"), std::string("\x04\x80\x24\x0D\x1C\x03\xAD\x0F\x52\x00", 10));
    EXPECT_EQ(Board, GameSnapshot.board) << "the start position is back";
    EXPECT_EQ(CurrentPly, PlyStack.data());
}

TEST_F(GameToolsTest, ConvertingTwiceWritesEachGameOnce) {
    ConvertText(FourMoves);
    std::string second = ConvertText(FourMoves);
    EXPECT_NE(second.find("Warning: game 1 (skipped) file: "), std::string::npos);
    EXPECT_NE(second.find("converted: 0 games. (skipped: 1)"), std::string::npos);
    EXPECT_EQ(ReadText("out.game").size(), 10u);
}

TEST_F(GameToolsTest, AwkwardSyntax) {
    std::string text =
        "[Result \"0-1\"]\n1. e4 {a {nested} comment} e5 (1... c5 (1... e6 2. d4) 2. Nf3) 2. Nf3 $1 Nc6 "
        "3. Bb5 a6 4. Ba4 Nf6 0-1\n\n"
        "[Result \"*\"]\n1. d4 d5 *\n\n"                        // kept out: no result
        "[Result \"1-0\"]\n1. c4 e5 2. Nc3 Nf6 3. g3 d5 1-0\n\n" // read normally after the "*" game
        "[Result \"1/2-1/2\"]\n1. Nf3 Nf6 2. g3 g6 3. Bg2 Bg7 4. O-O O-O 5. d3 d6 {end}\n1/2-1/2\n\n"
        "[Result \"1-0\"]\n1. e4 Sf6 2. Nf3 1-0\n\n"           // a foreign letter: this game only
        "[Result \"0-1\"]\n[SetUp \"1\"]\n[FEN \"8/8/8/8/8/8/8/K6k w - - 0 1\"]\n1. Kb1 Kg1 0-1\n\n"
        "[Result \"1-0\"]\n1. e4 e5 2. Bc4 Nc6 3. Qh5 Nf6 4. Qxf7# 1-0\n";
    std::string output = ConvertText(text);
    EXPECT_NE(output.find("converted: 4 games. (skipped: 3)"), std::string::npos) << output;
    EXPECT_NE(output.find("move: Sf6, plyNo:2"), std::string::npos);
    EXPECT_EQ(Run(ExportPgn, "out.game", "out.pgn"), "OK\nconverted: 4 games.\n");
    EXPECT_EQ(ReadText("out.pgn"),
              "[Result \"0-1\"]\n1. e2e4 e7e5 2. g1f3 b8c6 3. f1b5 a7a6 4. b5a4 g8f6 0-1\n"
              "[Result \"1-0\"]\n1. c2c4 e7e5 2. b1c3 g8f6 3. g2g3 d7d5 1-0\n"
              "[Result \"1/2-1/2\"]\n1. g1f3 g8f6 2. g2g3 g7g6 3. f1g2 f8g7 4. e1g1 e8g8 5. d2d3 d7d6 1/2-1/2\n"
              "[Result \"1-0\"]\n1. e2e4 e7e5 2. f1c4 b8c6 3. d1h5 g8f6 4. h5f7 1-0\n");
}

// Collections as people write them: escape lines and ";" comments before and between games,
// castling with zeros in a game Black wins, "!" and "?" written apart from their move.
TEST_F(GameToolsTest, LineCommentsZeroCastlingAndDetachedAnnotations) {
    std::string text =
        "% written by hand\n; two games\n"
        "[Result \"0-1\"]\n1. e4 e5 2. Nf3 Nc6 3. Bc4 Bc5 4. 0-0 Nf6 ; a reply { ( 1-0\n"
        "% an escape line inside the movetext\n5. d3 0-0 6. Bg5 ? h6 !? 0-1\n\n"
        "; between games\n"
        "[Result \"1-0\"]\n1. d4 d5 2. c4 c6 3. Nc3 Nf6 4. Bg5 Bf5 5. e3 e6 6. Qb3 Qb6 7. 0-0-0 1-0\n"
        "; the end\n";
    EXPECT_EQ(ConvertText(text), "converted: 2 games. (skipped: 0)\nfile: " + Path("in.pgn") + " \t\tfinished\n");
    Run(ExportPgn, "out.game", "out.pgn");
    EXPECT_EQ(ReadText("out.pgn"),
              "[Result \"0-1\"]\n1. e2e4 e7e5 2. g1f3 b8c6 3. f1c4 f8c5 4. e1g1 g8f6 5. d2d3 e8g8 6. c1g5 h7h6 0-1\n"
              "[Result \"1-0\"]\n1. d2d4 d7d5 2. c2c4 c7c6 3. b1c3 g8f6 4. c1g5 c8f5 5. e2e3 e7e6 6. d1b3 d8b6 "
              "7. e1c1 1-0\n");
}

TEST_F(GameToolsTest, ErrorsEndTheFileButNotTheEngine) {
    std::string output = ConvertText("[Event \"no result\"]\n1. e4 e5 1-0\n");
    EXPECT_NE(output.find("ERROR: Result Error 2 file: "), std::string::npos);
    output = ConvertText("[Result \"1-0\"]\n1. e4 e5 2. Ke3 Nc6 1-0\n");
    EXPECT_NE(output.find("ERROR: MOVE NOT LEGAL 1 file: "), std::string::npos);
    EXPECT_EQ(HistoryIndex(), 0) << "nothing of the failed game stays on the board";
    EXPECT_EQ(Board, GameSnapshot.board);
    output = ConvertText("[Result \"1-0\"]\n1. e4 e5 2. Ke2 Qg5 3. Ke3 1-0\n");
    EXPECT_NE(output.find("ERROR: MOVE NOT LEGAL 2 - check revealed file: "), std::string::npos);
    output = ConvertText("[Result \"2-0\"]\n1. e4 2-0\n");
    EXPECT_NE(output.find("ERROR: Result Error 1 file: "), std::string::npos);
}

TEST_F(GameToolsTest, LongGamesAreSkipped) {
    std::string moves;
    for (int i = 0; i < 130; ++i) moves += std::to_string(4 * i + 1) + ". Nf3 Nf6 " + std::to_string(4 * i + 2) +
                                           ". Ng1 Ng8 " + std::to_string(4 * i + 3) + ". Nc3 Nc6 " +
                                           std::to_string(4 * i + 4) + ". Nb1 Nb8 ";
    std::string output = ConvertText("[Result \"1/2-1/2\"]\n" + moves + "1/2-1/2\n\n" + FourMoves);
    EXPECT_NE(output.find("converted: 1 games. (skipped: 1)"), std::string::npos) << output.substr(0, 300);
}

TEST_F(GameToolsTest, PositionsTable) {
    ConvertText(FourMoves);
    EXPECT_EQ(Run(ExportPositions, "out.game", "out.pos"), "OK\nconverted: 1 games.\n");
    std::string table = ReadText("out.pos");
    std::string first = table.substr(0, table.find('\n'));
    SetUpFen(StartPositionFen);
    EXPECT_EQ(first, "1\tW\trnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR\tw\tKQkq\t-\te2e4\t" +
                         std::to_string(static_cast<long long>(HashKey)));
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 4);
    Run(ExportPositions, "out.game", "out.pos");
    std::string twice = ReadText("out.pos");
    EXPECT_EQ(std::count(twice.begin(), twice.end(), '\n'), 8) << "appended";
    EXPECT_EQ(Run(ExportPgn, "missing.game", "x.pgn"), "Cannot open GAME input file: '" + Path("missing.game") + "'\n");
}

TEST_F(GameToolsTest, DamagedGameFiles) {
    WriteText("empty.game", "");
    EXPECT_EQ(Run(ExportPgn, "empty.game", "a.pgn"), "OK\nconverted: 0 games.\n");
    WriteText("count.game", std::string("\xFF\xBF", 2) + std::string(100, '\0'));
    EXPECT_EQ(Run(ExportPgn, "count.game", "b.pgn"), "ERROR: WRONG MOVE COUNT\nconverted: 0 games.\n");
    WriteText("result.game", std::string("\x01\x00\x24\x0D", 4));
    EXPECT_EQ(Run(ExportPgn, "result.game", "c.pgn"), "ERROR: WRONG RESULT\nconverted: 0 games.\n");
    WriteText("cut.game", std::string("\x01\x80\x24\x0D\x04\x80\x24\x0D\x1C\x03", 10));
    EXPECT_EQ(Run(ExportPgn, "cut.game", "d.pgn"), "ERROR: RECORD CUT SHORT\nconverted: 1 games.\n");
    EXPECT_EQ(ReadText("d.pgn"), "[Result \"1-0\"]\n1. e2e4 1-0\n");
    // e2e4 twice: nothing of that record is written, and the export stops as at a cut record.
    WriteText("illegal.game", std::string("\x01\x80\x24\x0D\x02\x80\x24\x0D\x24\x0D\x01\x80\x24\x0D", 14));
    EXPECT_EQ(Run(ExportPositions, "illegal.game", "e.pos"), "ERROR: MOVE NOT LEGAL\nconverted: 1 games.\n");
    EXPECT_EQ(ReadText("e.pos").find("\n"), ReadText("e.pos").size() - 1) << "only the first record's line";
    EXPECT_EQ(HistoryIndex(), 0);
}

TEST_F(GameToolsTest, AppendingDropsACutRecordAtTheEnd) {
    ConvertText(FourMoves);
    std::string whole = ReadText("out.game");
    ASSERT_EQ(whole.size(), 10u);
    // A crash in the middle of the next record's write: header and one move of three.
    WriteText("out.game", whole + std::string("\x03\x80\x24\x0D", 4));
    std::string output = ConvertText("[Result \"0-1\"]\n\n1. d4 d5 2. c4 0-1\n");
    EXPECT_NE(output.find("Warning: cut record at the end of GAME file '" + Path("out.game") + "' dropped (4 bytes)\n"),
              std::string::npos) << output;
    EXPECT_NE(output.find("converted: 1 games. (skipped: 0)"), std::string::npos) << output;
    EXPECT_EQ(Run(ExportPgn, "out.game", "out.pgn"), "OK\nconverted: 2 games.\n");
    EXPECT_EQ(ReadText("out.pgn"), "[Result \"1-0\"]\n1. e2e4 e7e5 2. g1f3 b8c6 1-0\n"
                                   "[Result \"0-1\"]\n1. d2d4 d7d5 2. c2c4 0-1\n");
    // A file damaged inside is left alone.
    WriteText("bad.game", std::string("\x01\x00\x24\x0D", 4));
    output = ConvertText(FourMoves, "bad.game");
    EXPECT_EQ(output, "ERROR: WRONG RESULT file: " + Path("bad.game") + "\n");
    EXPECT_EQ(ReadText("bad.game"), std::string("\x01\x00\x24\x0D", 4));
}

TEST_F(GameToolsTest, TheGameFileIsCompleteBeforeTheConversionReports) {
    // Standard output is a full pipe, so the conversion blocks on its first report line; a
    // program reading that line may read the game file at once.
    WriteText("in.pgn", FourMoves);
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    fcntl(pipeEnds[1], F_SETFL, O_NONBLOCK);
    char filler[4096] = {};
    while (write(pipeEnds[1], filler, sizeof(filler)) > 0) {
    }
    fcntl(pipeEnds[1], F_SETFL, 0);
    std::fflush(stdout);
    int savedStdout = dup(STDOUT_FILENO);
    dup2(pipeEnds[1], STDOUT_FILENO);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::atomic<bool> done = false;
    std::thread conversion([&] {
        int counter = 0;
        ConvertPgnFile(Path("in.pgn").c_str(), Path("out.game").c_str(), counter);
        done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::uintmax_t sizeWhileReporting = std::filesystem::file_size(Path("out.game"));
    for (pollfd reader{pipeEnds[0], POLLIN, 0}; !done;) {
        if (poll(&reader, 1, 50) > 0 && read(pipeEnds[0], filler, sizeof(filler)) <= 0) break;
    }
    conversion.join();
    dup2(savedStdout, STDOUT_FILENO);
    close(savedStdout);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    EXPECT_EQ(sizeWhileReporting, 10u);
}

TEST_F(GameToolsTest, SetUpTagsThatDescribeOrdinaryGamesAreStored) {
    const char* start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    std::string games = std::string("[SetUp \"0\"]\n[Result \"1-0\"]\n\n1. e4 e5 1-0\n\n") +
                        "[SetUp \"1\"]\n[FEN \"" + start + "\"]\n[Result \"1-0\"]\n\n1. d4 d5 1-0\n\n" +
                        "[FEN \"4k3/8/8/8/8/8/8/4K2R w K - 0 1\"]\n[SetUp \"1\"]\n[Result \"1-0\"]\n\n1. O-O 1-0\n\n" +
                        "[SetUp \"1\"]\n[Result \"1-0\"]\n\n1. c4 1-0\n";
    std::string output = ConvertText(games);
    EXPECT_NE(output.find("converted: 2 games. (skipped: 2)"), std::string::npos) << output;
}

TEST_F(GameToolsTest, AOneByteFileThatBeginsLikeAByteOrderMark) {
    WriteText("mark.pgn", "\xEF");
    std::string output = Convert(Path("mark.pgn"));
    EXPECT_EQ(output.find("converted: 1"), std::string::npos) << output;
}

TEST_F(GameToolsTest, RealCollectionsAndRoundTrip) {
    std::string output = Convert(Data("twic-sample-232games.pgn"), "first.game");
    EXPECT_NE(output.find("converted: 232 games. (skipped: 0)"), std::string::npos) << output;
    output = Convert(Data("lichess-2012-32games.pgn"), "first.game");
    EXPECT_NE(output.find("converted: 32 games. (skipped: 0)"), std::string::npos) << output;
    Run(ExportPgn, "first.game", "round.pgn");
    Convert(Path("round.pgn"), "second.game");
    EXPECT_EQ(ReadText("first.game"), ReadText("second.game"));
    EXPECT_GT(ReadText("first.game").size(), 10000u);
    output = Convert(Data("carlsen-pgnmentor.pgn"), "carlsen.game");
    EXPECT_NE(output.find("converted: 2851 games. (skipped: 0)"), std::string::npos) << output.substr(0, 500);
}

TEST_F(GameToolsTest, ABookFromAGameFileLoads) {
    Convert(Data("twic-sample-232games.pgn"), "twic.game");
    int lines = BuildBook(Path("twic.game").c_str(), Path("twic.book").c_str(), 12, 3);
    EXPECT_GT(lines, 5);
    EXPECT_EQ(ReadText("twic.book").rfind(std::to_string(lines) + "\n", 0), 0u);
    SetUpFen(StartPositionFen);
    EXPECT_TRUE(LoadBook(Path("twic.book").c_str()));
    EXPECT_EQ(BuildBook(Path("missing.game").c_str(), Path("x.book").c_str(), 12, 3), -1);
}

TEST_F(GameToolsTest, TrickyFiles) {
    EXPECT_NE(Convert(Data("utf8-bom.pgn")).find("converted: 0 games. (skipped: 2)"), std::string::npos);
    EXPECT_NE(Convert(Data("variations-nags-and-comments.pgn")).find("(skipped: 1)"), std::string::npos);
    EXPECT_NE(Convert(Data("anastasian-lewis.pgn")).find("(skipped: 1)"), std::string::npos);
    EXPECT_NE(Convert(Data("kasparov-deep-blue-1997.pgn")).find("converted: 6 games."), std::string::npos);
    EXPECT_NE(Convert(Data("molinari-bordais-1979.pgn")).find("converted: 1 games."), std::string::npos);
    // Two games whose movetext result differs from their tag, four with ambiguous moves, and a
    // last game whose comment "{{Not 33..." is never closed: it is cut short, so not stored.
    std::string immortal = Convert(Data("immortal-games.pgn"), "immortal.game");
    EXPECT_NE(immortal.find("converted: 29 games. (skipped: 7)"), std::string::npos) << immortal;
    EXPECT_NE(immortal.find("Warning: comment left open\nWarning: game 36 (skipped)"), std::string::npos) << immortal;
    // A set-up position and a "*" game cannot be stored.
    EXPECT_NE(Convert(Data("syntax-variants.pgn"), "syntax.game").find("converted: 3 games. (skipped: 2)"), std::string::npos);
}

TEST_F(GameToolsTest, AListOfFiles) {
    ConvertText(FourMoves, "unused.game");
    WriteText("list.txt", Path("in.pgn") + "\n" + Path("missing.pgn") + "\n" + Path("in.pgn") + "\n");
    testing::internal::CaptureStdout();
    ConvertPgnList(Path("list.txt").c_str(), Path("list.game").c_str());
    std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("Cannot open PGN input file: '" + Path("missing.pgn") + "'"), std::string::npos);
    EXPECT_NE(output.find("\nCONVERTED GAMES: 1\n"), std::string::npos) << output;
}

// The index keeps a short hash of each record; only the stored record decides. With hashes
// narrowed to a few bits nearly every game collides with others, in the write buffer and in the
// file appended to, and the conversion must store exactly what it stores with whole hashes.
TEST_F(GameToolsTest, CollidingHashesStoreEveryDistinctGameOnce) {
    std::ifstream lichess(Data("lichess-2012-32games.pgn"), std::ios::binary);
    std::string games((std::istreambuf_iterator<char>(lichess)), std::istreambuf_iterator<char>());
    WriteText("twice.pgn", games + "\n" + games);
    std::string whole = Convert(Path("twice.pgn"), "whole.game") + Convert(Data("twic-sample-232games.pgn"), "whole.game") +
                        Convert(Data("twic-sample-232games.pgn"), "whole.game");
    GameHashBits = 3;
    std::string narrow = Convert(Path("twice.pgn"), "narrow.game") +
                         Convert(Data("twic-sample-232games.pgn"), "narrow.game") +
                         Convert(Data("twic-sample-232games.pgn"), "narrow.game");
    GameHashBits = 64;
    EXPECT_EQ(narrow, whole);
    EXPECT_TRUE(ReadText("narrow.game") == ReadText("whole.game"));
    EXPECT_NE(whole.find("converted: 32 games. (skipped: 32)"), std::string::npos) << "each game twice in one file";
    EXPECT_NE(whole.find("converted: 0 games. (skipped: 232)"), std::string::npos) << "games already in the file";
}

// velkor-tool runs the same conversions from the command line, "-" standing for the standard
// streams; its exit status tells success, and no progress is shown off a terminal.
TEST_F(GameToolsTest, TheCommandLineToolsMatchTheTypedCommands) {
    std::string typed = Convert(Data("twic-sample-232games.pgn"), "typed.game");
    Run(ExportPgn, "typed.game", "typed.pgn");
    auto shell = [&](const std::string& command) {
        return WEXITSTATUS(std::system(("cd '" + dir + "' && " + command + " 2> stderr.txt").c_str()));
    };
    auto tool = [&](const std::string& arguments) { return shell(std::string(VELKOR_TOOL_BINARY) + " " + arguments); };
    // Through a pipe that delivers a byte at a time, so that the reader's buffer ends anywhere,
    // also between the characters it reads ahead and puts back ("0-" of "0-1" and of "0-0").
    EXPECT_EQ(shell("perl -e '$| = 1; local $/; print for split //, <STDIN>' < '" + Data("twic-sample-232games.pgn") +
                    "' | " + VELKOR_TOOL_BINARY + " pgn2game - piped.game > messages.txt"),
              0);
    EXPECT_TRUE(ReadText("piped.game") == ReadText("typed.game"));
    EXPECT_EQ(ReadText("messages.txt"), "converted: 232 games. (skipped: 0)\nfile: - \t\tfinished\n");
    EXPECT_EQ(ReadText("stderr.txt"), "") << "no progress line off a terminal";
    EXPECT_EQ(tool("game2pgn piped.game - > piped.pgn"), 0);
    EXPECT_TRUE(ReadText("piped.pgn") == ReadText("typed.pgn"));
    EXPECT_EQ(ReadText("stderr.txt"), "OK\nconverted: 232 games.\n") << "messages leave standard output to the data";
    EXPECT_EQ(tool("game2pos - - < piped.game > piped.tsv"), 0);
    Run(ExportPositions, "typed.game", "typed.tsv");
    EXPECT_TRUE(ReadText("piped.tsv") == ReadText("typed.tsv"));
    WriteText("bad.pgn", "[Result \"1-0\"]\n\n1. e4 e5 2. Ke3 1-0\n");
    EXPECT_EQ(tool("pgn2game bad.pgn bad.game > messages.txt"), 1) << "an ERROR line fails";
    EXPECT_NE(ReadText("messages.txt").find("ERROR: MOVE NOT LEGAL 1 file: bad.pgn"), std::string::npos);
    EXPECT_EQ(tool("game2pgn missing.game out.pgn > messages.txt"), 1);
    EXPECT_EQ(tool("pgnlist2game - listed.game < /dev/null > messages.txt"), 0);
}

// PGN as pgn-extract reads it: the same games come through (and a game whose comment or
// variation is left open is never stored as if it were complete).
TEST_F(GameToolsTest, PgnAsOtherReadersReadIt) {
    EXPECT_NE(Convert(Data("comment-in-variation.pgn"), "a.game").find("converted: 4 games. (skipped: 0)"), std::string::npos);
    EXPECT_NE(Convert(Data("no-blanks.pgn"), "b.game").find("converted: 3 games. (skipped: 0)"), std::string::npos);
    std::string open = Convert(Data("left-open.pgn"), "c.game");
    EXPECT_NE(open.find("Warning: comment left open\nWarning: game 2 (skipped)"), std::string::npos) << open;
    EXPECT_NE(open.find("Warning: variation left open\nWarning: game 3 (skipped)"), std::string::npos) << open;
    EXPECT_NE(open.find("converted: 3 games. (skipped: 2)"), std::string::npos) << open;
    // The TWIC sample on one line, and with the CR-only line ends of old Macintosh files.
    std::ifstream twic(Data("twic-sample-232games.pgn"), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(twic)), std::istreambuf_iterator<char>());
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    Convert(Data("twic-sample-232games.pgn"), "twic.game");
    for (char lineEnd : {' ', '\r'}) {
        std::string changed = text;
        std::replace(changed.begin(), changed.end(), '\n', lineEnd);
        WriteText("changed.pgn", changed);
        std::remove(Path("changed.game").c_str());
        std::string output = Convert(Path("changed.pgn"), "changed.game");
        EXPECT_NE(output.find("converted: 232 games. (skipped: 0)"), std::string::npos) << output.substr(0, 300);
        EXPECT_TRUE(ReadText("changed.game") == ReadText("twic.game"));
    }
}

// What happens around the files, injected rather than hoped for: full disks, read errors, a
// second writer, damage near the end, names that cannot be a game file. Each failure says
// ERROR and exits 1, and the game file holds whole records, as many as the messages say.
TEST_F(GameToolsTest, FaultsAroundTheFilesAreToldAndNoGameIsLost) {
    const std::string tool = VELKOR_TOOL_BINARY, carlsen = Data("carlsen-pgnmentor.pgn");
    auto shell = [&](const std::string& command) {
        return WEXITSTATUS(std::system(("cd '" + dir + "' && " + command + " > messages.txt 2>&1").c_str()));
    };
    auto said = [&](const std::string& text) { return ReadText("messages.txt").find(text) != std::string::npos; };
    // The games a file holds, as an export counts them; -1 when the export fails.
    auto stored = [&](const std::string& name) {
        if (shell(tool + " game2pgn " + name + " /dev/null") != 0) return -1;
        std::string messages = ReadText("messages.txt");
        return std::stoi(messages.substr(messages.find("converted: ") + 11));
    };
    auto converted = [&] {
        std::string messages = ReadText("messages.txt");
        std::size_t at = messages.rfind("converted: ");
        return at == std::string::npos ? -1 : std::stoi(messages.substr(at + 11));
    };

    // A full disk: the whole records that fit stay, as many as were counted; again the same.
    std::string limited = "bash -c \"trap '' XFSZ; ulimit -f 64; exec " + tool + " pgn2game " + carlsen + " full.game\"";
    EXPECT_EQ(shell(limited), 1);
    EXPECT_TRUE(said("ERROR: WRITE ERROR (File too large) file: full.game")) << ReadText("messages.txt");
    int fitted = converted();
    EXPECT_GT(fitted, 100);
    std::string full = ReadText("full.game");
    EXPECT_EQ(stored("full.game"), fitted);
    EXPECT_EQ(shell(limited), 1);
    EXPECT_TRUE(ReadText("full.game") == full);
    EXPECT_EQ(shell(tool + " game2pgn full.game /dev/full"), 1);
    EXPECT_TRUE(said("ERROR: WRITE ERROR (No space left on device)"));
    EXPECT_EQ(shell("{ " + tool + " game2pos full.game - > /dev/full; }"), 1);

    // Read errors: never taken for the end of a file, nothing truncated after one, and what was
    // converted before one is kept.
    std::string failing = "LD_PRELOAD=" READ_ERROR_SHIM " ASAN_OPTIONS=verify_asan_link_order=0 FAIL_READ_AFTER=";
    EXPECT_EQ(shell(failing + "5000 FAIL_READ_PATH=full.game " + tool + " pgn2game " + Data("twic-sample-232games.pgn") + " full.game"), 1);
    EXPECT_TRUE(said("ERROR: READ ERROR (Input/output error) file: full.game")) << ReadText("messages.txt");
    EXPECT_TRUE(ReadText("full.game") == full);
    EXPECT_EQ(shell(failing + "5000 FAIL_READ_PATH=full.game " + tool + " game2pgn full.game out.pgn"), 1);
    EXPECT_TRUE(said("ERROR: READ ERROR (Input/output error)"));
    EXPECT_EQ(shell(failing + "200000 FAIL_READ_PATH=carlsen-pgnmentor.pgn " + tool + " pgn2game " + carlsen + " part.game"), 1);
    EXPECT_TRUE(said("ERROR: READ ERROR (Input/output error) file: " + carlsen)) << ReadText("messages.txt");
    EXPECT_GT(converted(), 100);
    EXPECT_EQ(stored("part.game"), converted());
    EXPECT_EQ(shell(failing + "200000 FAIL_READ_PATH=- " + tool + " pgn2game - piped.game < " + carlsen), 1);
    EXPECT_TRUE(said("ERROR: READ ERROR (Input/output error) file: -")) << ReadText("messages.txt");
    WriteText("list.txt", carlsen + "\n\n  \n" + Data("twic-sample-232games.pgn") + "\n");
    EXPECT_EQ(shell(failing + "200000 FAIL_READ_PATH=carlsen-pgnmentor.pgn " + tool + " pgnlist2game list.txt listed.game"), 1);
    EXPECT_TRUE(said("CONVERTED GAMES: " + std::to_string(converted())));
    EXPECT_EQ(shell(tool + " pgnlist2game list.txt blank-lines.game"), 0) << "blank lines name nothing";
    EXPECT_EQ(shell(tool + " game2pgn . out.pgn"), 1);
    EXPECT_EQ(shell(tool + " pgn2game . out.game"), 1);

    // One wrong move count in the last record but one: refused, not repaired, file untouched.
    std::string games = full.substr(0, 10 * 1024);
    std::size_t at = 0, last = 0, lastButOne = 0;
    while (at + 2 <= games.size()) {
        std::size_t bytes = 2 * ((static_cast<unsigned char>(games[at]) | (static_cast<unsigned char>(games[at + 1]) & 0x3F) << 8) + 1);
        if (at + bytes > games.size()) break;
        lastButOne = last;
        last = at;
        at += bytes;
    }
    games.resize(at);
    games[lastButOne] = static_cast<char>(games[lastButOne] + 3);
    WriteText("damaged.game", games);
    EXPECT_EQ(shell(tool + " pgn2game " + Data("molinari-bordais-1979.pgn") + " damaged.game"), 1);
    EXPECT_TRUE(said("ERROR: ") && said(" file: damaged.game")) << ReadText("messages.txt");
    EXPECT_TRUE(ReadText("damaged.game") == games);
    EXPECT_EQ(shell(tool + " game2pgn damaged.game out.pgn"), 1);
    EXPECT_TRUE(said("ERROR: ")) << ReadText("messages.txt");

    // A second writer is refused at once while the first holds the file; readers go on.
    int held = open(Path("full.game").c_str(), O_RDWR);
    ASSERT_GE(held, 0);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    EXPECT_EQ(shell(tool + " pgn2game " + Data("molinari-bordais-1979.pgn") + " full.game"), 1);
    EXPECT_TRUE(said("ERROR: BEING WRITTEN BY ANOTHER RUN file: full.game"));
    EXPECT_EQ(stored("full.game"), fitted);
    close(held);
    EXPECT_EQ(shell(tool + " pgn2game " + Data("molinari-bordais-1979.pgn") + " full.game"), 0);

    // Names that cannot be the output: the input itself, standard output, a device.
    EXPECT_EQ(shell(tool + " game2pgn full.game full.game"), 1);
    EXPECT_TRUE(said("ERROR: INPUT AND OUTPUT ARE THE SAME FILE"));
    EXPECT_EQ(stored("full.game"), fitted + 1);
    EXPECT_EQ(shell(tool + " pgn2game " + carlsen + " -"), 1);
    EXPECT_EQ(shell("bash -o pipefail -c 'timeout 10 " + tool + " pgn2game " + carlsen + " /dev/stdout | cat'"), 1);
    EXPECT_TRUE(said("ERROR: NOT A FILE THAT CAN HOLD GAMES file: /dev/stdout"));
    EXPECT_FALSE(std::filesystem::exists(Path("-")));
}

} // namespace velkor::test
