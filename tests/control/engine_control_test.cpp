// Whole engine turns through the real binary: replies, pondering, clocks and game results.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "movegen/legal.h"
#include "notation/coordinate.h"
#include "position/make_move.h"
#include "support/engine_process.h"
#include "support/engine_turns.h"
#include "support/test_position.h"

namespace velkor::test {

namespace {

class EngineControlTest : public PositionTest {};

} // namespace

TEST_F(EngineControlTest, AnswersAMoveLegallyWithinTheBudget) {
    EngineProcess engine;
    long long ms = MsToAnswerE4(engine, "level 40 5 0\ntime 1000\notim 1000\n", 3000);
    ASSERT_GE(ms, 0);
    EXPECT_LT(ms, Scaled(1500)) << "budget 220 ms";
    std::string reply = MoveReply(engine.Output());
    EXPECT_TRUE(IsLegalAfter({"e2e4"}, reply)) << reply;
    engine.Send("quit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
    std::string log = engine.Log();
    EXPECT_NE(log.find("M-WAIT "), std::string::npos);
    EXPECT_NE(log.find("-M: entered StopEngineConditional\n-----WAIT INF C:\n"), std::string::npos);
    EXPECT_NE(log.find("move " + reply + "\tscore: "), std::string::npos);
}

TEST_F(EngineControlTest, ForceMovesThenGoMovesForTheSideToMove) {
    EngineProcess engine;
    engine.Send("xboard\nnew\nforce\ne2e4\ne7e5\ng1f3\neasy\ngo\n");
    ASSERT_TRUE(WaitForMoves(engine, 1, 10000));
    EXPECT_TRUE(IsLegalAfter({"e2e4", "e7e5", "g1f3"}, MoveReply(engine.Output())));
    engine.Send("quit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
    EXPECT_NE(engine.Log().find("- NO ponder move"), std::string::npos);
    EXPECT_EQ(engine.Log().find("-ponder move: "), std::string::npos);
}

TEST_F(EngineControlTest, PonderHitUsesTheRestOfTheAllotmentAndAMissSearchesAfresh) {
    EngineProcess engine;
    // 1000 ms per move: (4100 - 100) / 40 centiseconds.
    engine.Send("xboard\nnew\nhard\nlevel 40 0 0\ntime 4100\notim 4100\ne2e4\n");
    ASSERT_TRUE(WaitForMoves(engine, 1, 10000));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::string expected = PonderMoveOf(engine.Log());
    ASSERT_FALSE(expected.empty()) << "pondering is on after hard";
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    auto hit = Clock::now();
    engine.Send("time 4000\notim 4000\n" + expected + "\n");
    ASSERT_TRUE(WaitForMoves(engine, 2, 10000));
    long long hitMs = MsSince(hit);
    EXPECT_LT(hitMs, Scaled(850)) << "about 300 ms were left of the allotment";
    EXPECT_NE(engine.Log().find("-GOOD PONDER"), std::string::npos);

    // Now a move other than the expected one: a fresh search with the whole budget.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::string second = PonderMoveOf(engine.Log());
    ASSERT_FALSE(second.empty());
    std::vector<std::string> line = {"e2e4", MoveReply(engine.Output()), expected, MoveReply(engine.Output(), 1)};
    std::string other;
    for (const char* candidate : {"a2a3", "h2h3", "a2a4", "h2h4", "b2b3", "g2g3"}) {
        if (candidate != second && IsLegalAfter(line, candidate)) {
            other = candidate;
            break;
        }
    }
    ASSERT_FALSE(other.empty());
    auto miss = Clock::now();
    engine.Send("time 3900\notim 3900\n" + other + "\n");
    ASSERT_TRUE(WaitForMoves(engine, 3, 10000));
    EXPECT_GE(MsSince(miss), 950) << "a fresh search takes its whole budget";
    EXPECT_NE(engine.Log().find("-BAD PONDER"), std::string::npos);
    engine.Send("quit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
}

TEST_F(EngineControlTest, APonderHitAfterThePonderSearchEndedStillShowsItsThinking) {
    // 1. Kc7 Ka7 (forced) 2. Ra1#: the ponder search on a8a7 finds the mate and ends by itself.
    EngineProcess engine;
    engine.Send("xboard\nsetboard k7/8/2K5/8/8/8/8/1R6 w - - 0 1\nhard\nlevel 40 5 0\ntime 30000\notim 30000\ngo\n");
    ASSERT_TRUE(engine.WaitForOutput("move c6c7\n", 10000)) << engine.Output();
    for (int i = 0; i < Scaled(100) && engine.Log().find("-ponder move: a8a7") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::this_thread::sleep_for(std::chrono::milliseconds(Scaled(200)));
    std::size_t before = engine.Output().size();
    engine.Send("time 30000\notim 30000\na8a7\n");
    ASSERT_TRUE(engine.WaitForOutput("1-0 {Velkor mates 1}\n", 10000, before)) << engine.Output();
    engine.Send("quit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
    std::string after = engine.Output().substr(before);
    EXPECT_EQ(after.rfind("    2     100001     ", 0), 0u) << after;
    EXPECT_NE(after.find("  b1a1 # \nmove b1a1\n1-0 {Velkor mates 1}\n"), std::string::npos) << after;
}

TEST_F(EngineControlTest, QuitDuringAPonderSearch) {
    EngineProcess engine;
    engine.Send("xboard\nnew\nlevel 40 0 0\ntime 500\notim 500\ne2e4\n");
    ASSERT_TRUE(WaitForMoves(engine, 1, 10000));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    engine.Send("quit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
    std::string log = engine.Log();
    EXPECT_NE(log.find("-ponder move: "), std::string::npos);
    std::size_t last = log.rfind("\n--------------");
    ASSERT_NE(last, std::string::npos);
    EXPECT_EQ(log.substr(last + 1, log.find('\n', last + 1) - last - 1), "-------------- STARTED");
}

TEST_F(EngineControlTest, MatesAndResults) {
    struct Case {
        const char* fen;
        const char* expected;
    };
    for (Case c : {Case{"6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - -", "move d1d8\n1-0 {Velkor mates 1}\n"},
                   Case{"3r2k1/5ppp/8/8/8/8/5PPP/6K1 b - -", "move d8d1\n0-1 {Velkor mates 1}\n"},
                   Case{"3R2k1/5ppp/8/8/8/8/5PPP/6K1 b - -", "1-0 {Velkor mated 0}\n"},
                   Case{"6k1/5ppp/8/8/8/8/5PPP/3r2K1 w - -", "0-1 {Velkor mated 0}\n"},
                   Case{"7k/5Q2/8/8/8/8/8/6K1 b - -", "1/2-1/2 {Draw by stalemate (1)}\n"},
                   Case{"8/8/4k3/8/8/3K4/8/8 w - -", "1/2-1/2 {Draw by insufficient material to mate (4)}\n"}}) {
        EngineProcess engine;
        engine.Send(std::string("xboard\nsetboard ") + c.fen + "\neasy\ngo\n");
        ASSERT_TRUE(engine.WaitForOutput("}\n", 10000)) << c.fen << "\n" << engine.Output();
        engine.Send("quit\n");
        EXPECT_EQ(engine.WaitForExit(), 0);
        // Progress lines of the mate-range iterations may come first.
        std::string output = engine.Output();
        std::string expected = c.expected;
        ASSERT_GE(output.size(), expected.size());
        EXPECT_EQ(output.substr(output.size() - expected.size()), expected) << c.fen << "\n" << output;
        if (expected.rfind("move ", 0) != 0) {
            EXPECT_EQ(MoveReply(output), "") << "no move line";
        }
    }
}

TEST_F(EngineControlTest, ThreefoldRepetitionOnTheBoard) {
    EngineProcess engine;
    engine.Send("xboard\nnew\nforce\ng1f3\ng8f6\nf3g1\nf6g8\ng1f3\ng8f6\nf3g1\nf6g8\ngo\n");
    ASSERT_TRUE(engine.WaitForOutput("1/2-1/2 {Draw by 3 fold repetition (2)}\n", 10000)) << engine.Output();
    engine.Send("quit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
    EXPECT_EQ(MoveReply(engine.Output()), "");
}

TEST_F(EngineControlTest, LowClockAnswersQuickly) {
    EngineProcess engine;
    long long ms = MsToAnswerE4(engine, "level 0 0 2\ntime 150\notim 150\n", 2000);
    ASSERT_GE(ms, 0);
    EXPECT_LT(ms, Scaled(500));
    engine.Send("quit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
}

TEST_F(EngineControlTest, TestThenGoAnalysesWithProgressLines) {
    EngineProcess engine;
    engine.Send("xboard\ntest\ngo\n");
    // "    7     25     3     12345  d1d5 ...": depth, score in whole centipawns (interfaces
    // read nothing else), the time spent in centiseconds, nodes, the line.
    bool seen = false;
    for (int i = 0; i < 50 && !seen; ++i) {
        engine.WaitForOutput("\n    7 ", 200);
        for (const std::string& line : LinesAfter(engine.Output(), "    7     ")) {
            std::istringstream fields(line);
            std::string score;
            int time;
            long nodes;
            std::string move;
            if (fields >> score >> time >> nodes >> move && time >= 0 && time < 500 && nodes > 0 && move.size() >= 4) {
                EXPECT_EQ(score.find_first_not_of("-0123456789"), std::string::npos) << line;
                seen = true;
            }
        }
    }
    EXPECT_TRUE(seen) << engine.Output();
    // The analysis has no time limit, but the end of the input ends it.
    engine.CloseInput();
    EXPECT_EQ(engine.WaitForExit(), 0);
}

// Interfaces show a score of 100000 + N as a mate in N moves and -100000 - N as mated in N.
TEST_F(EngineControlTest, MateScoresInTheThinkingLine) {
    struct Case {
        const char* fen;
        const char* score;
    };
    for (Case mate : {Case{"6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1", "100001"},
                      Case{"r5rk/5p1p/5R2/4B3/8/8/7P/7K w - - 0 1", "100003"},
                      Case{"k7/8/2K5/8/8/8/8/7R b - - 0 1", "-100002"}}) {
        EngineProcess engine;
        engine.Send(std::string("xboard\npost\nsetboard ") + mate.fen + "\nst 2\ngo\n");
        ASSERT_TRUE(WaitForMoves(engine, 1, 10000)) << engine.Output();
        engine.Send("quit\n");
        EXPECT_EQ(engine.WaitForExit(), 0);
        std::vector<std::string> lines = LinesAfter(engine.Output(), "    ");
        ASSERT_FALSE(lines.empty()) << mate.fen;
        std::istringstream fields(lines.back());
        std::string depth, score;
        fields >> depth >> score;
        EXPECT_EQ(score, mate.score) << mate.fen << ": " << lines.back();
    }
}

} // namespace velkor::test
