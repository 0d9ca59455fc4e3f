// Exchange evaluation: the worked cases of the scoring scale, x-rays and the king rules.
#include <gtest/gtest.h>

#include "eval/tables.h"
#include "movegen/attacks.h"
#include "movegen/exchange.h"
#include "position/position.h"
#include "support/test_position.h"

namespace velkor::test {

namespace {

class ExchangeTest : public PositionTest {
  protected:
    static int Pst(int piece, int square) { return SquareTableOf(piece, MaterialCount)[square]; }
    static int See(int from, int to) {
        Bitboard queens = PieceBitboards[WhiteQueen] | PieceBitboards[BlackQueen];
        Bitboard rooks = PieceBitboards[WhiteRook] | PieceBitboards[BlackRook] | queens;
        Bitboard bishops = PieceBitboards[WhiteBishop] | PieceBitboards[BlackBishop] | queens;
        return ExchangeScore(Board[from], from, to, rooks, bishops);
    }
};

} // namespace

TEST_F(ExchangeTest, UndefendedPawn) {
    SetUpFen("4k3/8/8/3p4/8/4N3/8/4K3 w - -");
    int acc = -Pst(WhiteKnight, E3) + Pst(WhiteKnight, D5);
    EXPECT_EQ(See(E3, D5), acc - 9500 + 100 + Pst(BlackPawn, D5));
}

TEST_F(ExchangeTest, EarlyCuts) {
    // Knight takes a pawn defended by a pawn: gain {100, 210}, cut at once.
    SetUpFen("4k3/8/2p5/3p4/8/4N3/8/4K3 w - -");
    int acc = -Pst(WhiteKnight, E3) + Pst(WhiteKnight, D5);
    EXPECT_EQ(See(E3, D5), acc - 30160);
    // Queen takes a pawn defended by a rook, whatever else of White's bears on the square.
    SetUpFen("3rk3/8/8/3p4/8/5B2/8/3QK3 w - -");
    acc = -Pst(WhiteQueen, D1) + Pst(WhiteQueen, D5);
    EXPECT_EQ(See(D1, D5), acc - 30000 - 850 + 250);
}

TEST_F(ExchangeTest, XrayQueenBehindTheBishop) {
    // Bxb5, the pawn defended by the knight on c7, the queen behind the bishop on its diagonal:
    // gains {100, 215, 95} fold to 95.
    SetUpFen("4k3/2n5/8/1p6/8/3B4/8/4KQ2 w - -");
    int acc = -Pst(WhiteBishop, D3) + Pst(WhiteBishop, B5);
    EXPECT_EQ(See(D3, B5), acc + Pst(BlackPawn, B5) + 95 - 9500);
}

TEST_F(ExchangeTest, KingRules) {
    SetUpFen("4k3/8/8/8/8/2p5/1p6/K7 w - -");
    EXPECT_EQ(See(A1, B2), -32767);
    // A queen promotion onto a square only the enemy king attacks, covered by a friend.
    SetUpFen("R7/3kP3/8/8/8/8/8/K7 w - -");
    int acc = -Pst(WhitePawn, E7) + Pst(WhiteQueen, E8);
    EXPECT_EQ(See(E7, E8), acc + 800 - 9500);
}

} // namespace velkor::test
