// The static evaluation: symmetry, the pawn cache, and terms that are easy to get wrong.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "eval/evaluate.h"
#include "eval/pawn_cache.h"
#include "eval/tables.h"
#include "position/position.h"
#include "support/test_position.h"

namespace velkor::test {

namespace {

class EvaluateTest : public PositionTest {
  protected:
    // White's point of view, whoever is to move.
    static int WhiteScore(const char* fen) {
        EXPECT_TRUE(SetupPosition(fen, false)) << fen;
        int score = Evaluate();
        return SideToMove == White ? score : -score;
    }
    static std::string WithSide(std::string fen, char side) {
        fen[fen.find(' ') + 1] = side;
        return fen;
    }
};

} // namespace

TEST_F(EvaluateTest, StartPositionIsZero) {
    SetUpFen(StartPositionFen);
    EXPECT_EQ(Evaluate(), 0);
}

TEST_F(EvaluateTest, BlackToMoveIsTheExactNegation) {
    std::ifstream file(std::string(VELKOR_TEST_DATA) + "/perft/perftsuite.epd");
    std::string line;
    int positions = 0;
    while (std::getline(file, line)) {
        std::string fen = line.substr(0, line.find(';'));
        std::string white = WithSide(fen, 'w'), black = WithSide(fen, 'b');
        if (!SetupPosition(white.c_str(), false)) continue;
        int whiteScore = Evaluate();
        if (!SetupPosition(black.c_str(), false)) continue;
        EXPECT_EQ(Evaluate(), -whiteScore) << fen;
        ++positions;
    }
    EXPECT_GT(positions, 50);
}

TEST_F(EvaluateTest, CachedAndUncachedPawnStructureAgree) {
    for (const char* fen : {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
                            "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", "4k3/pp4pp/8/3P4/8/8/PP4PP/4K3 b - -"}) {
        SetUpFen(fen);
        int fresh = Evaluate();
        std::uint32_t entry = PawnStructureCache[PawnKey & (PawnCacheSize - 1)];
        EXPECT_NE(entry & 0xFFFF, 0u);
        EXPECT_EQ(static_cast<int>(entry & 0xFFFF) - 8190, PawnStructureScore());
        EXPECT_EQ(Evaluate(), fresh) << fen;
    }
}

TEST_F(EvaluateTest, BareMaterialAndRook) {
    EXPECT_EQ(WhiteScore("4k3/8/8/8/8/8/8/4K3 w - -"), 0);
    EXPECT_EQ(WhiteScore("4k3/8/8/8/8/8/8/3BK3 w - -"), 0);
    // King and rook: M = 5, the full evaluation runs and includes the rook's value.
    int m = 5;
    int kings = KingSquareTable(m)[E1] - KingSquareTable(m)[E8];
    EXPECT_EQ(WhiteScore("4k3/8/8/8/8/8/8/R3K3 w - -"),
              kings + 500 + RookSquareTable(m)[A1] + 20 /* open file */ + 100 /* rook for nothing */);
}

TEST_F(EvaluateTest, TrappedBishopAndRooksOnTheSeventh) {
    int trapped = WhiteScore("4k3/B7/1p6/8/8/8/P7/4K3 w - -");
    int free = WhiteScore("4k3/B7/8/1p6/8/8/P7/4K3 w - -");
    // The black pawn's own contribution differs between b6 and b5; the rest is the 220.
    int pawnShift = WhiteScore("4k3/8/1p6/8/8/8/P7/4K3 w - -") - WhiteScore("4k3/8/8/1p6/8/8/P7/4K3 w - -");
    EXPECT_EQ(trapped - free - pawnShift, -220);

    // Two rooks on the seventh: 24, and 36 more with the king on the eighth, 12 on the seventh
    // (the pawn on f7 shields the king from the rooks in both).
    int kingOn8 = WhiteScore("6k1/RR3p2/8/8/8/8/8/4K3 w - -");
    int kingOn7Base = WhiteScore("8/RR3pk1/8/8/8/8/8/4K3 w - -");
    int m = 11;
    const auto& kings = KingSquareTable(m);
    EXPECT_EQ(kingOn8 - kingOn7Base, -(kings[G8] - kings[G7]) + 36 - 12);
}

TEST_F(EvaluateTest, PawnStructureTerms) {
    // Doubled e4/e5 without black pawns ahead: both pay 8, only e5 is passed.
    SetUpFen("4k3/8/8/4P3/4P3/8/8/4K3 w - -");
    const auto& pawns = PawnSquareTable(MaterialCount);
    int isolatedOpen = 2 * 24;
    EXPECT_EQ(PawnStructureScore(), 200 + pawns[E5] + pawns[E4] - 16 + 16 * 4 - isolatedOpen);
    // An isolated pawn costs 24 on an open file, 18 with an enemy pawn ahead (which is itself
    // isolated, passed-blocked and weighed the other way).
    SetUpFen("4k3/8/8/8/8/8/3P4/4K3 w - -");
    int open = PawnStructureScore() - 100 - PawnSquareTable(MaterialCount)[D2] - 16 * 1;
    EXPECT_EQ(open, -24);
}

TEST_F(EvaluateTest, BlackDefendersRaiseTheAttackedPawnCount) {
    // Deliberately lopsided: the attacked white pawn's defender lowers its penalty, the attacked
    // black pawn's defender raises it.
    SetUpFen("4k3/8/8/3p4/2p1P3/8/3P4/4K3 w - -");
    int white = PawnStructureScore();
    SetUpFen("4k3/3p4/8/2P1p3/3P4/8/8/4K3 w - -");
    int black = PawnStructureScore();
    EXPECT_NE(white, -black);
}

} // namespace velkor::test
