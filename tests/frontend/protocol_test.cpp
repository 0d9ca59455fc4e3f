// The real engine binary over pipes: handshake bytes, command matching, exits and bad input.
#include <gtest/gtest.h>

#include <signal.h>

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

TEST(Protocol, SetboardRejectionIsToldToTheInterface) {
    EngineProcess engine;
    engine.Send("xboard\nsetboard 8/8/8/8/8/8/8/9 w - -\nsetboard x\nquit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
    EXPECT_EQ(CountOf(engine.Output(), "tellusererror Illegal position\n"), 2);
    std::string log = engine.Log();
    EXPECT_NE(log.find("setboard  8/8/8/8/8/8/8/9 w - -\n\n-M: tellusererror Illegal position\n"),
              std::string::npos);
}

TEST(Protocol, AcceptedSetboardOnlyReportsTheBook) {
    // The book plays only from the start position: any other set-up reports it.
    EngineProcess engine;
    engine.Send("xboard\nsetboard 4k3/8/8/8/8/8/8/4K3 w - - 0 1\nquit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
    EXPECT_EQ(engine.Output(), std::string(HandshakeReply) + "tellusererror BOOK ERROR!\n");
}

TEST(Protocol, OverlongTokensAndBinaryBytesAreHarmless) {
    EngineProcess engine;
    std::string junk(5000, 'x');
    std::string binary("\x01\xff\x00\x7f", 4);
    engine.Send("xboard\n" + junk + "\n" + binary + "\nsetboard " + std::string(3000, 'k') +
                "\nbenchmark\nquit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
    std::string output = engine.Output();
    EXPECT_NE(output.find("tellusererror Illegal position\n"), std::string::npos);
    EXPECT_NE(output.find("Define __STAT\n"), std::string::npos);
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
    ASSERT_TRUE(engine.WaitForOutput("move ", 5000));
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
                                   "Illegal move: e7e8\ntellusererror BOOK ERROR!\nIllegal move: e7e8\n");
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

TEST(Protocol, ChangingTheSideToMoveDropsTheEnPassantSquare) {
    const char* fen = "setboard rnbqkbnr/ppp1pppp/8/8/3pP3/8/PPPP1PPP/RNBQKBNR b KQkq e3\n";
    EngineProcess kept;
    kept.Send(std::string("xboard\n") + fen + "black\nd4e3\nquit\n");
    EXPECT_EQ(kept.WaitForExit(), 0);
    EXPECT_EQ(kept.Output(), std::string(HandshakeReply) + "tellusererror BOOK ERROR!\n")
        << "d4e3 is the en-passant capture";

    EngineProcess dropped;
    dropped.Send(std::string("xboard\n") + fen + "white\nblack\nd4e3\nquit\n");
    EXPECT_EQ(dropped.WaitForExit(), 0);
    EXPECT_EQ(dropped.Output(), std::string(HandshakeReply) + "tellusererror BOOK ERROR!\nIllegal move: d4e3\n");
}

TEST(Protocol, RejectedSetboardKeepsThePreviousPosition) {
    EngineProcess engine;
    engine.Send("xboard\nnew\nforce\nsetboard 8/8/8/8/8/8/8/8 w - -\ne2e4\nquit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
    EXPECT_EQ(engine.Output(),
              std::string(HandshakeReply) + "tellusererror BOOK ERROR!\ntellusererror Illegal position\n");
}

} // namespace velkor::test
