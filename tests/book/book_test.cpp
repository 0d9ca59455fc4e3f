// The opening book: planting, the chosen line at branches, and every way a file can be wrong.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "book/book.h"
#include "notation/coordinate.h"
#include "position/make_move.h"
#include "search/transposition.h"
#include "support/engine_process.h"
#include "support/position_state.h"
#include "support/test_position.h"

namespace velkor::test {

namespace {

using Line = std::vector<const char*>;

class BookTest : public PositionTest {
  protected:
    std::string path = ScratchPath(".book");

    void SetUp() override {
        PositionTest::SetUp();
        CurrentPly = PlyStack.data();
        SetUpFen(StartPositionFen);
    }
    void TearDown() override { std::remove(path.c_str()); }

    // Moves as codes of the positions they are played in, from the start position.
    static std::vector<Move> Codes(const Line& line) {
        std::vector<Move> codes;
        PlyRecord records[64];
        int made = 0;
        for (const char* text : line) {
            Move move = ParseCoordinateMoveLive(text);
            codes.push_back(move);
            SaveSnapshot(records[made]);
            MakeMove(move, records[made++]);
        }
        while (made > 0) --made, UnmakeMove(codes[static_cast<std::size_t>(made)], records[made]);
        return codes;
    }

    void Write(const std::string& header, const std::vector<Line>& lines, int countOverride = -1,
               bool truncate = false) {
        std::ofstream file(path, std::ios::binary);
        file << header;
        for (const Line& line : lines) {
            std::vector<Move> codes = Codes(line);
            file.put(static_cast<char>(countOverride >= 0 ? countOverride : static_cast<int>(codes.size())));
            std::size_t written = truncate ? codes.size() - 1 : codes.size();
            for (std::size_t i = 0; i < written; ++i) {
                file.put(static_cast<char>(codes[i] & 0xFF));
                file.put(static_cast<char>(codes[i] >> 8));
            }
        }
    }

    // The book move planted for the position after the given moves, or NoMove.
    static Move BookMoveAfter(const Line& line) {
        std::vector<Move> codes = Codes(line);
        PlyRecord records[64];
        for (std::size_t i = 0; i < codes.size(); ++i) {
            SaveSnapshot(records[i]);
            MakeMove(codes[i], records[i]);
        }
        std::optional<HashEntry> entry = ProbeHash();
        Move move = entry && entry->age() == 0 ? entry->move() : NoMove;
        for (std::size_t i = codes.size(); i-- > 0;) UnmakeMove(codes[i], records[i]);
        return move;
    }

    void ExpectFailureLeavesEverything() {
        PositionState before = PositionState::Capture();
        std::uint16_t age = HashAge;
        EXPECT_FALSE(LoadBook(path.c_str()));
        EXPECT_TRUE(PositionState::Capture() == before);
        EXPECT_EQ(CurrentPly, PlyStack.data());
        EXPECT_EQ(HashAge, age);
    }

    static std::string Text(Move move) {
        char text[8];
        FormatCoordinateMove(text, move);
        return text;
    }
};

const Line Open = {"e2e4", "e7e5", "g1f3", "b8c6"};
const Line Italian = {"e2e4", "e7e5", "f1c4"};
const Line Queen = {"d2d4", "d7d5", "c2c4"};

} // namespace

TEST_F(BookTest, PlantsEveryPositionAndTheChosenLineWinsAtBranches) {
    Write("3\n", {Open, Italian, Queen});
    for (int attempt = 0; attempt < 3; ++attempt) {
        SetUpFen(StartPositionFen);
        ASSERT_TRUE(LoadBook(path.c_str()));
        EXPECT_EQ(CurrentPly, PlyStack.data());
        std::string first = Text(BookMoveAfter({}));
        std::string branch = Text(BookMoveAfter({"e2e4", "e7e5"}));
        EXPECT_TRUE(first == "e2e4" || first == "d2d4") << first;
        // The Italian line is planted after the open one unless the open one is chosen.
        if (branch == "g1f3") {
            EXPECT_EQ(first, "e2e4");
        }
        if (first == "d2d4") {
            EXPECT_EQ(branch, "f1c4");
        }
        EXPECT_EQ(Text(BookMoveAfter({"e2e4"})), "e7e5");
        EXPECT_EQ(Text(BookMoveAfter({"e2e4", "e7e5", "g1f3"})), "b8c6");
        EXPECT_EQ(Text(BookMoveAfter({"d2d4", "d7d5"})), "c2c4");
        EXPECT_EQ(BookMoveAfter({"d2d4", "d7d5", "c2c4"}), NoMove) << "a line's last position has no move";
    }
}

TEST_F(BookTest, WrongCountsAndMissingFiles) {
    Write("2\n", {Open, Italian, Queen});
    ExpectFailureLeavesEverything();
    EXPECT_EQ(Text(BookMoveAfter({"d2d4", "d7d5"})), "c2c4") << "all three lines were planted";
    Write("4\n", {Open, Italian, Queen});
    ExpectFailureLeavesEverything();
    Write("0\n", {Open});
    ExpectFailureLeavesEverything();
    Write("three\n", {Open});
    ExpectFailureLeavesEverything();
    std::remove(path.c_str());
    ClearHash();
    ExpectFailureLeavesEverything();
    EXPECT_FALSE(ProbeHash().has_value());
}

TEST_F(BookTest, BrokenRecordsAndIllegalMoves) {
    Write("1\n", {{"e2e4", "e7e5", "e4e5"}}); // the pawn cannot take straight ahead
    ExpectFailureLeavesEverything();
    Write("1\n", {{"e2e4", "f7f6", "d1h5", "e8f7"}}); // e8f7 walks into the queen's check
    ExpectFailureLeavesEverything();
    Write("1\n", {Open}, 65);
    ExpectFailureLeavesEverything();
    Write("1\n", {Open}, -1, true);
    ExpectFailureLeavesEverything();
}

TEST_F(BookTest, ARecordCutShortOnlyEndsTheReading) {
    // A trailing line end reads as a count byte with nothing after it: the three lines stand.
    Write("3\n", {Open, Italian, Queen});
    std::ofstream(path, std::ios::binary | std::ios::app) << '\n';
    for (int attempt = 0; attempt < 3; ++attempt) {
        SetUpFen(StartPositionFen);
        EXPECT_TRUE(LoadBook(path.c_str()));
    }
    // Missing records still fail the load, with everything read planted.
    Write("4\n", {Open, Italian, Queen});
    std::ofstream(path, std::ios::binary | std::ios::app) << std::string("\x03\x24", 2);
    ExpectFailureLeavesEverything();
    EXPECT_EQ(Text(BookMoveAfter({"d2d4", "d7d5"})), "c2c4");
}

TEST_F(BookTest, OnlyFromTheStartPosition) {
    Write("1\n", {Open});
    SetUpFen("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3");
    ExpectFailureLeavesEverything();
    // The start placement with another side to move or other rights is not the start position.
    SetUpFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq -");
    ExpectFailureLeavesEverything();
    SetUpFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w Kk -");
    ExpectFailureLeavesEverything();
}

TEST_F(BookTest, TheEnginePlaysFromTheBookAndThenThinksLonger) {
    Write("1\n", {{"e2e4", "e7e5", "g1f3"}});
    std::ifstream written(path, std::ios::binary);
    std::string book((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
    EngineProcess engine;
    engine.WriteFile("Velkor.book", book);
    // 220 ms per move; the first move after the book gets three times that.
    engine.Send("xboard\nnew\nlevel 40 5 0\ntime 1000\notim 1000\ngo\n");
    ASSERT_TRUE(engine.WaitForOutput("move e2e4\n", 10000));
    EXPECT_EQ(engine.Output().find("BOOK ERROR"), std::string::npos);
    engine.Send("time 1000\notim 1000\ne7e5\n");
    ASSERT_TRUE(engine.WaitForOutput("move g1f3\n", 10000));
    auto start = std::chrono::steady_clock::now();
    engine.Send("time 1000\notim 1000\nb8c6\n");
    ASSERT_TRUE(engine.WaitForOutput("move ", 10000, engine.Output().size()));
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(ms, 600) << "the book exit budget is 660 ms";
    engine.Send("quit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
    std::string log = engine.Log();
    EXPECT_NE(log.find("-M: move(book): e2e4\n"), std::string::npos);
    EXPECT_NE(log.find("-M: move(book): g1f3\n"), std::string::npos);
}

} // namespace velkor::test
