// EPD test-suite lines in their published variants, and the verdict on a found move.
#include <gtest/gtest.h>

#include <fstream>

#include "control/setup.h"
#include "notation/san.h"
#include "support/test_position.h"
#include "tools/epd_suite.h"

namespace velkor::test {

namespace {
class EpdSuiteTest : public PositionTest {};
} // namespace

TEST_F(EpdSuiteTest, LineVariants) {
    EpdCase epd;
    ASSERT_TRUE(ParseEpdLine("2rr3k/pp3pp1/1nnqbN1p/3pN3/2pP4/2P3Q1/PPB4P/R4RK1 w - - bm Qg6; id \"WAC.001\";", epd));
    EXPECT_EQ(epd.fen, "2rr3k/pp3pp1/1nnqbN1p/3pN3/2pP4/2P3Q1/PPB4P/R4RK1 w - -");
    EXPECT_EQ(epd.id, "WAC.001");
    EXPECT_EQ(epd.best, std::vector<std::string>{"Qg6"});
    // Counters after the position, an id before the operation, two best moves, a detached "+".
    ASSERT_TRUE(ParseEpdLine("r1b2rk1/2q1b1pp/p2ppn2/1p6/3QP3/1BN1B3/PPP3PP/R4RK1 w - - 0 1 id \"BK.05\"; bm Nd5 a4 +;", epd));
    EXPECT_EQ(epd.id, "BK.05");
    EXPECT_EQ(epd.best, (std::vector<std::string>{"Nd5", "a4"}));
    ASSERT_TRUE(ParseEpdLine("rn1qkb1r/pp2pppp/5n2/3p1b2/3P4/2N1P3/PP3PPP/R1BQKBNR w KQkq - 0 1 ; am Qb3", epd));
    EXPECT_EQ(epd.avoid, std::vector<std::string>{"Qb3"});
    EXPECT_TRUE(epd.best.empty());
    EXPECT_FALSE(ParseEpdLine("", epd));
    EXPECT_FALSE(ParseEpdLine("just words here", epd));
}

TEST_F(EpdSuiteTest, Verdicts) {
    EpdCase epd;
    ASSERT_TRUE(ParseEpdLine("rn1qkb1r/pp2pppp/5n2/3p1b2/3P4/2N1P3/PP3PPP/R1BQKBNR w KQkq - am Qb3; bm Nf3;", epd));
    ASSERT_TRUE(SetupPosition(epd.fen.c_str(), false));
    EXPECT_TRUE(EpdSolved(epd, ParseSanMove("Nf3")));
    EXPECT_FALSE(EpdSolved(epd, ParseSanMove("Qb3")));
    EXPECT_FALSE(EpdSolved(epd, ParseSanMove("e4")));
}

TEST_F(EpdSuiteTest, SolvesEasyWinAtChessPositionsAtLowDepth) {
    std::ifstream file(std::string(VELKOR_TEST_DATA) + "/epd/wac.epd");
    std::string line;
    int solved = 0, total = 0;
    while (std::getline(file, line) && total < 20) {
        EpdCase epd;
        if (!ParseEpdLine(line, epd)) continue;
        ++total;
        Move found = SearchEpdCase(epd, EpdLimits{4, 0});
        solved += EpdSolved(epd, found);
    }
    EXPECT_EQ(total, 20);
    EXPECT_GE(solved, 12);
}

} // namespace velkor::test
