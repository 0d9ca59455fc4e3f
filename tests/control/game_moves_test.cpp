// Game moves: only legal moves are played, the snapshot follows, the history never overflows.
#include <gtest/gtest.h>

#include "control/engine.h"
#include "control/game_moves.h"
#include "notation/coordinate.h"
#include "position/position.h"
#include "search/draw.h"
#include "support/position_state.h"
#include "support/test_position.h"
#include "tools/perft.h"

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

TEST_F(GameMoveTest, AGameLongerThanTheHistoryForgetsItsOldestPliesAndKeepsItsDraws) {
    SetUpFen("4k3/8/8/8/8/8/P7/4K1N1 w - - 0 1");
    const char* cycle[] = {"g1f3", "e8d8", "f3g1", "d8e8"};
    for (int ply = 0; ply < 2 * GameHistorySize; ++ply) {
        ASSERT_TRUE(ApplyGameMove(ParseCoordinateMove(cycle[ply % 4]))) << ply;
        ASSERT_LT(HistoryIndex() + PlyStackSize, GameHistorySize);
        ASSERT_EQ(HistoryTop->key, HashKey);
    }
    EXPECT_LT(HistoryTop->halfmoveClock, HistoryClockCap + GameHistorySize) << "capped when forgotten";
    EXPECT_EQ(DrawCode(2), ResultFiftyMoves);
    // After a pawn move the repetitions count from there, and recent moves can be taken back.
    ASSERT_TRUE(ApplyGameMove(ParseCoordinateMove("a2a3")));
    HashKeyValue afterPawn = HashKey;
    const char* back[] = {"e8d8", "g1f3", "d8e8", "f3g1"};
    for (const char* text : back) ASSERT_TRUE(ApplyGameMove(ParseCoordinateMove(text)));
    EXPECT_EQ(DrawCode(1), ResultRepetition);
    EXPECT_EQ(DrawCode(2), NoMove);
    for (const char* text : back) ASSERT_TRUE(ApplyGameMove(ParseCoordinateMove(text)));
    EXPECT_EQ(DrawCode(2), ResultRepetition);
    for (int ply = 0; ply < 8; ++ply) ASSERT_TRUE(UndoGameMove());
    EXPECT_EQ(HashKey, afterPawn);
}

TEST_F(GameMoveTest, UndoTakesBackEveryKindOfMoveExactly) {
    // Castling both ways, a double step and its en-passant capture, a capture-promotion, quiet
    // moves that lose castling rights, and a check.
    SetUpFen("r3k2r/1P1p4/8/4P3/8/8/8/R3K2R b KQkq - 0 1");
    const char* moves[] = {"d7d5", "e5d6", "e8g8", "b7a8q", "f8a8", "e1c1", "a8a2", "h1h8", "g8h8", "c1b1"};
    std::vector<PositionState> states;
    std::vector<std::uint64_t> counts;
    std::vector<std::uint16_t> rights;
    for (const char* text : moves) {
        states.push_back(PositionState::Capture());
        counts.push_back(Perft(2));
        rights.push_back(CastlingRights);
        ASSERT_TRUE(ApplyGameMove(ParseCoordinateMove(text))) << text;
    }
    PositionState end = PositionState::Capture();
    for (std::size_t i = std::size(moves); i-- > 0;) {
        ASSERT_TRUE(UndoGameMove());
        EXPECT_TRUE(PositionState::Capture() == states[i]) << "after taking back " << moves[i];
        EXPECT_EQ(Perft(2), counts[i]) << moves[i];
        EXPECT_EQ(GameSnapshot.board, Board);
        EXPECT_EQ(GameSnapshot.enPassantSquare, EnPassantSquare);
        EXPECT_EQ(GameSnapshot.castlingRights, CastlingRights);
        EXPECT_EQ(GameSnapshot.sideToMove, SideToMove);
        EXPECT_EQ(HashKey, RecomputedKey(rights[0])) << moves[i];
    }
    EXPECT_FALSE(UndoGameMove()) << "nothing before the set-up";
    // Forward again: the same positions, keys and counters.
    for (const char* text : moves) ASSERT_TRUE(ApplyGameMove(ParseCoordinateMove(text)));
    EXPECT_TRUE(PositionState::Capture() == end);
}

} // namespace velkor::test
