// The clock formula and the parsing of "level" and "time" arguments.
#include <gtest/gtest.h>

#include "control/time_control.h"

namespace velkor::test {

namespace {

class TimeControlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        MovesPerControl = DefaultMovesPerControl;
        IncrementMs = 0;
        MoveTimeMs = 0;
    }
};

} // namespace

TEST_F(TimeControlTest, ClockFormula) {
    ApplyClock(30000);
    EXPECT_EQ(MoveTimeMs, 7470u);
    ApplyClock(199);
    EXPECT_EQ(MoveTimeMs, 40u);
    ApplyClock(200);
    EXPECT_EQ(MoveTimeMs, 20u);
    IncrementMs = 500;
    ApplyClock(30);
    EXPECT_EQ(MoveTimeMs, 500u);
}

TEST_F(TimeControlTest, NegativeOrAbsurdClockIsEmpty) {
    IncrementMs = 0;
    ApplyClock(-500);
    EXPECT_EQ(MoveTimeMs, 0u);
    ApplyClock(10000000000LL);
    EXPECT_EQ(MoveTimeMs, 0u);
}

TEST_F(TimeControlTest, Level) {
    EXPECT_TRUE(ApplyLevel("0", "5", "3"));
    EXPECT_EQ(MovesPerControl, 40u);
    EXPECT_EQ(IncrementMs, 3000u);
    EXPECT_TRUE(ApplyLevel("0", "2", "12"));
    ApplyClock(12000);
    EXPECT_EQ(MoveTimeMs, 14970u);
    EXPECT_TRUE(ApplyLevel("40", "5:30", "0"));
    EXPECT_EQ(MovesPerControl, 40u);
    EXPECT_EQ(IncrementMs, 0u);
    EXPECT_TRUE(ApplyLevel("0", "0:10", "0.1"));
    EXPECT_EQ(IncrementMs, 100u);
    EXPECT_TRUE(ApplyLevel("30", "1", "2.5"));
    EXPECT_EQ(MovesPerControl, 30u);
    EXPECT_EQ(IncrementMs, 2500u);
}

TEST_F(TimeControlTest, MalformedLevelKeepsTheSettings) {
    ASSERT_TRUE(ApplyLevel("30", "1", "2"));
    for (auto [moves, base, increment] : {std::tuple{"x", "5", "0"}, std::tuple{"40", "5", "y"},
                                          std::tuple{"40", "5:", "0"}, std::tuple{"-1", "5", "0"},
                                          std::tuple{"40", "5", "-2"}, std::tuple{"40", "a", "0"}}) {
        EXPECT_FALSE(ApplyLevel(moves, base, increment)) << moves << " " << base << " " << increment;
        EXPECT_EQ(MovesPerControl, 30u);
        EXPECT_EQ(IncrementMs, 2000u);
    }
}

TEST_F(TimeControlTest, TheCapKeepsAReserveAndLeavesWhatTheClockCovers) {
    SetTestTimeControl();
    EXPECT_GT(MoveTimeCapMs(), 1'000'000'000) << "no clock known: the formula alone";
    // One move per control: the clock refills after it, so the formula's 9 s stand.
    ASSERT_TRUE(ApplyLevel("1", "1", "0"));
    ApplyClock(1000);
    EXPECT_EQ(MoveTimeMs, 9000u);
    EXPECT_EQ(MoveTimeCapMs(), 9000);
    // An increment larger than the clock: all but one second of it.
    ASSERT_TRUE(ApplyLevel("0", "0", "5"));
    ApplyClock(300);
    EXPECT_EQ(MoveTimeMs, 5050u);
    EXPECT_EQ(MoveTimeCapMs(), 2000);
    // Below two seconds, a third of the clock less a reserve, as ever.
    ASSERT_TRUE(ApplyLevel("0", "0", "2"));
    ApplyClock(150);
    EXPECT_EQ(MoveTimeMs, 2030u);
    EXPECT_EQ(MoveTimeCapMs(), 1500 / 3 - 100);
    ApplyClock(10);
    EXPECT_EQ(MoveTimeCapMs(), 0);
    ApplyClock(-1);
    EXPECT_EQ(MoveTimeCapMs(), 0);
    // "level 0 0:10 0.1": the formula stays far below the cap on every clock.
    ASSERT_TRUE(ApplyLevel("0", "0:10", "0.1"));
    for (long long clock : {1000, 500, 200, 100, 30}) {
        ApplyClock(clock);
        EXPECT_LE(MoveTimeMs, 320u);
        EXPECT_LT(MoveTimeCapMs(), clock * 10);
    }
}

TEST_F(TimeControlTest, UciOverheadGuardsTheCapOnly) {
    // 1+0.01 with the default 50 ms: the clock's share stays whole, the cap gives up the overhead.
    ApplyUciTime(1000, 10, 0, NoUciMoveTime, 50);
    EXPECT_EQ(MoveTimeMs, 30u);
    EXPECT_EQ(MoveTimeCapMs(), 1000 / 3 - 100 - 50);
    ApplyUciTime(60000, 1000, 0, NoUciMoveTime, 50);
    EXPECT_EQ(MoveTimeMs, 2470u);
    EXPECT_EQ(MoveTimeCapMs(), 60000 - 1000 - 50);
    // A fixed move time gives up the overhead itself, as there is no clock to guard.
    ApplyUciTime(NoUciClock, 0, 0, 1000, 50);
    EXPECT_EQ(MoveTimeMs, 950u);
    // An empty clock: no time at all, whatever the share.
    ApplyUciTime(100, 1000, 0, NoUciMoveTime, 50);
    EXPECT_EQ(MoveTimeCapMs(), 0);
}

TEST_F(TimeControlTest, FailLowExtraTimeStopsShortOfTheClock) {
    ASSERT_TRUE(ApplyLevel("40", "5", "0"));
    ApplyClock(30000);
    EXPECT_EQ(MoveTimeMs, 7470u);
    EXPECT_EQ(FailLowExtraTimeMs(7470), 14940) << "twice the budget, well within the clock";
    ApplyClock(1000);
    MoveTimeMs = 7000; // a budget near the clock (the book exit can triple one)
    EXPECT_EQ(FailLowExtraTimeMs(7000), 2000) << "up to the clock less one second";
    EXPECT_EQ(FailLowExtraTimeMs(9500), 0);
    MoveTimeMs = 6000;
    EXPECT_EQ(FailLowExtraTimeMs(100), 0) << "budgets of six seconds or less get none";
}

TEST_F(TimeControlTest, FixedSecondsPerMoveHoldUntilTheNextLevel) {
    ASSERT_TRUE(ApplyFixedMoveTime("2"));
    EXPECT_EQ(MoveTimeMs, 1900u) << "less the reserve for the stop";
    ApplyClock(30000);
    EXPECT_EQ(MoveTimeMs, 1900u) << "the clock does not change it";
    BookMovePlayed = 1;
    ApplyBookExitTime();
    EXPECT_EQ(MoveTimeMs, 1900u) << "nor the book exit";
    MoveTimeMs = 7000;
    EXPECT_EQ(FailLowExtraTimeMs(7000), 0) << "nor extra time";
    EXPECT_FALSE(ApplyFixedMoveTime("0"));
    EXPECT_FALSE(ApplyFixedMoveTime("x"));
    EXPECT_EQ(MoveTimeMs, 7000u) << "a refused setting changes nothing";
    ASSERT_TRUE(ApplyFixedMoveTime("0.01"));
    EXPECT_EQ(MoveTimeMs, 5u) << "below the reserve a move keeps half of what was asked";
    ASSERT_TRUE(ApplyLevel("40", "5", "0"));
    ApplyClock(30000);
    EXPECT_EQ(MoveTimeMs, 7470u) << "level brings the clock back";
}

TEST_F(TimeControlTest, BookExit) {
    MoveTimeMs = 7470;
    BookMovePlayed = 1;
    ApplyBookExitTime();
    EXPECT_EQ(MoveTimeMs, 22410u);
    EXPECT_EQ(BookMovePlayed, 0);
    MovesPerControl = 5;
    MoveTimeMs = 7470;
    ApplyBookExitTime();
    EXPECT_EQ(MoveTimeMs, 3735u);
}

TEST_F(TimeControlTest, TestCommandTimeWraps) {
    SetTestTimeControl();
    EXPECT_EQ(MovesPerControl, 1u);
    EXPECT_EQ(IncrementMs, 0u);
    EXPECT_EQ(MoveTimeMs, 2579861226u);
}

TEST_F(TimeControlTest, IntegerParsing) {
    long long value = 7;
    EXPECT_TRUE(ParseInteger("-12", value));
    EXPECT_EQ(value, -12);
    EXPECT_FALSE(ParseInteger("12x", value));
    EXPECT_FALSE(ParseInteger("", value));
    EXPECT_FALSE(ParseInteger("99999999999999999999999", value));
    EXPECT_EQ(value, -12);
}

} // namespace velkor::test
