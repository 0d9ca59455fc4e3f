// The set-up of a game: the EPD operation resolved against the new position, and the search
// state of the old position cleared.
#include <gtest/gtest.h>

#include <string>

#include "control/setup.h"
#include "notation/fen.h"
#include "position/position.h"
#include "search/transposition.h"
#include "support/test_position.h"

namespace velkor::test {

namespace {

class GameSetupTest : public PositionTest {};

std::string CurrentFen() {
    char fen[FenBufferSize];
    FormatFen(fen);
    return fen;
}

} // namespace

TEST_F(GameSetupTest, EpdOperations) {
    const char* start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
    ASSERT_TRUE(SetupPosition((std::string(start) + " bm Nf3; id \"x\";").c_str(), false));
    EXPECT_EQ(EpdOperation, 'b');
    EXPECT_EQ(EpdMove, ComposeMove(F3, G1, Quiet));
    ASSERT_TRUE(SetupPosition((std::string(start) + " am e4 ;").c_str(), false));
    EXPECT_EQ(EpdOperation, 'a');
    // Without a separator after the move no operation is kept.
    ASSERT_TRUE(SetupPosition((std::string(start) + " bm Nf3").c_str(), false));
    EXPECT_EQ(EpdOperation, 0);
    // Only the first "a" or "b" after the position decides: here it begins the word "black".
    ASSERT_TRUE(SetupPosition((std::string(start) + " c0 \"black\"; bm Nf3;").c_str(), false));
    EXPECT_EQ(EpdOperation, 0);
    // A move that does not resolve: a warning, false, and the position fully set up.
    testing::internal::CaptureStdout();
    EXPECT_FALSE(SetupPosition((std::string(start) + " bm Nf4;").c_str(), false));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Warning cannot recognize move: Nf4\r\n");
    EXPECT_EQ(CurrentFen(), start);
}

TEST_F(GameSetupTest, SetupResetsSearchState) {
    SetUpFen(StartPositionFen);
    PlyStack[5].killer1 = 123;
    PlyStack[7].killer2 = 456;
    TranspositionTable[17].slots[1].data = 99;
    SetUpFen("4k3/8/8/8/8/8/8/4K3 w - -");
    EXPECT_EQ(PlyStack[5].killer1, NoMove);
    EXPECT_EQ(PlyStack[7].killer2, NoMove);
    EXPECT_EQ(TranspositionTable[17].slots[1].data, 0u);
    EXPECT_EQ(MaterialCount, 0);
    EXPECT_EQ(PieceMaterial[White], 0);
}

} // namespace velkor::test
