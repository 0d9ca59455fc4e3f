// Make/unmake: every global restored bit for bit, incremental keys and counters equal to a
// recomputation over whole perft trees, and the special moves' bookkeeping.
#include <gtest/gtest.h>

#include "movegen/attacks.h"
#include "movegen/generators.h"
#include "notation/coordinate.h"
#include "position/make_move.h"
#include "support/position_state.h"
#include "support/test_position.h"

namespace velkor::test {

namespace {

class MakeMoveTest : public PositionTest {
  protected:
    std::uint16_t rightsAtSetup = 0;
    long checkedMoves = 0;

    void SetUpPosition(const char* fen) {
        SetUpFen(fen);
        rightsAtSetup = CastlingRights;
        CurrentPly = PlyStack.data();
    }

    // Everything that make-move maintains, rebuilt from Board alone.
    void ExpectConsistent(Move move) {
        char text[8];
        FormatCoordinateMove(text, move);
        std::array<Bitboard, 11> pieces{};
        std::array<Bitboard, 2> colours{};
        std::array<std::uint8_t, 2> pieceMaterial{}, pawnCount{};
        int material = 0;
        for (int s = 0; s < SquareCount; ++s) {
            int piece = Board[s];
            if (!piece) continue;
            colours[ColourOf(piece)] |= MaskOf(s);
            if (IsKing(piece)) {
                ASSERT_EQ(KingSquare[ColourOf(piece)], s) << text;
                continue;
            }
            pieces[piece] |= MaskOf(s);
            material += MaterialUnits[piece];
            if (IsPawn(piece)) ++pawnCount[ColourOf(piece)];
            else pieceMaterial[ColourOf(piece)] += MaterialUnits[piece];
        }
        for (int piece = 1; piece <= BlackQueen; ++piece) ASSERT_EQ(PieceBitboards[piece], pieces[piece]) << text;
        ASSERT_EQ(ColourOccupancy, colours) << text;
        ASSERT_EQ(Occupied, colours[0] | colours[1]) << text;
        ASSERT_EQ(OccupiedRot90, RotateTo90(Occupied)) << text;
        ASSERT_EQ(OccupiedRotA1H8, RotateToA1H8(Occupied)) << text;
        ASSERT_EQ(OccupiedRotA8H1, RotateToA8H1(Occupied)) << text;
        ASSERT_EQ(MaterialCount, material) << text;
        ASSERT_EQ(PieceMaterial, pieceMaterial) << text;
        ASSERT_EQ(PawnCount, pawnCount) << text;
        ASSERT_EQ(HashKey, RecomputedKey(rightsAtSetup)) << text;
        ASSERT_EQ(PawnKey, RecomputedPawnKey()) << text;
        ASSERT_EQ(HistoryTop->key, HashKey) << text;
    }

    void WalkTree(int depth, ScoredMove* list) {
        PlyRecord& record = *CurrentPly;
        ScoredMove* end = GenerateForPly(list, record);
        SaveSnapshot(record);
        int mover = SideToMove;
        for (ScoredMove* entry = list; entry != end; ++entry) {
            PositionState before = PositionState::Capture();
            MakeMove(entry->move, record);
            ++checkedMoves;
            ExpectConsistent(entry->move);
            if (HasFatalFailure()) return;
            if (depth > 1 && !LeavesKingAttacked(entry->move, mover)) {
                ++CurrentPly;
                WalkTree(depth - 1, end);
                --CurrentPly;
                if (HasFatalFailure()) return;
            }
            UnmakeMove(entry->move, record);
            ASSERT_TRUE(PositionState::Capture() == before) << "make/unmake of " << entry->move;
        }
    }
};

Move Parse(const char* text) { return ParseCoordinateMove(text); }

// Plays a game move (snapshot, make) and refreshes the snapshot for the next parse.
void Play(const char* text, PlyRecord& record) {
    Move move = Parse(text);
    ASSERT_NE(move, NoMove) << text;
    SaveSnapshot(record);
    MakeMove(move, record);
    RefreshGameSnapshot();
}

} // namespace

TEST_F(MakeMoveTest, TreesRestoreEveryGlobalAndKeepKeysExact) {
    ScoredMove moves[MaxMoves * 8];
    for (const char* fen : {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
                            "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
                            "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
                            "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -",
                            "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ -",
                            "r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ -",
                            "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6"}) {
        SetUpPosition(fen);
        WalkTree(3, moves);
        if (HasFatalFailure()) FAIL() << fen;
    }
    EXPECT_GT(checkedMoves, 100000);
}

TEST_F(MakeMoveTest, DoubleStepSetsTheEnPassantSquare) {
    SetUpPosition(StartPositionFen);
    HashKeyValue start = HashKey;
    Play("e2e4", PlyStack[0]);
    EXPECT_EQ(EnPassantSquare, E3);
    EXPECT_EQ(HistoryTop->halfmoveClock, 0);
    EXPECT_EQ(HashKey, start ^ ZobristKeys[WhitePawn][E2] ^ ZobristKeys[WhitePawn][E4] ^ ZobristKeys[0][E3]);
    Play("g8f6", PlyStack[1]);
    EXPECT_EQ(EnPassantSquare, 0);
    EXPECT_EQ(HistoryTop->halfmoveClock, 1);
    EXPECT_EQ(HashKey, RecomputedKey(rightsAtSetup));
}

TEST_F(MakeMoveTest, KingMovesAndCastlingLoseRightsWithTheirKeys) {
    SetUpPosition("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
    HashKeyValue before = HashKey;
    Play("e1f1", PlyStack[0]);
    EXPECT_EQ(CastlingRights, BlackShort | BlackLong);
    EXPECT_EQ(HashKey, before ^ ZobristKeys[WhiteKing][E1] ^ ZobristKeys[WhiteKing][F1] ^
                           CastlingRightKey(WhiteShort) ^ CastlingRightKey(WhiteLong));

    SetUpPosition("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
    before = HashKey;
    Play("e1g1", PlyStack[0]);
    EXPECT_EQ(CastlingRights, 24);
    EXPECT_EQ(Board[G1], WhiteKing);
    EXPECT_EQ(Board[F1], WhiteRook);
    EXPECT_EQ(Board[H1], Empty);
    EXPECT_EQ(KingSquare[White], G1);
    EXPECT_EQ(HistoryTop->halfmoveClock, 0);
    EXPECT_EQ(HashKey, before ^ ZobristKeys[WhiteKing][E1] ^ ZobristKeys[WhiteKing][G1] ^
                           ZobristKeys[WhiteRook][H1] ^ ZobristKeys[WhiteRook][F1] ^
                           CastlingRightKey(WhiteShort) ^ CastlingRightKey(WhiteLong));
    // A capture on h8 loses the black king-side right.
    SetUpPosition("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
    Play("h1h8", PlyStack[0]);
    EXPECT_EQ(CastlingRights, WhiteLong | BlackLong);
}

TEST_F(MakeMoveTest, EnPassantAndPromotionBookkeeping) {
    SetUpPosition("4k3/8/8/3pP3/8/8/8/4K3 w - d6");
    PlyRecord record;
    PositionState before = PositionState::Capture();
    SaveSnapshot(record);
    Move capture = ComposeMove(D6, E5, EnPassant);
    MakeMove(capture, record);
    EXPECT_EQ(Board[D5], Empty);
    EXPECT_EQ(Board[D6], WhitePawn);
    EXPECT_EQ(MaterialCount, 1);
    EXPECT_EQ(PawnCount[Black], 0);
    EXPECT_EQ(OccupiedRot90, RotateTo90(Occupied));
    UnmakeMove(capture, record);
    EXPECT_TRUE(PositionState::Capture() == before);

    SetUpPosition("6r1/4P2P/8/8/8/8/8/k3K3 w - -");
    SaveSnapshot(record);
    Move promotion = ComposeMove(E8, E7, PromoteQueen);
    MakeMove(promotion, record);
    EXPECT_EQ(Board[E8], WhiteQueen);
    EXPECT_EQ(MaterialCount, 5 + 1 + 9);
    EXPECT_EQ(PieceMaterial[White], 9);
    EXPECT_EQ(PawnCount[White], 1);
    UnmakeMove(promotion, record);

    SetUpPosition("4k2r/6P1/8/8/8/8/8/4K3 w k -");
    SaveSnapshot(record);
    Move underPromotion = ComposeMove(H8, G7, CapturePromoteKnight);
    MakeMove(underPromotion, record);
    EXPECT_EQ(CastlingRights, 0);
    EXPECT_EQ(PieceMaterial[Black], 0);
    EXPECT_EQ(PieceMaterial[White], 3);
    EXPECT_EQ(record.materialDelta, 2 - 5);
    EXPECT_EQ(HashKey, RecomputedKey(rightsAtSetup));
}

TEST_F(MakeMoveTest, NullMoveAndMarkers) {
    SetUpPosition("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3");
    PositionState before = PositionState::Capture();
    PlyRecord record;
    MakeNullMove(record);
    EXPECT_EQ(SideToMove, White);
    EXPECT_EQ(EnPassantSquare, 0);
    EXPECT_EQ(HashKey, before.key ^ ZobristKeys[0][E3]);
    EXPECT_EQ((HistoryTop - 1)->move, NullMoveMarker);
    UnmakeNullMove(record);
    EXPECT_TRUE(PositionState::Capture() == before);
    SetUpPosition("4k3/8/8/8/8/8/8/4K3 w - -");
    HashKeyValue key = HashKey;
    MakeNullMove(record);
    EXPECT_EQ(HashKey, key);
    UnmakeNullMove(record);
    EXPECT_THROW(MakeMove(ResultMated, record), MarkerMoveError);
}

TEST_F(MakeMoveTest, HashMoveDrawRiskSeesRepetitions) {
    SetUpPosition(StartPositionFen);
    EXPECT_EQ(HashMoveDrawRisk(Parse("e2e4")), 0);
    const char* cycle[] = {"g1f3", "g8f6", "f3g1", "f6g8"};
    for (int i = 0; i < 4; ++i) Play(cycle[i], PlyStack[i]);
    EXPECT_EQ(HashMoveDrawRisk(Parse("g1f3")), 1);
    for (int i = 0; i < 4; ++i) Play(cycle[i], PlyStack[4 + i]);
    EXPECT_EQ(HashMoveDrawRisk(Parse("g1f3")), 2);
    EXPECT_EQ(HashMoveDrawRisk(Parse("e2e4")), 0);
}

} // namespace velkor::test
