// The bench signature: the node count of the bench positions at a fixed depth changes only when
// the search or the evaluation changes. A deliberate change updates it and says so.
#include <gtest/gtest.h>

#include "core/tables.h"
#include "tools/bench.h"

namespace velkor::test {

inline constexpr int SignatureDepth = 5;
inline constexpr std::uint64_t SignatureNodes = 221396;

TEST(Bench, SignatureAtDepthFive) {
    InitTables();
    EXPECT_EQ(RunBench(SignatureDepth, false).nodes, SignatureNodes);
}

} // namespace velkor::test
