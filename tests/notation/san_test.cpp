// SAN reading: castling in both notations, disambiguation, pinned candidates, en passant,
// promotions with and without "=", coordinate text, and the inputs that give nothing.
#include <gtest/gtest.h>

#include "notation/coordinate.h"
#include "notation/san.h"
#include "position/position.h"
#include "support/position_state.h"
#include "support/test_position.h"

namespace velkor::test {

namespace {

class SanTest : public PositionTest {
  protected:
    static std::string Text(const char* san) {
        Move move = ParseSanMove(san);
        if (!move) return "0";
        char text[8];
        FormatCoordinateMove(text, move);
        return text;
    }
};

} // namespace

TEST_F(SanTest, Castling) {
    SetUpFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
    EXPECT_EQ(ParseSanMove("O-O"), CastleShortWhiteMove);
    EXPECT_EQ(ParseSanMove("0-0-0"), CastleLongWhiteMove);
    EXPECT_EQ(ParseSanMove("O-O+"), CastleShortWhiteMove);
    SetUpFen("r3k2r/8/8/8/8/8/8/R3K2R b KQq -");
    EXPECT_EQ(ParseSanMove("0-0-0"), CastleLongBlackMove);
    EXPECT_EQ(ParseSanMove("O-O"), NoMove) << "no right";
}

TEST_F(SanTest, PawnMoves) {
    SetUpFen("4k3/8/8/3p4/4P3/4P3/8/4K3 w - -");
    EXPECT_EQ(Text("e5"), "e4e5");
    EXPECT_EQ(Text("exd5"), "e4d5");
    EXPECT_EQ(KindOf(ParseSanMove("exd5")), Capture);
    SetUpFen(StartPositionFen);
    EXPECT_EQ(Text("e4"), "e2e4");
    EXPECT_EQ(Text("e3"), "e2e3");
    SetUpFen("4k3/8/8/3pP3/8/8/8/4K3 w - d6");
    EXPECT_EQ(ParseSanMove("exd6"), ComposeMove(D6, E5, EnPassant));
    EXPECT_EQ(ParseSanMove("exd6e.p."), NoMove);
}

TEST_F(SanTest, Promotions) {
    SetUpFen("3r3k/4P3/8/8/8/8/8/4K3 w - -");
    EXPECT_EQ(ParseSanMove("e8=Q"), ComposeMove(E8, E7, PromoteQueen));
    EXPECT_EQ(ParseSanMove("e8Q"), ComposeMove(E8, E7, PromoteQueen));
    EXPECT_EQ(ParseSanMove("e8=N+"), ComposeMove(E8, E7, PromoteKnight));
    EXPECT_EQ(ParseSanMove("exd8=Q"), ComposeMove(D8, E7, CapturePromoteQueen));
    EXPECT_EQ(ParseSanMove("exd8R"), ComposeMove(D8, E7, CapturePromoteRook));
    SetUpFen("4k3/8/8/8/8/8/4p3/3RK3 b - -");
    EXPECT_EQ(ParseSanMove("exd1=Q+"), ComposeMove(D1, E2, CapturePromoteQueen));
}

TEST_F(SanTest, Disambiguation) {
    SetUpFen("1n2k3/8/5n2/8/8/8/8/R3K2R b KQ -");
    EXPECT_EQ(Text("Nbd7"), "b8d7");
    EXPECT_EQ(Text("Nfd7"), "f6d7");
    EXPECT_EQ(Text("Nd7"), "0") << "ambiguous";
    SetUpFen("4k3/8/8/8/8/8/R7/R3K3 w - -");
    EXPECT_EQ(Text("R1a3"), "0") << "the a2 rook blocks the a1 rook";
    EXPECT_EQ(Text("Ra3"), "a2a3");
    SetUpFen("4k3/8/8/8/8/8/4K3/R6R w - -");
    EXPECT_EQ(Text("Rad1"), "a1d1");
    EXPECT_EQ(Text("Rhd1"), "h1d1");
    EXPECT_EQ(Text("Rd1"), "0");
    SetUpFen("k7/8/8/8/8/4R3/8/4R1K1 w - -");
    EXPECT_EQ(Text("R1e2"), "e1e2");
    EXPECT_EQ(Text("R3e2"), "e3e2");
}

TEST_F(SanTest, APinnedCandidateLeavesTheOther) {
    // Knights on a4 and e2 both reach c3; the e2 knight is pinned against the king on e1.
    SetUpFen("4r1k1/8/8/8/N7/8/4N3/4K3 w - -");
    EXPECT_EQ(Text("Nc3"), "a4c3");
    SetUpFen("6k1/8/8/8/N7/8/4N3/4K3 w - -");
    EXPECT_EQ(Text("Nc3"), "0") << "ambiguous without the pin";
}

TEST_F(SanTest, CoordinateTextAndKingMoves) {
    SetUpFen(StartPositionFen);
    EXPECT_EQ(Text("e2e4"), "e2e4");
    EXPECT_EQ(Text("Ng1f3"), "g1f3");
    SetUpFen("7k/4P3/8/8/8/8/8/4K3 w - -");
    EXPECT_EQ(Text("e7e8Q"), "e7e8q");
    EXPECT_EQ(Text("e7e8n"), "e7e8n");
    // A king move goes from the king's square wherever the target is.
    EXPECT_EQ(Text("Kg1"), "e1g1");
}

TEST_F(SanTest, InputsThatGiveNothing) {
    SetUpFen(StartPositionFen);
    PositionState before = PositionState::Capture();
    for (const char* bad : {"nf3", "Pe4", "Sf3", "Z0", "", "e9", "i4", "Nf6", "Qd4", "xyz", "--", "e4e5e6e7"})
        EXPECT_EQ(ParseSanMove(bad), NoMove) << bad;
    EXPECT_TRUE(PositionState::Capture() == before);
    // Tokens are cut to nine characters before the decoration goes.
    EXPECT_EQ(Text("Ng1-f3!!!?"), "g1f3");
}

} // namespace velkor::test
