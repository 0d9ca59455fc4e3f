// Coordinate move text: formatting of every kind, parsing against the game snapshot.
#include <gtest/gtest.h>

#include <string>

#include "notation/coordinate.h"
#include "position/position.h"
#include "support/test_position.h"

namespace velkor::test {

namespace {

std::string Text(Move move) {
    char buffer[8];
    char* end = FormatCoordinateMove(buffer, move);
    EXPECT_EQ(*end, '\0');
    return std::string(buffer, static_cast<std::size_t>(end - buffer));
}

class CoordinateTest : public PositionTest {};

} // namespace

TEST_F(CoordinateTest, MoveCodesOfTheLayout) {
    EXPECT_EQ(ComposeMove(A8, B7, CapturePromoteKnight), 0x9240);
    EXPECT_EQ(ComposeMove(E5, E7, Quiet), 0x031C);
    EXPECT_EQ(MoveTo(0x9240), A8);
    EXPECT_EQ(MoveFrom(0x9240), B7);
    EXPECT_EQ(KindOf(0x9240), CapturePromoteKnight);
    EXPECT_TRUE(IsCastling(CastleShortBlackMove));
    EXPECT_TRUE(IsPromotion(0x4000) && IsPromotion(0xBFFF) && !IsPromotion(0xC000));
    EXPECT_TRUE(IsCapturing(ComposeMove(D6, E5, EnPassant)));
    EXPECT_FALSE(IsCapturing(ComposeMove(E8, E7, PromoteQueen)));
}

TEST_F(CoordinateTest, FormatsEveryKind) {
    EXPECT_EQ(Text(ComposeMove(E4, E2, Quiet)), "e2e4");
    EXPECT_EQ(Text(ComposeMove(D5, E4, Capture)), "e4d5");
    EXPECT_EQ(Text(ComposeMove(D6, E5, EnPassant)), "e5d6");
    EXPECT_EQ(Text(ComposeMove(E8, E7, PromoteQueen)), "e7e8q");
    EXPECT_EQ(Text(ComposeMove(E8, E7, PromoteKnight)), "e7e8n");
    EXPECT_EQ(Text(ComposeMove(E8, E7, PromoteRook)), "e7e8r");
    EXPECT_EQ(Text(ComposeMove(E8, E7, PromoteBishop)), "e7e8b");
    EXPECT_EQ(Text(ComposeMove(A1, B2, CapturePromoteRook)), "b2a1r");
    EXPECT_EQ(Text(CastleShortBlackMove), "e8g8");
    EXPECT_EQ(Text(CastleShortWhiteMove), "e1g1");
    EXPECT_EQ(Text(CastleLongBlackMove), "e8c8");
    EXPECT_EQ(Text(CastleLongWhiteMove), "e1c1");
    EXPECT_EQ(Text(ResultRepetition), "c8c8");
    EXPECT_EQ(Text(ComposeMove(H1, A8, Quiet)), "a8h1");
}

TEST_F(CoordinateTest, ParsesAgainstTheSnapshot) {
    SetUpFen("r3k2r/1P4P1/8/3pP3/8/8/8/R3K2R w KQkq d6");
    EXPECT_EQ(ParseCoordinateMove("e1g1"), CastleShortWhiteMove);
    EXPECT_EQ(ParseCoordinateMove("e1c1"), CastleLongWhiteMove);
    EXPECT_EQ(ParseCoordinateMove("e5d6"), ComposeMove(D6, E5, EnPassant));
    EXPECT_EQ(ParseCoordinateMove("e5e6"), ComposeMove(E6, E5, Quiet));
    EXPECT_EQ(ParseCoordinateMove("g7g8q"), ComposeMove(G8, G7, PromoteQueen));
    EXPECT_EQ(ParseCoordinateMove("b7a8n"), ComposeMove(A8, B7, CapturePromoteKnight));
    EXPECT_EQ(ParseCoordinateMove("g7g8"), ComposeMove(G8, G7, Quiet));
    EXPECT_EQ(ParseCoordinateMove("g7g8Q"), ComposeMove(G8, G7, Quiet));
    EXPECT_EQ(ParseCoordinateMove("a1a8"), ComposeMove(A8, A1, Capture));
    EXPECT_EQ(ParseCoordinateMove("a1b2xyz"), ComposeMove(B2, A1, Quiet));
    for (const char* notMove : {"i2i4", "e9e4", "e2", "go", "", "E2E4", "e2-e4"})
        EXPECT_EQ(ParseCoordinateMove(notMove), NoMove) << notMove;
    // Every kind survives a format-parse round trip in a position where it fits.
    for (Move move : {CastleShortWhiteMove, CastleLongWhiteMove, ComposeMove(D6, E5, EnPassant),
                      ComposeMove(G8, G7, PromoteRook), ComposeMove(A8, B7, CapturePromoteBishop),
                      ComposeMove(H8, H1, Capture), ComposeMove(F2, E1, Quiet)})
        EXPECT_EQ(ParseCoordinateMove(Text(move).c_str()), move) << Text(move);
}

TEST_F(CoordinateTest, CastlingNeedsTheRight) {
    SetUpFen("r3k2r/8/8/8/8/8/8/R3K2R b k -");
    EXPECT_EQ(ParseCoordinateMove("e8g8"), CastleShortBlackMove);
    EXPECT_EQ(ParseCoordinateMove("e8c8"), ComposeMove(C8, E8, Quiet));
    SetUpFen("r3k2r/8/8/8/8/8/8/R3K2R w - -");
    EXPECT_EQ(ParseCoordinateMove("e1g1"), ComposeMove(G1, E1, Quiet));
}

} // namespace velkor::test
