// Perft over the public reference suites: every count up to a node budget must match exactly.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "control/setup.h"
#include "core/tables.h"
#include "tools/perft.h"

namespace velkor::test {

namespace {

// Counts above a suite's budget are left to `velkor-tool perftsuite`; the sanitizer build runs
// a shallow pass.
#ifdef VELKOR_SANITIZED
constexpr std::uint64_t BudgetScale = 100;
#else
constexpr std::uint64_t BudgetScale = 1;
#endif

struct Suite {
    const char* file;
    std::uint64_t budget;  // largest count checked
    bool everyLine;        // every line has a count within the budget
};

struct SuiteRun {
    int checked = 0;
    int lines = 0;
};

SuiteRun RunSuite(const std::string& name, std::uint64_t budget) {
    SuiteRun run;
    std::ifstream file(std::string(VELKOR_TEST_DATA) + "/perft/" + name);
    EXPECT_TRUE(file.good()) << name;
    std::string line;
    for (int lineNumber = 1; std::getline(file, line); ++lineNumber) {
        PerftCase perftCase;
        if (!ParsePerftLine(line, perftCase)) continue;
        ++run.lines;
        if (!SetupBoardOnly(perftCase.fen.c_str())) {
            ADD_FAILURE() << name << ":" << lineNumber << " not accepted: " << perftCase.fen;
            continue;
        }
        for (auto [depth, expected] : perftCase.counts) {
            if (expected > budget) continue;
            EXPECT_EQ(Perft(depth), expected) << name << ":" << lineNumber << " D" << depth << " " << perftCase.fen;
            ++run.checked;
        }
    }
    return run;
}

class PerftSuite : public ::testing::TestWithParam<Suite> {
  protected:
    void SetUp() override { InitTables(); }
};

} // namespace

TEST_P(PerftSuite, CountsMatch) {
    const Suite& suite = GetParam();
    SuiteRun run = RunSuite(suite.file, suite.budget / BudgetScale);
    EXPECT_GT(run.checked, 0);
    if (suite.everyLine && BudgetScale == 1) {
        EXPECT_GE(run.checked, run.lines) << "every position is checked at some depth";
    }
}

// The Stockfish-derived low-depth file holds shallow counts for the positions of the tricky,
// double-check and en-passant files whose published counts are all deep.
INSTANTIATE_TEST_SUITE_P(
    Reference, PerftSuite,
    ::testing::Values(Suite{"reference.epd", 3'000'000, true}, Suite{"perftsuite.epd", 1'000'000, true},
                      Suite{"python-chess-tricky.epd", 3'000'000, true},
                      Suite{"ferdy-double-checks.epd", 3'000'000, true},
                      Suite{"stockfish-lowdepth.epd", 10'000'000, true},
                      Suite{"whittington-tricky.epd", 1'000'000, false},
                      Suite{"ferdy-enpassant.epd", 20'000, false},
                      Suite{"marcel-random.epd", 20'000, true}),
    [](const ::testing::TestParamInfo<Suite>& param) {
        std::string name = param.param.file;
        std::string clean;
        for (char c : name.substr(0, name.find('.')))
            clean += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return clean;
    });

TEST(Perft, MirroredPositionsCountAlike) {
    InitTables();
    const char* pairs[][2] = {
        {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -",
         "r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ -"},
        {"8/8/8/3k4/8/8/4P3/4K3 w - -", "4k3/4p3/8/8/3K4/8/8/8 b - -"},
        {"r3k2r/8/8/8/3pPp2/8/8/R3K2R b KQkq e3", "r3k2r/8/8/3PpP2/8/8/8/R3K2R w KQkq e6"}};
    for (auto& pair : pairs) {
        ASSERT_TRUE(SetupBoardOnly(pair[0]));
        std::uint64_t white = Perft(3);
        ASSERT_TRUE(SetupBoardOnly(pair[1]));
        EXPECT_EQ(Perft(3), white) << pair[0];
    }
}

} // namespace velkor::test
