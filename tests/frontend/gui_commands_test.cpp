// The commands interfaces send beyond the original set, through the real binary: take-backs
// ("undo", "remove"), move now ("?"), analysis mode ("analyze" ... "exit") and fixed depth and
// time ("sd", "st"), in the sequences xboard sends them.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/engine_turns.h"
#include "support/test_position.h"

namespace velkor::test {

namespace {

class GuiCommandsTest : public PositionTest {};

constexpr const char* XboardStartup = "xboard\nprotover 2\naccepted done\naccepted setboard\naccepted done\n";

// The key lines the engine logs after every game move and take-back, in order.
std::vector<std::string> KeyLines(const std::string& log) {
    std::vector<std::string> keys;
    for (const std::string& line : LinesAfter(log, "")) {
        std::size_t blank = line.find(' ');
        if (blank != std::string::npos && blank > 0 && line.find_first_not_of("0123456789abcdef ") == std::string::npos)
            keys.push_back(line);
    }
    return keys;
}

} // namespace

TEST_F(GuiCommandsTest, EditGameTakeBackThenMachineBlackAnswersOnTheGuisBoard) {
    EngineProcess engine;
    engine.Send(std::string(XboardStartup) + "new\nrandom\nlevel 40 1 0\npost\nhard\ntime 6000\notim 6000\ne2e4\n");
    ASSERT_TRUE(WaitForMoves(engine, 1, 10000));
    std::string first = MoveReply(engine.Output());
    // Edit Game, Backward (the engine's reply goes), Machine Black.
    engine.Send("force\nundo\nwhite\ntime 6000\notim 6000\nblack\ngo\n");
    ASSERT_TRUE(WaitForMoves(engine, 2, 10000)) << engine.Output();
    std::string second = MoveReply(engine.Output(), 1);
    EXPECT_TRUE(IsLegalAfter({"e2e4"}, second)) << first << " then " << second;
    engine.Send("quit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
}

TEST_F(GuiCommandsTest, UndoToTheStartAndForwardAgainGivesTheSameKeys) {
    EngineProcess engine;
    engine.Send("xboard\nnew\nforce\ne2e4\nd7d5\ne4d5\ng8f6\nundo\nundo\nundo\nundo\nundo\n"
                "e2e4\nd7d5\ne4d5\ng8f6\nquit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
    std::vector<std::string> keys = KeyLines(engine.Log());
    ASSERT_EQ(keys.size(), 12u) << "four moves, four take-backs (the fifth has nothing to take), four moves";
    // The take-backs log the keys of the positions before each move, the last one the start.
    EXPECT_EQ(keys[4], keys[2]);
    EXPECT_EQ(keys[5], keys[1]);
    EXPECT_EQ(keys[6], keys[0]);
    EXPECT_EQ(std::vector<std::string>(keys.begin() + 8, keys.end()), std::vector<std::string>(keys.begin(), keys.begin() + 4));
    EXPECT_EQ(engine.Output().find("Illegal move"), std::string::npos);
}

TEST_F(GuiCommandsTest, RemoveTakesBackBothMovesAndWaitsForTheUser) {
    EngineProcess engine;
    engine.Send("xboard\nnew\neasy\nlevel 40 1 0\ntime 6000\notim 6000\ne2e4\n");
    ASSERT_TRUE(WaitForMoves(engine, 1, 10000));
    engine.Send("remove\ntime 6000\notim 6000\nd2d4\n");
    ASSERT_TRUE(WaitForMoves(engine, 2, 10000)) << engine.Output();
    EXPECT_TRUE(IsLegalAfter({"d2d4"}, MoveReply(engine.Output(), 1))) << engine.Output();
    engine.Send("quit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
}

// What xboard sends whenever the user toggles a menu item or a clock ticks; while the engine
// thinks these wait their turn, and the words after them are still seen.
constexpr const char* MenuWords = "post\nnopost\neasy\nhard\notim 29000\n";

TEST_F(GuiCommandsTest, MoveNowAnswersAtOnceAndForceOrQuitEndTheTurnWithoutAMove) {
    // A budget of 7.47 s; "?" after a moment brings the move.
    EngineProcess engine;
    engine.Send("xboard\nnew\neasy\nlevel 40 5 0\ntime 30000\notim 30000\ne2e4\n");
    // Timed from the handshake: a sanitizer build takes a while to start.
    ASSERT_TRUE(engine.WaitForOutput("feature done=1\n"));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    auto asked = Clock::now();
    engine.Send(std::string(MenuWords) + "?\n");
    ASSERT_TRUE(WaitForMoves(engine, 1, 10000)) << engine.Output();
    EXPECT_LT(MsSince(asked), Scaled(1500));
    EXPECT_TRUE(IsLegalAfter({"e2e4"}, MoveReply(engine.Output())));

    // "force" while thinking: no move, and the next "go" plays.
    engine.Send("easy\ntime 30000\notim 30000\nd2d4\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    engine.Send(std::string(MenuWords) + "force\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(MoveReply(engine.Output(), 1), "") << "force ends the turn without a move";
    engine.Send("st 0.5\ngo\n");
    ASSERT_TRUE(WaitForMoves(engine, 2, 10000)) << engine.Output();
    EXPECT_TRUE(IsLegalAfter({"e2e4", MoveReply(engine.Output()), "d2d4"}, MoveReply(engine.Output(), 1)));

    // "quit" while thinking ends the engine at once.
    engine.Send("level 40 5 0\ntime 30000\notim 30000\nforce\nundo\ngo\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    auto quit = Clock::now();
    engine.Send(std::string(MenuWords) + "quit\n");
    EXPECT_EQ(engine.WaitForExit(3000), 0);
    EXPECT_LT(MsSince(quit), Scaled(1500));

    // The end of the input during the endless analysis of "test" ends the engine too.
    EngineProcess test;
    test.Send(std::string("xboard\ntest\ngo\n") + MenuWords);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    test.CloseInput();
    EXPECT_EQ(test.WaitForExit(3000), 0);
}

TEST_F(GuiCommandsTest, AGameThatEndsWhileTheEngineThinksGetsNoMoveAndTheNextGameStartsClean) {
    // xboard's resignation while the engine thinks: the result, force and the next game at once.
    EngineProcess engine;
    engine.Send("xboard\nnew\nlevel 40 5 0\nhard\ntime 30000\notim 30000\ne2e4\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    engine.Send("post\notim 29000\nresult 1-0 {White resigns}\nforce\nnew\nrandom\nlevel 40 5 0\npost\nhard\n"
                "time 30000\notim 30000\nd2d4\n?\n");
    ASSERT_TRUE(WaitForMoves(engine, 1, 10000)) << engine.Output();
    EXPECT_TRUE(IsLegalAfter({"d2d4"}, MoveReply(engine.Output()))) << engine.Output();
    // "new" alone ends the turn the same way.
    engine.Send("time 30000\notim 30000\nc2c4\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    engine.Send("new\ntime 30000\notim 30000\ng1f3\n?\n");
    ASSERT_TRUE(WaitForMoves(engine, 2, 10000)) << engine.Output();
    EXPECT_TRUE(IsLegalAfter({"g1f3"}, MoveReply(engine.Output(), 1))) << engine.Output();
    engine.Send("quit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
}

TEST_F(GuiCommandsTest, OtherCommandsWhileThinkingWaitForTheMove) {
    EngineProcess engine;
    engine.Send("xboard\nnew\neasy\nlevel 40 0 0\ntime 1000\notim 1000\ne2e4\nbenchmark\n?\n");
    ASSERT_TRUE(engine.WaitForOutput("Define __STAT\n", 10000));
    std::string output = engine.Output();
    EXPECT_LT(output.find("move "), output.find("Define __STAT\n")) << "benchmark comes after the move";
    engine.Send("quit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
}

TEST_F(GuiCommandsTest, AnalysisFollowsTheBoardAndNeverMoves) {
    EngineProcess engine;
    engine.Send(std::string(XboardStartup) + "new\nforce\nanalyze\n");
    ASSERT_TRUE(engine.WaitForOutput("    7 ", 10000)) << engine.Output();
    engine.Send(".\ne2e4\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    engine.Send("e2e5\nundo\nd2d4\n");
    ASSERT_TRUE(engine.WaitForOutput("Illegal move: e2e5\n", 10000)) << "Black is to move after e2e4";
    engine.WaitForOutput("\x01", 700); // the analysis of the position after d2d4 goes on
    std::size_t before = engine.Output().size();
    engine.Send("exit\n");
    engine.WaitForOutput("\x01", 200);
    std::string output = engine.Output();
    EXPECT_EQ(output.find("move "), std::string::npos) << output;
    // The lines after d2d4 are Black's: their expected line starts with a black move.
    std::vector<std::string> lines = LinesAfter(output.substr(0, before), "    ");
    ASSERT_FALSE(lines.empty());
    std::istringstream last(lines.back());
    std::string depth, score, time, nodes, firstMove;
    last >> depth >> score >> time >> nodes >> firstMove;
    EXPECT_TRUE(IsLegalAfter({"d2d4"}, firstMove)) << lines.back();

    // After "exit" the engine plays again, from the analysed position.
    engine.Send("st 0.3\ngo\n");
    ASSERT_TRUE(WaitForMoves(engine, 1, 10000)) << engine.Output();
    EXPECT_TRUE(IsLegalAfter({"d2d4"}, MoveReply(engine.Output())));
    engine.Send("quit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
}

TEST_F(GuiCommandsTest, AnalysisOfMatedAndDrawnPositionsShowsLinesButNoResult) {
    EngineProcess engine;
    engine.Send("xboard\nsetboard 3R2k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1\nanalyze\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(Scaled(300)));
    engine.Send("exit\nbenchmark\nsetboard 8/8/4k3/8/8/4K3/8/8 w - - 0 1\nanalyze\n");
    // The bare kings' line, before the analysis ends: a slow build may take a while to print it.
    ASSERT_TRUE(engine.WaitForOutput("Define __STAT\n"));
    engine.WaitForOutput("\n    ", 5000, engine.Output().find("Define __STAT\n"));
    engine.Send("exit\nquit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
    std::string output = engine.Output();
    EXPECT_EQ(output.find("{"), std::string::npos) << output;
    EXPECT_EQ(output.find("move "), std::string::npos) << output;
    // Bare kings: a draw on the board, still analysed with a line of score 0.
    std::vector<std::string> drawn = LinesAfter(output.substr(output.find("Define __STAT")), "    ");
    ASSERT_EQ(drawn.size(), 1u) << output;
    std::istringstream fields(drawn[0]);
    std::string depth, score;
    fields >> depth >> score;
    EXPECT_EQ(score, "0") << drawn[0];
}

TEST_F(GuiCommandsTest, FixedDepthAndFixedTimePerMove) {
    // "sd 4" ends the search after its fourth iteration, whatever the clock allows; its closing
    // line names that depth, once.
    EngineProcess depth;
    long long ms = MsToAnswerE4(depth, "post\nsd 4\nlevel 40 5 0\ntime 30000\notim 30000\n", 5000);
    ASSERT_GE(ms, 0);
    EXPECT_LT(ms, Scaled(2000));
    std::vector<std::string> first = LinesAfter(depth.Output(), "    ");
    ASSERT_EQ(first.size(), 1u) << depth.Output();
    EXPECT_EQ(first[0].rfind("4 ", 0), 0u) << first[0];
    // "new" lifts the limit (PyChess sets it for its weaker levels only); "sd" above the
    // deepest search is the deepest search.
    depth.Send("easy\nsd 3\nnew\nst 0.5\ne2e4\n");
    ASSERT_TRUE(WaitForMoves(depth, 2, 5000)) << depth.Output();
    depth.Send("sd 3\nsd 200\nremove\nd2d4\n");
    ASSERT_TRUE(WaitForMoves(depth, 3, 5000)) << depth.Output();
    int seventh = 0;
    for (const std::string& line : LinesAfter(depth.Output(), "    ")) seventh += line.rfind("7 ", 0) == 0;
    EXPECT_EQ(seventh, 2) << depth.Output();
    // "remove" in force mode stays in force mode: the move after it gets no reply.
    depth.Send("force\nremove\ne2e4\ne2e5\n");
    ASSERT_TRUE(depth.WaitForOutput("Illegal move: e2e5\n", 5000)) << depth.Output();
    depth.Send("quit\n");
    EXPECT_EQ(depth.WaitForExit(), 0);
    EXPECT_EQ(MoveReply(depth.Output(), 3), "") << depth.Output();

    // A mate's line is printed once.
    EngineProcess mate;
    mate.Send("xboard\npost\nsetboard 6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1\nst 1\ngo\n");
    ASSERT_TRUE(WaitForMoves(mate, 1, 5000)) << mate.Output();
    EXPECT_EQ(LinesAfter(mate.Output(), "    ").size(), 1u) << mate.Output();
    mate.Send("quit\n");
    EXPECT_EQ(mate.WaitForExit(), 0);

    // "st 1": one second per move, however much the clock holds; the thinking lines tell the
    // time spent in centiseconds.
    EngineProcess second;
    ms = MsToAnswerE4(second, "post\nst 1\ntime 30000\notim 30000\n", 5000);
    ASSERT_GE(ms, 0);
    EXPECT_GE(ms, 700);
    EXPECT_LT(ms, Scaled(1800));
    std::vector<std::string> lines = LinesAfter(second.Output(), "    ");
    ASSERT_FALSE(lines.empty());
    std::istringstream closing(lines.back());
    int lineDepth = 0, score = 0, centiseconds = 0;
    closing >> lineDepth >> score >> centiseconds;
    EXPECT_GE(centiseconds, 70) << lines.back();
    EXPECT_LE(centiseconds, ms / 10 + 1) << lines.back();
    second.Send("quit\n");
    EXPECT_EQ(second.WaitForExit(), 0);
}

} // namespace velkor::test
