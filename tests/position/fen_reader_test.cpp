// Reading FEN: the start position's invariants, the accepted oddities and every rejection.
#include <gtest/gtest.h>

#include <cstring>

#include "core/zobrist.h"
#include "notation/fen.h"
#include "position/position.h"
#include "search/transposition.h"
#include "support/test_position.h"

namespace velkor::test {

namespace {

class FenReaderTest : public PositionTest {};

std::string CurrentFen() {
    char fen[FenBufferSize];
    FormatFen(fen);
    return fen;
}

// Recomputes the key from the board, the en-passant square (rights lost by moves add nothing).
HashKeyValue KeyFromScratch() {
    HashKeyValue key = 0;
    for (int s = 0; s < 64; ++s)
        if (Board[s]) key ^= ZobristKeys[Board[s]][s];
    if (EnPassantSquare) key ^= ZobristKeys[0][EnPassantSquare];
    return key;
}

} // namespace

TEST_F(FenReaderTest, StartPositionInvariants) {
    SetUpFen(StartPositionFen);
    EXPECT_EQ(Occupied, 0xFFFF00000000FFFFULL);
    EXPECT_EQ(ColourOccupancy[White], 0x000000000000FFFFULL);
    EXPECT_EQ(ColourOccupancy[Black], 0xFFFF000000000000ULL);
    EXPECT_EQ(OccupiedRot90, 0xC3C3C3C3C3C3C3C3ULL);
    EXPECT_EQ(OccupiedRotA1H8, RotateToA1H8(Occupied));
    EXPECT_EQ(OccupiedRotA8H1, RotateToA8H1(Occupied));
    EXPECT_EQ(KingSquare[Black], E8);
    EXPECT_EQ(KingSquare[White], E1);
    EXPECT_EQ(MaterialCount, 78);
    EXPECT_EQ(PieceMaterial[White], 31);
    EXPECT_EQ(PieceMaterial[Black], 31);
    EXPECT_EQ(PawnCount[White], 8);
    EXPECT_EQ(PawnCount[Black], 8);
    EXPECT_EQ(CastlingRights, 27);
    EXPECT_EQ(EnPassantSquare, 0);
    EXPECT_EQ(SideToMove, White);
    EXPECT_EQ(HashKey, KeyFromScratch());
    EXPECT_EQ(HistoryTop, GameHistory.data());
    EXPECT_EQ(HistoryTop->key, HashKey);
    EXPECT_EQ(HistoryTop->halfmoveClock, 0);
    EXPECT_EQ(PieceBitboards[WhitePawn], 0x000000000000FF00ULL);
    EXPECT_EQ(PieceBitboards[BlackRook], MaskOf(A8) | MaskOf(H8));
    EXPECT_EQ(HashAge, 1);
    EXPECT_EQ(GameSnapshot.board, Board);
    EXPECT_EQ(GameSnapshot.whiteKingSquare, E1);
    EXPECT_EQ(GameSnapshot.castlingRights, 27);
}

TEST_F(FenReaderTest, FenRoundTrips) {
    for (const char* fen : {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
                            "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3",
                            "4rr2/5ppk/1n6/1pQ4p/p2P3P/2P4R/1q3PP1/R5K1 w - -",
                            "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
                            "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
                            "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6",
                            "r3k3/8/8/8/8/8/8/4K2R w Kq -"}) {
        SetUpFen(fen);
        EXPECT_EQ(CurrentFen(), fen);
    }
}

TEST_F(FenReaderTest, SideToMoveDoesNotChangeTheKeyButTheEnPassantSquareDoes) {
    SetUpFen("4k3/8/8/8/8/8/8/4K3 w - -");
    HashKeyValue white = HashKey;
    SetUpFen("4k3/8/8/8/8/8/8/4K3 b - -");
    EXPECT_EQ(HashKey, white);
    SetUpFen("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3");
    EXPECT_EQ(EnPassantSquare, E3);
    EXPECT_EQ(SideToMove, Black);
    EXPECT_EQ(HashKey, KeyFromScratch());
    HashKeyValue withSquare = HashKey;
    SetUpFen("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq -");
    EXPECT_EQ(withSquare ^ HashKey, ZobristKeys[0][E3]);
}

TEST_F(FenReaderTest, CastlingRightsAddNothingToTheKey) {
    SetUpFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
    HashKeyValue all = HashKey;
    SetUpFen("r3k2r/8/8/8/8/8/8/R3K2R w - -");
    EXPECT_EQ(HashKey, all);
    SetUpFen("r3k2r/8/8/8/8/8/8/R3K2R w Kq -");
    EXPECT_EQ(CastlingRights, WhiteShort | BlackLong);
}

TEST_F(FenReaderTest, LenientForms) {
    SetUpFen("rnbqkbnrpppppppp8888PPPPPPPPRNBQKBNR w KQkq -");
    EXPECT_EQ(CurrentFen(), StartPositionFen);
    SetUpFen("   rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR   W   KQkq   -   0 1");
    EXPECT_EQ(CurrentFen(), StartPositionFen);
    // Counters are never read: the clock starts at 0.
    SetUpFen("4k3/8/8/8/8/8/8/4K3 b - - 57 80");
    EXPECT_EQ(HistoryTop->halfmoveClock, 0);
    // Fields may be missing altogether.
    SetUpFen("4k3/8/8/8/8/8/8/4K3 w");
    EXPECT_EQ(CurrentFen(), "4k3/8/8/8/8/8/8/4K3 w - -");
}

TEST_F(FenReaderTest, MalformedTextIsRejectedAndThePreviousPositionStands) {
    SetUpFen("r3k2r/8/8/8/4P3/8/8/R3K2R b KQkq e3");
    std::string before = CurrentFen();
    HashKeyValue key = HashKey;
    auto board = Board;
    // Ranks of nine and of seven squares would shift the pieces after them.
    for (const char* bad : {"8/8/8/8/8/8/8/9 w - -", "4k4/8/8/8/8/8/8/4K3 w - - 0 1", "4k3/8/8/8/8/8/8/4K2 w - - 0 1",
                            "4k3/7/8/8/8/8/8/8/4K3 w - -", "4k3//8/8/8/8/8/8/4K3 w - -", "4k3/8/8/8/8/8/8/4K3/ w - -",
                            "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq -",
                            "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBN", "", "0nbqkbnr w - -",
                            "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq e4",
                            "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq e6",
                            "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq z6"}) {
        EXPECT_FALSE(SetupPosition(bad, false)) << bad;
        EXPECT_EQ(CurrentFen(), before) << bad;
        EXPECT_EQ(HashKey, key);
        EXPECT_EQ(Board, board);
        EXPECT_EQ(HistoryTop->key, key);
        EXPECT_EQ(GameSnapshot.board, board);
    }
}

TEST_F(FenReaderTest, UnplayablePositionsAreRejected) {
    for (const char* bad : {"8/8/8/8/8/8/8/8 w - -",                 // no kings
                            "4k3/8/8/8/8/8/8/8 w - -",               // no white king
                            "4k3/8/8/8/8/8/8/3KK3 w - -",            // two white kings
                            "4k3/4Q3/8/8/8/8/8/4K3 w - -",           // Black, not to move, in check
                            "8/8/8/8/8/8/3kK3/8 b - -",              // kings side by side
                            "4k3/pppppppp/p7/8/8/8/8/4K3 w - -",     // nine black pawns
                            "QQQQQQQQ/QQQQQQQQ/8/8/8/8/8/k3K3 w - -", // more than promotions give
                            "p7/1P6/8/8/8/8/8/K6k w - -",           // a pawn on its last rank
                            "4k3/8/8/8/8/8/8/3PK3 w - -"             // a pawn on its first rank
         }) {
        EXPECT_FALSE(SetupPosition(bad, false)) << bad;
    }
    // The side to move may be in check, and nine queens are possible after eight promotions.
    EXPECT_TRUE(SetupPosition("4k3/4Q3/8/8/8/8/8/4K3 b - -", false));
    EXPECT_TRUE(SetupPosition("3k4/8/8/8/8/8/QQQQQQQQ/Q2K4 b - -", false));
}

TEST_F(FenReaderTest, ImpossibleRightsAndEnPassantSquaresAreDropped) {
    SetUpFen("4k3/8/8/8/8/8/8/R3K3 w KQkq -");
    EXPECT_EQ(CastlingRights, WhiteLong);
    SetUpFen("r3k2r/8/8/8/8/8/8/4K2R w KQkq -");
    EXPECT_EQ(CastlingRights, WhiteShort | BlackShort | BlackLong);
    // No black pawn passed e6: the square goes, with its key.
    SetUpFen("4k3/8/8/8/8/8/8/4K3 w - e6");
    EXPECT_EQ(EnPassantSquare, 0);
    EXPECT_EQ(HashKey, KeyFromScratch());
    SetUpFen("4k3/8/8/4p3/8/8/8/4K3 w - e6");
    EXPECT_EQ(EnPassantSquare, E6);
    // In check from a piece other than the pawn that passed: no game gets here; the square goes.
    SetUpFen("7k/8/r6K/3Pp3/8/8/8/8 w - e6 0 1");
    EXPECT_EQ(EnPassantSquare, 0);
    EXPECT_EQ(HashKey, KeyFromScratch());
    // In check from that pawn itself: the capture is the answer and the square stays.
    SetUpFen("7k/8/8/3Pp3/5K2/8/8/8 w - e6 0 1");
    EXPECT_EQ(EnPassantSquare, E6);
}

TEST_F(FenReaderTest, CountersWithoutAnEnPassantFieldMeanNoSquare) {
    SetUpFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq 0 1");
    EXPECT_EQ(CurrentFen(), StartPositionFen);
    SetUpFen("4k3/8/8/8/8/8/8/4K3 b - 12 40");
    EXPECT_EQ(CurrentFen(), "4k3/8/8/8/8/8/8/4K3 b - -");
}

} // namespace velkor::test
