// The real engine binary over pipes: handshake bytes, command matching, exits and bad input.
#include <gtest/gtest.h>

#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "support/engine_process.h"

namespace velkor::test {

namespace {

constexpr const char* HandshakeReply = "\nfeature done=0\nfeature setboard=1\nfeature done=1\n";

int CountOf(const std::string& text, const std::string& what) {
    int count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

// The search thread's last line; after quit it is STARTED without a clock value.
std::string LastThreadLine(const std::string& log) {
    std::size_t at = log.rfind("\n--------------");
    if (at == std::string::npos) return "";
    return log.substr(at + 1, log.find('\n', at + 1) - at - 1);
}

} // namespace

TEST(Protocol, HandshakeRepliesExactlyAndIgnoresTheVersionAnnouncement) {
    EngineProcess engine;
    engine.Send("xboard\nprotover 2\nquit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
    EXPECT_EQ(engine.Output(), HandshakeReply);
    std::string log = engine.Log();
    EXPECT_EQ(log.find("::cmd:: xboard"), std::string::npos) << "the first token is not logged";
    EXPECT_NE(log.find("::cmd:: protover\n::cmd:: 2\n"), std::string::npos);
    EXPECT_NE(log.find("-------------- STOPPED"), std::string::npos);
    EXPECT_EQ(LastThreadLine(log), "-------------- STARTED");
}

TEST(Protocol, OtherFirstTokenIsReportedAndTheEngineCarriesOn) {
    EngineProcess engine;
    engine.Send("hello\nbenchmark\nquit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
    EXPECT_EQ(engine.Output(), "Engine works only with xboard protocol ver. 2\n"
                               "\nfeature done=0\nfeature setboard=1\nfeature done=1\n"
                               "Define __STAT\n");
}

TEST(Protocol, EndOfInputQuitsWithExitCodeZero) {
    EngineProcess engine;
    engine.Send("xboard\nnew\n");
    engine.CloseInput();
    EXPECT_EQ(engine.WaitForExit(), 0);
    EXPECT_EQ(LastThreadLine(engine.Log()), "-------------- STARTED");
}

TEST(Protocol, EndOfInputRightAfterStartQuitsToo) {
    EngineProcess engine;
    engine.CloseInput();
    EXPECT_EQ(engine.WaitForExit(), 0);
}

TEST(Protocol, QuitMatchesByPrefixAndEasyOnlyExactly) {
    EngineProcess engine;
    engine.Send("xboard\neasyx\nbenchmarks\nbenchmark\nquitting\nbenchmark\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
    // "benchmarks" is not "benchmark" (exact match); the quit prefix ends before the last line.
    EXPECT_EQ(CountOf(engine.Output(), "Define __STAT\n"), 1);
}

TEST(Protocol, SigintIsIgnored) {
    EngineProcess engine;
    engine.Send("xboard\n");
    ASSERT_TRUE(engine.WaitForOutput("feature done=1\n"));
    engine.Signal(SIGINT);
    engine.Send("benchmark\n");
    ASSERT_TRUE(engine.WaitForOutput("Define __STAT\n"));
    engine.Send("quit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
}

TEST(Protocol, CtrlCEndsTheEngineAtATerminal) {
    // xboard's SIGINT after every move is ignored only when the input is not a terminal.
    int terminal;
    pid_t pid = forkpty(&terminal, nullptr, nullptr, nullptr);
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        char directory[] = "/tmp/velkor-tty-XXXXXX";
        if (!mkdtemp(directory) || chdir(directory) != 0) _exit(126);
        execl(VELKOR_BINARY, VELKOR_BINARY, static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_EQ(write(terminal, "xboard\n", 7), 7);
    std::string seen;
    char buffer[256];
    for (ssize_t count; seen.find("feature done=1") == std::string::npos &&
                        (count = read(terminal, buffer, sizeof(buffer))) > 0;)
        seen.append(buffer, static_cast<std::size_t>(count));
    kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << status;
    close(terminal);
}

TEST(Protocol, SetboardRejectionIsOnlyLogged) {
    // xboard answers every feature line with "accepted NAME": "accepted setboard" runs a set-up
    // without text. GUIs show every tellusererror as a dialog, so a rejection is only logged.
    EngineProcess engine;
    engine.Send("xboard\nprotover 2\naccepted done\naccepted setboard\naccepted done\n"
                "setboard 8/8/8/8/8/8/8/9 w - -\nsetboard x\nsetboard 8/8/8/8/8/8/8/8 w - - 0 1\nquit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
    EXPECT_EQ(engine.Output(), HandshakeReply);
    std::string log = engine.Log();
    EXPECT_NE(log.find("setboard  8/8/8/8/8/8/8/9 w - -\n\n-M: tellusererror Illegal position\n"),
              std::string::npos);
    EXPECT_EQ(CountOf(log, "-M: tellusererror Illegal position\n"), 4);
}

TEST(Protocol, AcceptedSetboardAndTestPrintNothing) {
    // The book plays only from the start position; elsewhere its absence is only logged. The
    // start position set up at start-up says nothing either: no game has started yet.
    EngineProcess engine;
    engine.Send("xboard\nsetboard 4k3/8/8/8/8/8/8/4K3 w - - 0 1\ntest\nquit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
    EXPECT_EQ(engine.Output(), HandshakeReply);
    EXPECT_EQ(CountOf(engine.Log(), "-\ttellusererror BOOK ERROR!\n\n"), 3);
}

TEST(Protocol, AMissingBookIsToldOnceAndADamagedOneAtEveryGame) {
    // Every game starts from the start position; the start placement without castling rights is
    // not the start position, and no book plays there.
    const std::string games = "xboard\nnew\nsetboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\n"
                              "setboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 1\nnew\nquit\n";
    EngineProcess missing;
    missing.Send(games);
    EXPECT_EQ(missing.WaitForExit(), 0);
    EXPECT_EQ(missing.Output(), std::string(HandshakeReply) + "tellusererror BOOK ERROR!\n");
    EngineProcess damaged;
    damaged.WriteFile("Velkor.book", "3\n\x7f");
    damaged.Send(games);
    EXPECT_EQ(damaged.WaitForExit(), 0);
    EXPECT_EQ(CountOf(damaged.Output(), "tellusererror BOOK ERROR!\n"), 3) << damaged.Output();
}

TEST(Protocol, ResultTakesItsCommentWithIt) {
    // "time}" in the comment must not act as "time" and swallow the "quit" after it.
    EngineProcess engine;
    engine.Send("xboard\nnew\nresult 1-0 {White wins on time}\nquit\n");
    EXPECT_EQ(engine.WaitForExit(3000), 0);
    EXPECT_NE(engine.Log().find("::cmd:: result\n"), std::string::npos);
    EXPECT_EQ(engine.Log().find("::cmd:: time}"), std::string::npos);
}

// The typed file tools read their names from their own line, and leave the game as it was.
TEST(Protocol, TypedFileToolsKeepToTheirLineAndTheGame) {
    EngineProcess engine;
    engine.WriteFile("in.pgn", "[Result \"1-0\"]\n\n1. e4 e5 2. Nf3 1-0\n");
    engine.Send("xboard\nnew\nforce\ne2e4\npgn2game in.pgn\npgn2game " + std::string(300, 'n') +
                " out.game\npgn2game in.pgn out.game\ne7e5\nquit\n");
    EXPECT_EQ(engine.WaitForExit(), 0) << "quit is not taken for a file name";
    EXPECT_EQ(engine.Output(), std::string(HandshakeReply) + "tellusererror BOOK ERROR!\n"
                                   "ERROR: AN INPUT AND AN OUTPUT FILE NAME ARE NEEDED\nERROR: FILE NAMES TOO LONG\n"
                                   "converted: 1 games. (skipped: 0)\nfile: in.pgn \t\tfinished\n")
        << "e7e5 is a legal move of the game after e2e4";
}

TEST(Protocol, OverlongTokensAndBinaryBytesAreHarmless) {
    EngineProcess engine;
    std::string junk(5000, 'x');
    std::string binary("\x01\xff\x00\x7f", 4);
    engine.Send("xboard\n" + junk + "\n" + binary + "\nsetboard " + std::string(3000, 'k') +
                "\nbenchmark\nquit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
    std::string output = engine.Output();
    EXPECT_EQ(output, std::string(HandshakeReply) + "Define __STAT\n");
    EXPECT_EQ(engine.Log().find(junk.substr(0, 300)), std::string::npos);
}

TEST(Protocol, CommandsThatMerelyBeginWithAWordAct) {
    EngineProcess engine;
    // "timeout" swallows the next three items; "newgame" acts as new; the move is then Black's.
    engine.Send("xboard\ntimeout 1 2 benchmark\nnewgame\nresultx\nquit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
    EXPECT_EQ(CountOf(engine.Output(), "Define __STAT"), 0);
    std::string log = engine.Log();
    EXPECT_NE(log.find("::cmd:: newgame\n-M: entered StopEngine\n-M: exited StopEngine\n"),
              std::string::npos);
}

TEST(Protocol, NewAndGoLogInOrder) {
    EngineProcess engine;
    engine.Send("xboard\nnew\ngo\n");
    ASSERT_TRUE(engine.WaitForOutput("move ", 10000));
    engine.Send("quit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
    std::string log = engine.Log();
    // The main thread's lines in order; the search thread's lines interleave from the start on.
    std::size_t at = 0;
    for (const char* line : {"::cmd:: new\n", "-M: entered StopEngine\n", "-M: exited StopEngine\n",
                             "-\ttellusererror BOOK ERROR!\n\n", "::cmd:: go\n", "-M: entered StopEngine\n",
                             "-M: exited StopEngine\n", "-M: entered StartEngine\n", "-------------- STARTED",
                             "-M: exited StartEngine\n", "M-WAIT ", "-M: entered StopEngineConditional\n", "-----WAIT INF C:\n",
                             "-M: exited StopEngineConditional\n", "move ", "\tscore: ", "-ponder move: "}) {
        std::size_t found = log.find(line, at);
        ASSERT_NE(found, std::string::npos) << "missing after offset " << at << ": " << line << "\n" << log;
        at = found + 1;
    }
    EXPECT_NE(log.find("-FEN:\trnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -\n"), std::string::npos);
}

TEST(Protocol, IllegalMovesAreRefusedAndChangeNothing) {
    EngineProcess engine;
    engine.Send("xboard\nnew\ne2e5\nforce\ne3e4\ne2e4\ne7e8\ne7e5\n"
                "setboard 7k/4P3/8/8/8/8/8/4K3 w - -\ne7e8\ne7e8q\nquit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
    EXPECT_EQ(engine.Output(), std::string(HandshakeReply) +
                                   "tellusererror BOOK ERROR!\nIllegal move: e2e5\nIllegal move: e3e4\n"
                                   "Illegal move: e7e8\nIllegal move: e7e8\n");
    // One key line per accepted move (e2e4, e7e5, e7e8q): two hexadecimal halves.
    std::string log = engine.Log();
    int keyLines = 0;
    std::size_t start = 0;
    for (std::size_t end; (end = log.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = log.substr(start, end - start);
        std::size_t blank = line.find(' ');
        if (blank != std::string::npos && blank > 0 && line.find_first_not_of("0123456789abcdef ") == std::string::npos)
            ++keyLines;
    }
    EXPECT_EQ(keyLines, 3);
}

TEST(Protocol, TheColourRoundTripKeepsTheEnPassantSquare) {
    const char* fen = "setboard rnbqkbnr/ppp1pppp/8/8/3pP3/8/PPPP1PPP/RNBQKBNR b KQkq e3\n";
    EngineProcess kept;
    kept.Send(std::string("xboard\n") + fen + "black\nd4e3\nquit\n");
    EXPECT_EQ(kept.WaitForExit(), 0);
    EXPECT_EQ(kept.Output(), HandshakeReply) << "d4e3 is the en-passant capture";

    // The square counts only for the side that can capture on it, and comes back with it.
    EngineProcess roundTrip;
    roundTrip.Send(std::string("xboard\n") + fen + "white\nblack\nd4e3\nquit\n");
    EXPECT_EQ(roundTrip.WaitForExit(), 0);
    EXPECT_EQ(roundTrip.Output(), HandshakeReply);

    // A game move in between makes it stale for good.
    EngineProcess stale;
    stale.Send(std::string("xboard\n") + fen + "white\ng1f3\nblack\nd4e3\nquit\n");
    EXPECT_EQ(stale.WaitForExit(), 0);
    EXPECT_EQ(stale.Output(), std::string(HandshakeReply) + "Illegal move: d4e3\n");
}

TEST(Protocol, RejectedSetboardKeepsThePreviousPosition) {
    EngineProcess engine;
    engine.Send("xboard\nnew\nforce\nsetboard 8/8/8/8/8/8/8/8 w - -\ne2e4\nquit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
    EXPECT_EQ(engine.Output(), std::string(HandshakeReply) + "tellusererror BOOK ERROR!\n");
}

TEST(Protocol, NothingIsPlayedWhereTheSideNotToMoveIsInCheck) {
    // "white" gives White the move while Black stands in check: no move, no search, no result.
    EngineProcess rook;
    rook.Send("xboard\nsetboard 4k3/8/8/8/8/8/4R3/4K3 b - -\nwhite\ngo\ne2e8\ne1d1\n"
              "black\ngo\n");
    ASSERT_TRUE(rook.WaitForOutput("move ", 10000)) << rook.Output();
    rook.Send("quit\n");
    EXPECT_EQ(rook.WaitForExit(), 0);
    std::string refused = std::string(HandshakeReply) + "tellusererror Illegal position\nIllegal move: e2e8\nIllegal move: e1d1\n";
    EXPECT_EQ(rook.Output().substr(0, refused.size()), refused);

    // A game that reached a check, then the wrong side to move.
    EngineProcess game;
    game.Send("xboard\nnew\nforce\ne2e4\nf7f6\nd2d4\ng7g5\nd1h5\nwhite\ngo\nquit\n");
    EXPECT_EQ(game.WaitForExit(), 0);
    EXPECT_EQ(game.Output(), std::string(HandshakeReply) + "tellusererror BOOK ERROR!\ntellusererror Illegal position\n");

    // An incoming move there would capture the king inside the legality test itself.
    EngineProcess knight;
    knight.Send("xboard\nsetboard r1b1rk2/pp4pp/1q6/1B1Q4/1P3N1P/3n4/1P3PP1/R1B1K2R w KQ - 0 1\nblack\n"
                "h2d3\nd3e1\nwhite\ne1f1\nquit\n");
    EXPECT_EQ(knight.WaitForExit(), 0);
    EXPECT_EQ(knight.Output(), std::string(HandshakeReply) + "Illegal move: h2d3\nIllegal move: d3e1\n");
}

} // namespace velkor::test
