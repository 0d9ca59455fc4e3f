// The generators: fixed order and scores, evasions against the full generator, captures as a
// subset of the full list.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "movegen/attacks.h"
#include "movegen/generators.h"
#include "notation/coordinate.h"
#include "position/make_move.h"
#include "support/test_position.h"

namespace velkor::test {

namespace {

class GeneratorsTest : public PositionTest {
  protected:
    ScoredMove moves[MaxMoves];
    std::vector<ScoredMove> All() {
        ComputeCheckInfo(PlyStack[0]);
        return {moves, GenerateAll[SideToMove](moves)};
    }
    std::vector<ScoredMove> Captures() { return {moves, GenerateCaptures[SideToMove](moves)}; }
    std::vector<ScoredMove> Evasions() {
        ComputeCheckInfo(PlyStack[0]);
        return {moves, GenerateEvasions[SideToMove](moves, PlyStack[0])};
    }
};

std::string Texts(const std::vector<ScoredMove>& list) {
    std::string text;
    for (const ScoredMove& entry : list) {
        char move[8];
        FormatCoordinateMove(move, entry.move);
        if (!text.empty()) text += ' ';
        text += move;
    }
    return text;
}

int ScoreOf(const std::vector<ScoredMove>& list, const char* text) {
    for (const ScoredMove& entry : list) {
        char move[8];
        FormatCoordinateMove(move, entry.move);
        if (text == std::string(move)) return entry.score;
    }
    ADD_FAILURE() << text << " not generated";
    return 0;
}

// The legal subset of a pseudo-legal list, sorted by move code.
std::vector<Move> LegalMoves(const std::vector<ScoredMove>& list) {
    std::vector<Move> legal;
    PlyRecord record;
    SaveSnapshot(record);
    int mover = SideToMove;
    for (const ScoredMove& entry : list) {
        MakeMove(entry.move, record);
        if (!LeavesKingAttacked(entry.move, mover)) legal.push_back(entry.move);
        UnmakeMove(entry.move, record);
    }
    std::sort(legal.begin(), legal.end());
    return legal;
}

} // namespace

TEST_F(GeneratorsTest, StartPositionOrder) {
    SetUpFen(StartPositionFen);
    auto list = All();
    EXPECT_EQ(Texts(list), "g1h3 g1f3 b1c3 b1a3 h2h4 g2g4 f2f4 e2e4 d2d4 c2c4 b2b4 a2a4 "
                           "h2h3 g2g3 f2f3 e2e3 d2d3 c2c3 b2b3 a2a3");
    for (const ScoredMove& entry : list) EXPECT_EQ(entry.score, ScoreQuiet);
    SetUpFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq -");
    // Sets are walked from the highest square down, for Black too.
    EXPECT_EQ(Texts(All()), "g8h6 g8f6 b8c6 b8a6 h7h5 g7g5 f7f5 e7e5 d7d5 c7c5 b7b5 a7a5 "
                            "h7h6 g7g6 f7f6 e7e6 d7d6 c7c6 b7b6 a7a6");
}

TEST_F(GeneratorsTest, PromotionsEnPassantAndCastling) {
    // The pawn on g7 captures on f8 and h8 and steps to g8: captures first, then pushes.
    SetUpFen("4kr1r/6P1/8/8/8/8/8/4K3 w - -");
    auto list = All();
    EXPECT_EQ(Texts(list).substr(0, 59), "g7f8q g7f8n g7f8r g7f8b g7h8q g7h8n g7h8r g7h8b g7g8q g7g8n");
    EXPECT_EQ(ScoreOf(list, "g7h8q"), 500 - 9401);
    EXPECT_EQ(ScoreOf(list, "g7h8b"), 500 - 30050);
    EXPECT_EQ(ScoreOf(list, "g7g8n"), ScorePromoteKnight);
    // Two en-passant captures, the capture towards the a-file first.
    SetUpFen("4k3/8/8/3PpP2/8/8/8/4K3 w - e6");
    list = All();
    EXPECT_EQ(Texts(list).substr(0, 9), "f5e6 d5e6");
    EXPECT_EQ(list[0].move, ComposeMove(E6, F5, EnPassant));
    EXPECT_EQ(list[0].score, ScoreEnPassant);
    // Castling is emitted even in check; the legality test rejects it afterwards.
    SetUpFen("r3k2r/8/8/8/8/8/4q3/R3K2R w KQkq -");
    list = All();
    EXPECT_EQ(ScoreOf(list, "e1g1"), ScoreCastleShort);
    EXPECT_EQ(ScoreOf(list, "e1c1"), ScoreCastleLong);
    EXPECT_EQ(list.back().move, CastleLongWhiteMove);
}

TEST_F(GeneratorsTest, CaptureScores) {
    // Knight takes a bishop: scored directly. Knight takes a pawn: exchange evaluation.
    SetUpFen("4k3/8/3b4/8/4N3/8/8/4K3 w - -");
    EXPECT_EQ(ScoreOf(All(), "e4d6"), 315 - 9810);
    SetUpFen("4k3/2p5/3p4/8/4N3/8/8/4K3 w - -");
    EXPECT_LT(ScoreOf(All(), "e4d6"), -30000);
    // Kings never become adjacent, not even by a capture.
    SetUpFen("8/8/8/3k4/3p4/3K4/8/8 w - -");
    for (const ScoredMove& entry : All()) EXPECT_NE(MoveTo(entry.move), D4);
    SetUpFen("8/8/8/8/8/8/8/k1K5 w - -");
    EXPECT_EQ(Texts(All()), "c1d1 c1d2 c1c2");
}

TEST_F(GeneratorsTest, EvasionOrderAndBlocks) {
    // Black king f5, White has just played e2-e4 with check: the en-passant captures first.
    SetUpFen("8/8/8/5k2/3pPp2/8/8/4K3 b - e3");
    auto list = Evasions();
    EXPECT_EQ(Texts(list).substr(0, 9), "d4e3 f4e3");
    // A distant rook check: interpositions by every piece, no step towards the rook.
    SetUpFen("4r1k1/8/8/8/8/2N5/3B4/R3K3 w - -");
    list = Evasions();
    std::string texts = Texts(list);
    for (const char* block : {"c3e2", "c3e4", "d2e3"}) EXPECT_NE(texts.find(block), std::string::npos) << block;
    EXPECT_EQ(texts.find("e1e2"), std::string::npos);
    EXPECT_EQ(ScoreOf(list, "c3e2"), -30310);
    EXPECT_EQ(ScoreOf(list, "d2e3"), -30315);
    // Double check: only king moves.
    SetUpFen("4k3/8/8/8/8/3n4/8/4K2r w - -");
    for (const ScoredMove& entry : Evasions()) EXPECT_EQ(MoveFrom(entry.move), E1);
    // A defended adjacent queen: the king may take it, scored as the worst of all.
    SetUpFen("4k3/8/8/8/8/1n6/3q4/4K3 w - -");
    EXPECT_EQ(ScoreOf(Evasions(), "e1d2"), -32767);
}

TEST_F(GeneratorsTest, EvasionsAgreeWithTheFullGeneratorInCheck) {
    int positionsInCheck = 0;
    for (const char* fen : {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
                            "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
                            "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -",
                            "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ -"}) {
        SetUpFen(fen);
        // Every position two plies deep that is in check.
        ScoredMove first[MaxMoves], second[MaxMoves];
        PlyRecord r1, r2;
        ComputeCheckInfo(r1);
        ScoredMove* end1 = r1.checkers ? GenerateEvasions[SideToMove](first, r1) : GenerateAll[SideToMove](first);
        SaveSnapshot(r1);
        for (ScoredMove* a = first; a != end1; ++a) {
            int mover = SideToMove;
            MakeMove(a->move, r1);
            if (!LeavesKingAttacked(a->move, mover)) {
                ComputeCheckInfo(r2);
                ScoredMove* end2 = r2.checkers ? GenerateEvasions[SideToMove](second, r2)
                                               : GenerateAll[SideToMove](second);
                SaveSnapshot(r2);
                for (ScoredMove* b = second; b != end2; ++b) {
                    int mover2 = SideToMove;
                    MakeMove(b->move, r2);
                    if (!LeavesKingAttacked(b->move, mover2)) {
                        ComputeCheckInfo(PlyStack[0]);
                        if (PlyStack[0].checkers) {
                            ++positionsInCheck;
                            EXPECT_EQ(LegalMoves(Evasions()), LegalMoves(All()));
                        }
                        // Captures are a subset of the full list with the same scores, except the
                        // plain queen promotion, which only the capture generator scores by the
                        // exchange evaluation.
                        auto all = All();
                        for (const ScoredMove& capture : Captures()) {
                            auto found = std::find_if(all.begin(), all.end(), [&](const ScoredMove& m) {
                                return m.move == capture.move;
                            });
                            ASSERT_NE(found, all.end());
                            if (KindOf(capture.move) != PromoteQueen) {
                                EXPECT_EQ(found->score, capture.score);
                            }
                        }
                    }
                    UnmakeMove(b->move, r2);
                }
            }
            UnmakeMove(a->move, r1);
        }
    }
    EXPECT_GT(positionsInCheck, 50);
}

TEST_F(GeneratorsTest, CaptureGeneratorDropsLosingCaptures) {
    // e8 covered by a black rook only: the queen promotion loses and is dropped.
    SetUpFen("r6k/4P3/8/8/8/8/8/4K3 w - -");
    EXPECT_EQ(Texts(Captures()), "");
    SetUpFen("7k/4P3/8/8/8/8/8/4K3 w - -");
    auto list = Captures();
    ASSERT_EQ(Texts(list), "e7e8q");
    EXPECT_GT(list[0].score, -9000);
    // Capturing promotions on both sides come before the plain promotion; no under-promotion.
    SetUpFen("3n1n1k/4P3/8/8/8/8/8/4K3 w - -");
    EXPECT_EQ(Texts(Captures()), "e7d8q e7d8n e7d8r e7d8b e7f8q e7f8n e7f8r e7f8b e7e8q");
    // A queen taking a pawn defended by a pawn is not emitted; pawn captures always are.
    SetUpFen("7k/8/2p5/3p4/4P3/8/8/3QK3 w - -");
    EXPECT_EQ(Texts(Captures()), "e4d5");
    SetUpFen("7k/8/8/8/8/8/8/4K3 w - -");
    EXPECT_TRUE(Captures().empty());
}

} // namespace velkor::test
