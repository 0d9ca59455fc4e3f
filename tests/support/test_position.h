// Fixture helpers: the tables filled and a position set up from FEN.
#pragma once

#include <gtest/gtest.h>

#include "position/setup.h"
#include "position/tables.h"

namespace velkor::test {

class PositionTest : public ::testing::Test {
  protected:
    void SetUp() override { InitTables(); }
    static void SetUpFen(const char* fen) { ASSERT_TRUE(SetupPosition(fen, false)) << fen; }
};

} // namespace velkor::test
