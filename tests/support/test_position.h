// Fixture helpers: the tables filled and a position set up from FEN.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include <unistd.h>

#include "control/setup.h"
#include "core/tables.h"

namespace velkor::test {

class PositionTest : public ::testing::Test {
  protected:
    void SetUp() override { InitTables(); }
    static void SetUpFen(const char* fen) { ASSERT_TRUE(SetupPosition(fen, false)) << fen; }
    // A temporary path of this test and process alone: CTest runs tests side by side.
    static std::string ScratchPath(const char* suffix) {
        return std::string(::testing::TempDir()) + "velkor-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name() + "-" + std::to_string(getpid()) +
               suffix;
    }
};

} // namespace velkor::test
