// FEN output and the board diagram.
#include <gtest/gtest.h>

#include <string>

#include "notation/fen.h"
#include "position/position.h"
#include "support/test_position.h"

namespace velkor::test {

namespace {
class FenTest : public PositionTest {};
} // namespace

TEST_F(FenTest, EmptyRanksAndTrailingSquares) {
    SetUpFen("4k3/8/8/8/8/8/8/4K3 w - -");
    char fen[FenBufferSize];
    FormatFen(fen);
    EXPECT_STREQ(fen, "4k3/8/8/8/8/8/8/4K3 w - -");
    SetUpFen("k7/7p/8/8/8/8/P7/7K b - -");
    FormatFen(fen);
    EXPECT_STREQ(fen, "k7/7p/8/8/8/8/P7/7K b - -");
}

TEST_F(FenTest, BoardDiagram) {
    SetUpFen(StartPositionFen);
    testing::internal::CaptureStdout();
    PrintBoard(Board.data());
    std::string diagram = testing::internal::GetCapturedStdout();
    EXPECT_EQ(diagram, "\n8 r n b q k b n r \n7 p p p p p p p p \n6 . . . . . . . . \n"
                       "5 . . . . . . . . \n4 . . . . . . . . \n3 . . . . . . . . \n"
                       "2 P P P P P P P P \n1 R N B Q K B N R \n\n  A B C D E F G H\n");
}

} // namespace velkor::test
