// The transposition table: replacement rule, score encoding, halves, the expected line.
#include <gtest/gtest.h>

#include "notation/coordinate.h"
#include "position/position.h"
#include "search/transposition.h"
#include "support/test_position.h"

namespace velkor::test {

namespace {

class TranspositionTest : public PositionTest {
  protected:
    void SetUp() override {
        PositionTest::SetUp();
        SetUpFen(StartPositionFen);
        CurrentPly = PlyStack.data();
    }
    static HashBucket& Bucket() {
        return TranspositionTable[(LowHalf(HashKey) & HashBucketMask) +
                                  static_cast<std::uint32_t>(SideToMove) * HashBucketsPerSide];
    }
    // The slot the probe finds the current position in, or -1.
    static int FoundSlot() {
        for (int i = 0; i < HashSlots; ++i)
            if (HoldsCurrentPosition(LoadEntry(Bucket().slots[static_cast<std::size_t>(i)]))) return i;
        return -1;
    }
    // An entry of another position in the same bucket.
    static HashEntry Foreign(int depth) {
        return {(LowHalf(HashKey) & 0x000FFFFF) | 0x12300000, HighHalf(HashKey) ^ 1,
                (static_cast<std::uint32_t>(8190) << 18) | (1u << 9) | static_cast<std::uint32_t>(depth)};
    }
};

const Move E2E4 = ComposeMove(E4, E2, Quiet);
const Move D2D4 = ComposeMove(D4, D2, Quiet);

} // namespace

TEST_F(TranspositionTest, ClearedTableFindsNothing) {
    EXPECT_FALSE(ProbeHash().has_value());
}

TEST_F(TranspositionTest, SameSlotReplacementByDepthAndBound) {
    StoreHash(5, BoundLower, E2E4, 10);
    StoreHash(5, BoundExact, D2D4, 20);
    ASSERT_TRUE(ProbeHash().has_value());
    EXPECT_EQ(ProbeHash()->move(), D2D4);
    EXPECT_EQ(ProbeHash()->bound(), BoundExact);
    StoreHash(5, BoundUpper, E2E4, 30);
    EXPECT_EQ(ProbeHash()->score(), 20);
    StoreHash(4, BoundExact, E2E4, 40);
    EXPECT_EQ(ProbeHash()->score(), 20);
    StoreHash(6, BoundUpper, E2E4, 50);
    EXPECT_EQ(ProbeHash()->score(), 50);
    EXPECT_EQ(FoundSlot(), 0);
}

TEST_F(TranspositionTest, SlotChoiceForAnotherPosition) {
    Bucket().slots[0] = Foreign(7);
    Bucket().slots[1] = Foreign(2);
    StoreHash(3, BoundExact, E2E4, 0);
    EXPECT_EQ(FoundSlot(), 1);

    ClearHash();
    Bucket().slots[0] = Foreign(7);
    Bucket().slots[1] = Foreign(9);
    StoreHash(3, BoundExact, E2E4, 0);
    EXPECT_EQ(FoundSlot(), 2);

    // A book entry of another position (depth 0, one generation old) moves to slot 1.
    ClearHash();
    HashEntry book = Foreign(0);
    book.data &= ~(HashEntry::AgeMask << HashEntry::AgeShift);
    Bucket().slots[0] = book;
    StoreHash(1, BoundExact, E2E4, 0);
    EXPECT_EQ(FoundSlot(), 0);
    EXPECT_EQ(Bucket().slots[1].moveAndKey, book.moveAndKey);
}

TEST_F(TranspositionTest, ScoreEncodingAtTheLimits) {
    StoreHash(1, BoundExact, E2E4, -8190);
    EXPECT_EQ(ProbeHash()->data >> 18, 0u);
    EXPECT_EQ(ProbeHash()->score(), -8190);
    StoreHash(2, BoundExact, E2E4, 8190);
    EXPECT_EQ(ProbeHash()->score(), 8190);
    EXPECT_EQ(ProbeHash()->depth(), 2);
    EXPECT_EQ(ProbeHash()->age(), 1);
}

// Another search thread may write a slot while this one reads it: an entry made of words from two
// writes must not be taken for the position's, whichever word differs.
TEST_F(TranspositionTest, AnEntryTornBetweenTwoWritesIsAMiss) {
    StoreHash(3, BoundExact, E2E4, 7);
    const HashEntry whole = Bucket().slots[0];
    Bucket().slots[0].data ^= 1u << HashEntry::ScoreShift;
    EXPECT_FALSE(ProbeHash().has_value());
    Bucket().slots[0] = whole;
    Bucket().slots[0].moveAndKey = (whole.moveAndKey & 0xFFFF0000) | D2D4;
    EXPECT_FALSE(ProbeHash().has_value());
    Bucket().slots[0] = whole;
    EXPECT_EQ(ProbeHash()->move(), E2E4);
}

TEST_F(TranspositionTest, SidesUseDifferentHalves) {
    StoreHash(3, BoundExact, E2E4, 7);
    SideToMove = Black;
    EXPECT_FALSE(ProbeHash().has_value());
    SideToMove = White;
    EXPECT_TRUE(ProbeHash().has_value());
}

TEST_F(TranspositionTest, ExpectedLine) {
    char line[1024];
    HashLine(line, 0);
    EXPECT_STREQ(line, "");
    HashLine(line, 3);
    EXPECT_STREQ(line, "NOE ");
    StoreHash(3, BoundExact, E2E4, 0);
    HashLine(line, 3);
    EXPECT_STREQ(line, "e2e4 NOE ");
    // A move that does not fit the position ends the line.
    StoreHash(4, BoundExact, ComposeMove(E5, E2, Quiet), 0);
    HashLine(line, 3);
    EXPECT_STREQ(line, "");
    SetUpFen("6k1/5ppp/8/8/8/8/5PPP/3R2K1 b - -");
    StoreHash(0, BoundExact, ResultMated, 0);
    HashLine(line, 3);
    EXPECT_STREQ(line, "# ");
}

} // namespace velkor::test
