// Game moves: only legal moves are played, the snapshot follows, the history never overflows.
#include <gtest/gtest.h>

#include "frontend/engine.h"
#include "notation/coordinate.h"
#include "position/position.h"
#include "support/position_state.h"
#include "support/test_position.h"

namespace velkor::test {

namespace {
class GameMoveTest : public PositionTest {
  protected:
    void SetUp() override {
        PositionTest::SetUp();
        CurrentPly = PlyStack.data();
    }
};
} // namespace

TEST_F(GameMoveTest, LegalMovesArePlayedAndTheSnapshotFollows) {
    SetUpFen(StartPositionFen);
    ASSERT_TRUE(ApplyGameMove(ParseCoordinateMove("e2e4")));
    EXPECT_EQ(GameSnapshot.board, Board);
    EXPECT_EQ(GameSnapshot.sideToMove, Black);
    EXPECT_EQ(GameSnapshot.enPassantSquare, E3);
    EXPECT_EQ(HistoryIndex(), 1);
    EXPECT_FALSE(ApplyGameMove(NoMove));
}

TEST_F(GameMoveTest, IllegalMovesChangeNothing) {
    SetUpFen("4k3/4P3/8/8/8/8/4r3/4K3 w - -");
    PositionState before = PositionState::Capture();
    for (const char* text : {"e1e3", "e7e8", "e1d2", "a1a2", "e1f2"}) {
        Move move = ParseCoordinateMove(text);
        EXPECT_FALSE(ApplyGameMove(move)) << text;
        EXPECT_TRUE(PositionState::Capture() == before) << text;
    }
    EXPECT_TRUE(ApplyGameMove(ParseCoordinateMove("e1e2")));
}

TEST_F(GameMoveTest, AFullHistoryRefusesFurtherMoves) {
    SetUpFen(StartPositionFen);
    HistoryEntry* base = HistoryTop;
    HistoryTop = &GameHistory[GameHistorySize - PlyStackSize - 1];
    *HistoryTop = *base;
    EXPECT_FALSE(ApplyGameMove(ParseCoordinateMove("e2e4")));
    EXPECT_EQ(Board[E2], WhitePawn);
    HistoryTop = base;
}

} // namespace velkor::test
