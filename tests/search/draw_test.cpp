// Draws by material, the fifty-move rule and repetition.
#include <gtest/gtest.h>

#include "notation/coordinate.h"
#include "position/make_move.h"
#include "search/draw.h"
#include "support/test_position.h"

namespace velkor::test {

namespace {

class DrawTest : public PositionTest {
  protected:
    PlyRecord records[16];
    int played = 0;
    void Play(const char* text) {
        SaveSnapshot(records[played]);
        MakeMove(ParseCoordinateMove(text), records[played++]);
        RefreshGameSnapshot();
    }
};

} // namespace

TEST_F(DrawTest, Material) {
    SetUpFen("4k3/8/8/8/8/8/8/4KN2 w - -");
    EXPECT_EQ(DrawCode(2), ResultNoMaterial);
    SetUpFen("4k3/8/8/8/8/8/8/3NKN2 w - -");
    EXPECT_EQ(DrawCode(2), NoMove);
    SetUpFen("4k3/8/8/8/8/8/4P3/4K3 w - -");
    EXPECT_EQ(DrawCode(2), NoMove);
}

TEST_F(DrawTest, FiftyMoves) {
    SetUpFen("4k3/8/8/8/8/8/8/R3K3 w - -");
    HistoryTop->halfmoveClock = 99;
    EXPECT_EQ(DrawCode(2), NoMove);
    HistoryTop->halfmoveClock = 100;
    EXPECT_EQ(DrawCode(2), ResultFiftyMoves);
}

TEST_F(DrawTest, RepetitionNeedsTheGivenNumberOfEarlierOccurrences) {
    SetUpFen(StartPositionFen);
    for (const char* move : {"g1f3", "g8f6", "f3g1", "f6g8"}) Play(move);
    EXPECT_EQ(DrawCode(1), ResultRepetition);
    EXPECT_EQ(DrawCode(2), NoMove);
    for (const char* move : {"g1f3", "g8f6", "f3g1", "f6g8"}) Play(move);
    EXPECT_EQ(DrawCode(2), ResultRepetition);
    // A pawn move cuts the history: nothing before it counts.
    Play("e2e3");
    for (const char* move : {"g8f6", "g1f3", "f6g8", "f3g1"}) Play(move);
    EXPECT_EQ(DrawCode(1), ResultRepetition);
    EXPECT_EQ(DrawCode(2), NoMove);
}

} // namespace velkor::test
