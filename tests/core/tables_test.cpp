// Lookup tables: known entries, and every sliding lookup against a naive ray walk.
#include <gtest/gtest.h>

#include <random>

#include "core/tables.h"

namespace velkor::test {

namespace {

Bitboard Squares(std::initializer_list<int> squares) {
    Bitboard set = 0;
    for (int s : squares) set |= MaskOf(s);
    return set;
}

// Walks each direction square by square over an occupancy in the normal bit order.
Bitboard NaiveSlide(int s, Bitboard occupied, std::initializer_list<std::pair<int, int>> steps) {
    Bitboard attacks = 0;
    for (auto [rowStep, fileStep] : steps) {
        int row = RowOf(s) + rowStep, file = FileOf(s) + fileStep;
        while (row >= 0 && row < 8 && file >= 0 && file < 8) {
            attacks |= MaskOf(SquareAt(row, file));
            if (occupied & MaskOf(SquareAt(row, file))) break;
            row += rowStep;
            file += fileStep;
        }
    }
    return attacks;
}

class TablesTest : public ::testing::Test {
  protected:
    void SetUp() override { InitTables(); }
};

} // namespace

TEST_F(TablesTest, StepAttacksAtTheEdges) {
    EXPECT_EQ(KingAttacks[A8], Squares({B8, A7, B7}));
    EXPECT_EQ(KnightAttacks[A8], Squares({C7, B6}));
    EXPECT_EQ(KnightAttacks[H1], Squares({G3, F2}));
    EXPECT_EQ(WhitePawnAttacks[A7], Squares({B8}));
    EXPECT_EQ(BlackPawnAttacks[H7], Squares({G6}));
    for (int s = A8; s <= H8; ++s) EXPECT_EQ(WhitePawnAttacks[s], 0u);
    for (int s = A1; s <= H1; ++s) EXPECT_EQ(BlackPawnAttacks[s], 0u);
    for (int s = 0; s < 64; ++s) {
        EXPECT_EQ(std::popcount(KingAttacks[s]), FileOf(s) % 7 == 0 && RowOf(s) % 7 == 0 ? 3
                                                 : FileOf(s) % 7 == 0 || RowOf(s) % 7 == 0 ? 5
                                                                                            : 8);
    }
}

TEST_F(TablesTest, RankLookupStopsAtBlockers) {
    Bitboard occupied = Squares({B1, D1, G1});
    EXPECT_EQ(RankAttacksFrom(D1, occupied), Squares({C1, B1, E1, F1, G1}));
}

TEST_F(TablesTest, OneSquareDiagonalsHaveNoAttacks) {
    for (int index = 0; index < 256; ++index) {
        EXPECT_EQ(DiagA1H8Attacks[A8][index], 0u);
        EXPECT_EQ(DiagA1H8Attacks[H1][index], 0u);
        EXPECT_EQ(DiagA8H1Attacks[H8][index], 0u);
        EXPECT_EQ(DiagA8H1Attacks[A1][index], 0u);
    }
    EXPECT_EQ(DiagA1H8AttacksFrom(A1, RotateToA1H8(MaskOf(A1))), Squares({B2, C3, D4, E5, F6, G7, H8}));
}

TEST_F(TablesTest, DiagonalShiftsAndMasks) {
    EXPECT_EQ(DiagShiftA1H8[A8], 63);
    EXPECT_EQ(DiagShiftA1H8[H1], 0);
    EXPECT_EQ(DiagShiftA8H1[H8], 63);
    EXPECT_EQ(DiagShiftA8H1[A1], 0);
    for (int s : {A1, B2, C3, D4, E5, F6, G7, H8}) {
        EXPECT_EQ(DiagShiftA1H8[s], 28);
        EXPECT_EQ(DiagMaskA1H8[s], 255);
    }
    for (int s : {A8, B7, C6, D5, E4, F3, G2, H1}) EXPECT_EQ(DiagShiftA8H1[s], 28);
    EXPECT_EQ(DiagMaskA1H8[A8], 1);
}

TEST_F(TablesTest, RotatedOrders) {
    EXPECT_EQ(RotA1H8Index(A8), 0);
    EXPECT_EQ(RotA1H8Index(A7), 1);
    EXPECT_EQ(RotA1H8Index(B8), 2);
    EXPECT_EQ(RotA1H8Index(A6), 3);
    EXPECT_EQ(RotA1H8Index(H1), 63);
    EXPECT_EQ(RotA8H1Index(H8), 0);
    EXPECT_EQ(RotA8H1Index(G8), 1);
    EXPECT_EQ(RotA8H1Index(H7), 2);
    EXPECT_EQ(RotA8H1Index(F8), 3);
    EXPECT_EQ(RotA8H1Index(A1), 63);
    // Each order is a permutation of the squares.
    Bitboard seen90 = 0, seenA1H8 = 0, seenA8H1 = 0;
    for (int s = 0; s < 64; ++s) {
        seen90 |= SquareMaskRot90[s];
        seenA1H8 |= SquareMaskRotA1H8[s];
        seenA8H1 |= SquareMaskRotA8H1[s];
    }
    EXPECT_EQ(seen90, ~0ULL);
    EXPECT_EQ(seenA1H8, ~0ULL);
    EXPECT_EQ(seenA8H1, ~0ULL);
}

TEST_F(TablesTest, SlidingLookupsAgreeWithARayWalk) {
    std::mt19937_64 random(20261207);
    for (int trial = 0; trial < 2000; ++trial) {
        Bitboard occupied = random() & random();
        for (int s = 0; s < 64; ++s) {
            Bitboard rook = RankAttacksFrom(s, occupied) | FileAttacksFrom(s, RotateTo90(occupied));
            Bitboard bishop = DiagA1H8AttacksFrom(s, RotateToA1H8(occupied)) |
                              DiagA8H1AttacksFrom(s, RotateToA8H1(occupied));
            ASSERT_EQ(rook, NaiveSlide(s, occupied, {{0, 1}, {0, -1}, {1, 0}, {-1, 0}})) << s;
            ASSERT_EQ(bishop, NaiveSlide(s, occupied, {{1, 1}, {1, -1}, {-1, 1}, {-1, -1}})) << s;
        }
    }
}

TEST_F(TablesTest, EmptyBoardLines) {
    EXPECT_EQ(std::popcount(RookLines[A8]), 14);
    EXPECT_EQ(std::popcount(BishopLines[D5]), 13);
    EXPECT_EQ(std::popcount(QueenLines[D5]), 27);
}

TEST_F(TablesTest, EvaluationMasks) {
    EXPECT_EQ(FileOther[E4], Squares({E8, E7, E6, E5, E3, E2, E1}));
    EXPECT_EQ(AdjacentFiles[A5] & MaskOf(B1), MaskOf(B1));
    EXPECT_EQ(std::popcount(AdjacentFiles[A5]), 8);
    EXPECT_EQ(std::popcount(AdjacentFiles[D5]), 16);
    EXPECT_EQ(WhitePassMask[E6], Squares({D8, E8, F8, D7, E7, F7}));
    EXPECT_EQ(BlackPassMask[A3], Squares({A2, B2, A1, B1}));
    EXPECT_EQ(WhiteFront[E6], Squares({E8, E7}));
    EXPECT_EQ(BlackFront[H2], Squares({H1}));
}

TEST_F(TablesTest, LowestSquareIsTheHighestNumberedSquare) {
    EXPECT_EQ(LowestSquare(0xFFFF00000000FFFFULL), H1);
    EXPECT_EQ(LowestSquare(MaskOf(A8)), A8);
    EXPECT_EQ(LowestSquare(Squares({C3, F7})), C3);
}

TEST_F(TablesTest, EnPassantRotationMasks) {
    EXPECT_EQ(EnPassantRot90[E6], SquareMaskRot90[E6] | SquareMaskRot90[E5]);
    EXPECT_EQ(EnPassantRotA1H8[D3], SquareMaskRotA1H8[D3] | SquareMaskRotA1H8[D4]);
    EXPECT_EQ(EnPassantRotA8H1[E4], 0u);
}

} // namespace velkor::test
