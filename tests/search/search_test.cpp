// The searches: mates with their exact scores, game-end markers at the root, stop handling.
#include <gtest/gtest.h>

#include "control/engine.h"
#include "notation/coordinate.h"
#include "position/make_move.h"
#include "search/iterative.h"
#include "search/search.h"
#include "search/transposition.h"
#include "support/test_position.h"

namespace velkor::test {

namespace {

class SearchTest : public PositionTest {
  protected:
    void SetUp() override {
        PositionTest::SetUp();
        ShowThinking = false; // the thinking output goes to the log only
    }
    void TearDown() override {
        EngineState = Idle;
        StopSearch = 0;
        ShowThinking = true;
    }
    // Searches the position quietly (the thinking output goes to the log) up to maxDepth.
    static ScoredMove Think(const char* fen, unsigned maxDepth, bool stopped = false) {
        EXPECT_TRUE(SetupPosition(fen, false)) << fen;
        CurrentPly = PlyStack.data();
        EngineState = Pondering;
        AspirationState = 0;
        StopSearch = stopped ? 1 : 0;
        MaxSearchDepth = maxDepth;
        Move move = IterativeDeepening();
        EXPECT_EQ(MoveStack[0].move, move);
        EXPECT_EQ(CurrentPly, PlyStack.data());
        return MoveStack[0];
    }
    static std::string Text(Move move) {
        char text[8];
        FormatCoordinateMove(text, move);
        return text;
    }
};

} // namespace

TEST_F(SearchTest, MatesWithExactScores) {
    ScoredMove mate1 = Think("6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - -", 20);
    EXPECT_EQ(Text(mate1.move), "d1d8");
    EXPECT_EQ(mate1.score, 8099);
    ScoredMove mate2 = Think("k7/8/2K5/8/8/8/8/7R w - -", 20);
    EXPECT_EQ(mate2.score, 8097);
    ScoredMove mate3 = Think("r5rk/5p1p/5R2/4B3/8/8/7P/7K w - -", 20);
    EXPECT_EQ(mate3.score, 8095);
    ScoredMove blackMates = Think("r1b1kb1r/pppp1ppp/5q2/4n3/3KP3/2N3PN/PPP4P/R1BQ1B1R b kq -", 20);
    EXPECT_EQ(blackMates.score, 8095);
}

TEST_F(SearchTest, GameOverAtTheRootGivesTheMarkers) {
    ScoredMove mated = Think("3R2k1/5ppp/8/8/8/8/5PPP/6K1 b - -", 10);
    EXPECT_EQ(mated.move, ResultMated);
    EXPECT_EQ(mated.score, -8100);
    ScoredMove stalemate = Think("7k/5Q2/8/8/8/8/8/6K1 b - -", 10);
    EXPECT_EQ(stalemate.move, ResultStalemate);
    EXPECT_EQ(stalemate.score, 0);
    ScoredMove bare = Think("8/8/4k3/8/8/3K4/8/8 w - -", 10);
    EXPECT_EQ(bare.move, ResultNoMaterial);
}

TEST_F(SearchTest, RepetitionAtTheRoot) {
    ASSERT_TRUE(SetupPosition(StartPositionFen, false));
    CurrentPly = PlyStack.data();
    PlyRecord records[8];
    const char* cycle[] = {"g1f3", "g8f6", "f3g1", "f6g8", "g1f3", "g8f6", "f3g1", "f6g8"};
    for (int i = 0; i < 8; ++i) {
        SaveSnapshot(records[i]);
        MakeMove(ParseCoordinateMove(cycle[i]), records[i]);
        RefreshGameSnapshot();
    }
    EngineState = Pondering;
    MaxSearchDepth = 5;
    EXPECT_EQ(IterativeDeepening(), ResultRepetition);
    EXPECT_EQ(MoveStack[0].score, 0);
}

TEST_F(SearchTest, AStoppedSearchKeepsTheLastCompletedIteration) {
    const char* fen = "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - -";
    ScoredMove depthTwo = Think(fen, 2);
    // Raised before the start: the depth-2 iteration still completes, depth 3 is abandoned.
    ScoredMove stopped = Think(fen, 20, true);
    EXPECT_EQ(stopped.move, depthTwo.move);
    EXPECT_EQ(stopped.score, depthTwo.score);
}

TEST_F(SearchTest, AStopEndsADeepSearchAtOnceWhereNoNullMoveCuts) {
    // A king and pawn ending allows no null move and the cleared table no cut-off: a node that
    // met the stop in its internal deepening still searched its first child, itself deepening
    // first, so a deep search needed time exponential in its depth to return (2.4 million
    // nodes here; at depth 114 a game stalled).
    ClearHash();
    ASSERT_TRUE(SetupPosition("8/8/3k4/8/3K4/3P4/8/8 b - -", false));
    CurrentPly = PlyStack.data() + 1;
    PlyStack[0].moveListEnd = MoveStack.data();
    IterationDepth = 32;
    StopSearch = 1;
    NodeCount = 0;
    QuiescenceNodeCount = 0;
    Search(32, 1, -Infinity, Infinity, true);
    EXPECT_LT(NodeCount + QuiescenceNodeCount, 1000u);
    CurrentPly = PlyStack.data();
}

TEST_F(SearchTest, FindsTheWinningTactic) {
    EXPECT_EQ(Text(Think("2rr3k/pp3pp1/1nnqbN1p/3pN3/2pP4/2P3Q1/PPB4P/R4RK1 w - -", 6).move), "g3g6");
    EXPECT_EQ(Text(Think("1k1r4/pp1b1R2/3q2pp/4p3/2B5/4Q3/PPP2B2/2K5 b - -", 6).move), "d6d1");
}

TEST_F(SearchTest, QuiescenceOfAQuietPositionIsTheEvaluationAndStoresNothing) {
    ASSERT_TRUE(SetupPosition("4k3/8/8/8/8/8/8/R3K3 w - -", false));
    CurrentPly = PlyStack.data() + 1;
    PlyStack[0].moveListEnd = MoveStack.data();
    int score = QSearch(0, 1, -Infinity, Infinity);
    EXPECT_FALSE(ProbeHash().has_value());
    EXPECT_GT(score, 500);
    CurrentPly = PlyStack.data();
}

} // namespace velkor::test
