// Check information and the legality test after a made move, castling included.
#include <gtest/gtest.h>

#include "movegen/attacks.h"
#include "notation/coordinate.h"
#include "position/make_move.h"
#include "support/test_position.h"

namespace velkor::test {

namespace {

class AttacksTest : public PositionTest {
  protected:
    // Makes the move, asks the legality test, takes the move back.
    static bool Illegal(Move move) {
        PlyRecord record;
        SaveSnapshot(record);
        int mover = SideToMove;
        MakeMove(move, record);
        bool illegal = LeavesKingAttacked(move, mover);
        UnmakeMove(move, record);
        return illegal;
    }
};

} // namespace

TEST_F(AttacksTest, CheckersAndKingLines) {
    SetUpFen("4k3/8/8/8/8/3n4/8/r3K3 w - -");
    PlyRecord record{};
    ComputeCheckInfo(record);
    EXPECT_EQ(record.checkers, MaskOf(A1) | MaskOf(D3));
    EXPECT_NE(record.kingLineAttacks & MaskOf(A1), 0u);
    // A bishop check with a rook behind a blocker on the king's file: the line set is cleared.
    SetUpFen("4r2k/8/8/8/4P3/8/2b5/4K3 w - -");
    record.kingLineAttacks = ~0ULL;
    ComputeCheckInfo(record);
    EXPECT_EQ(record.checkers, 0u) << "c2 does not reach e1";
    SetUpFen("4r2k/8/8/8/4P3/8/3b4/4K3 w - -");
    ComputeCheckInfo(record);
    EXPECT_EQ(record.checkers, MaskOf(D2));
    EXPECT_EQ(record.kingLineAttacks, 0u);
    EXPECT_NE(record.kingDiagonalAttacks & MaskOf(D2), 0u);
    SetUpFen(StartPositionFen);
    ComputeCheckInfo(record);
    EXPECT_EQ(record.checkers, 0u);
}

TEST_F(AttacksTest, EnPassantThatUncoversTheKingIsIllegal) {
    SetUpFen("8/8/8/K2pP2r/8/8/8/7k w - d6");
    EXPECT_TRUE(Illegal(ComposeMove(D6, E5, EnPassant)));
    SetUpFen("8/8/8/K2pP3/8/8/8/7k w - d6");
    EXPECT_FALSE(Illegal(ComposeMove(D6, E5, EnPassant)));
}

TEST_F(AttacksTest, CastlingThroughAttackOrNextToTheKing) {
    SetUpFen("4k3/8/8/8/8/8/8/R3K2R w KQ -");
    EXPECT_FALSE(Illegal(CastleShortWhiteMove));
    EXPECT_FALSE(Illegal(CastleLongWhiteMove));
    SetUpFen("4k3/8/8/8/8/8/6b1/R3K2R w KQ -"); // the bishop on g2 attacks f1
    EXPECT_TRUE(Illegal(CastleShortWhiteMove));
    SetUpFen("8/8/8/8/8/8/6k1/R3K2R w KQ -"); // the black king on g2, next to f1 and g1
    EXPECT_TRUE(Illegal(CastleShortWhiteMove));
    SetUpFen("1r2k3/8/8/8/8/8/8/R3K2R w KQ -"); // b1 attacked: long castling still allowed
    EXPECT_FALSE(Illegal(CastleLongWhiteMove));
    SetUpFen("8/8/8/8/8/8/1k6/R3K2R w KQ -");
    EXPECT_TRUE(Illegal(CastleLongWhiteMove));
    SetUpFen("r3k2r/8/8/8/8/8/8/4K2R b kq -");
    EXPECT_FALSE(Illegal(CastleLongBlackMove));
    SetUpFen("r3k2r/8/8/8/8/8/8/3RK3 b kq -"); // d8 attacked along the file
    EXPECT_TRUE(Illegal(CastleLongBlackMove));
    EXPECT_FALSE(Illegal(CastleShortBlackMove));
    SetUpFen("r3k2r/8/8/8/8/8/8/4R1K1 b kq -"); // in check: e8 attacked
    EXPECT_TRUE(Illegal(CastleShortBlackMove));
}

} // namespace velkor::test
