// What real interfaces send, replayed byte for byte through the real binary: xboard's start-up
// and the commands around the engine's first move as White and as Black, and PyChess's
// analysers. The engine must answer with the right legal move and say nothing else.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/tables.h"
#include "support/engine_turns.h"

namespace velkor::test {

namespace {

constexpr const char* XboardStartup = "xboard\nprotover 2\naccepted done\naccepted setboard\naccepted done\n";
constexpr const char* XboardNewGame = "new\nrandom\nlevel 0 0:10 0.1\npost\nhard\neasy\nforce\n";

// A one-line book (1. e4), so that "new" finds a book as in a real installation.
const std::string TinyBook("1\n\x01\x24\x0D", 5);

// An engine in a directory of its own with the tiny book in it.
struct InstalledEngine : EngineProcess {
    InstalledEngine() { WriteFile("Velkor.book", TinyBook); }
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

bool IsWholeNumber(const std::string& text) {
    std::size_t digits = !text.empty() && text[0] == '-' ? 1 : 0;
    return text.size() > digits && text.find_first_not_of("0123456789", digits) == std::string::npos;
}

// "    9     24     31     521168  e7e5 d2d3 ...": depth, centipawns, centiseconds, nodes, the line.
bool IsThinkingLine(const std::string& line) {
    std::istringstream fields(line);
    std::string depth, score, time, nodes;
    return line.rfind("    ", 0) == 0 && fields >> depth >> score >> time >> nodes && IsWholeNumber(depth) &&
           IsWholeNumber(score) && IsWholeNumber(time) && time[0] != '-' && IsWholeNumber(nodes);
}

bool IsCoordinateMove(const std::string& text) {
    return (text.size() == 4 || text.size() == 5) && text[0] >= 'a' && text[0] <= 'h' && text[1] >= '1' &&
           text[1] <= '8' && text[2] >= 'a' && text[2] <= 'h' && text[3] >= '1' && text[3] <= '8';
}

// The lines after the handshake that are neither thinking output nor the expected move (any
// one move when move is empty).
std::vector<std::string> UnexpectedLines(const std::string& output, const std::string& move) {
    std::vector<std::string> unexpected;
    std::vector<std::string> lines = Lines(output);
    int moves = 0;
    for (std::size_t i = 4; i < lines.size(); ++i) {
        bool isMove = lines[i].rfind("move ", 0) == 0 &&
                      (move.empty() ? IsCoordinateMove(lines[i].substr(5)) : lines[i] == "move " + move);
        if (isMove && ++moves == 1) continue;
        if (!IsThinkingLine(lines[i])) unexpected.push_back(lines[i]);
    }
    return unexpected;
}

void ExpectOnlyTheMove(const std::string& input, const std::string& move) {
    InstalledEngine engine;
    engine.Send(input);
    ASSERT_TRUE(engine.WaitForOutput("move ", 10000)) << engine.Output();
    engine.Send("quit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
    EXPECT_EQ(engine.Output().substr(0, 4), "\nfea");
    EXPECT_NE(engine.Output().find("move " + move), std::string::npos) << engine.Output();
    EXPECT_EQ(UnexpectedLines(engine.Output(), move), std::vector<std::string>{}) << engine.Output();
}

} // namespace

TEST(GuiSequences, XboardEngineAsWhiteFromAPositionWithAnEnPassantCapture) {
    // The only legal move is the en-passant capture e5d6; xboard sends "black" ... "white"
    // before the engine's first move, and the square must survive the round trip.
    ExpectOnlyTheMove(std::string(XboardStartup) + XboardNewGame +
                          "setboard 5r1k/8/1b2p3/3pP3/4K3/r7/8/8 w - d6 0 1\n"
                          "black\ntime 500\notim 500\nwhite\ngo\n",
                      "e5d6");
}

TEST(GuiSequences, XboardEngineAsBlackAnswersADoubleStepEnPassant) {
    // White's d2d4 gives check; the only answer is e4d3 en passant.
    ExpectOnlyTheMove(std::string(XboardStartup) + XboardNewGame +
                          "setboard 8/8/R7/4k3/4p3/1B2P3/3P4/5R1K w - - 0 1\n"
                          "time 500\notim 500\nd2d4\nblack\ngo\n",
                      "e4d3");
}

TEST(GuiSequences, XboardGameFromTheStartAsBlack) {
    ExpectOnlyTheMove(std::string(XboardStartup) + "new\nrandom\nlevel 40 1 0\npost\nhard\ntime 6000\notim 6000\n"
                      "e2e4\n", "");
}

TEST(GuiSequences, XboardGameFromTheStartAsWhitePlaysTheBook) {
    ExpectOnlyTheMove(std::string(XboardStartup) + XboardNewGame + "black\ntime 1000\notim 1000\nwhite\ngo\n", "e2e4");
}

TEST(GuiSequences, GnomeChessNeverSendsNewAndPlaysFromTheStartPosition) {
    InitTables();
    InstalledEngine engine;
    engine.Send("xboard\nrandom\neasy\nsd 2\nforce\ne2e4\ne7e5\ngo\n");
    ASSERT_TRUE(engine.WaitForOutput("move ", 10000)) << engine.Output();
    engine.Send("quit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
    EXPECT_TRUE(IsLegalAfter({"e2e4", "e7e5"}, MoveReply(engine.Output()))) << engine.Output();
    EXPECT_EQ(UnexpectedLines(engine.Output(), ""), std::vector<std::string>{}) << engine.Output();
}

TEST(GuiSequences, PyChessAnalysersAndIdlePositionsPrintNoErrors) {
    InstalledEngine engine;
    engine.Send(std::string(XboardStartup) + "post\nanalyze\nforce\n"
                "setboard rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1\n"
                "setboard rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6 0 2\nexit\n"
                "setboard 8/8/8/8/8/8/8/8 w - - 0 1\n"
                "setboard rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 2\nquit\n");
    EXPECT_EQ(engine.WaitForExit(), 0);
    EXPECT_EQ(engine.Output().find("tellusererror"), std::string::npos) << engine.Output();
    EXPECT_EQ(engine.Output().find("move "), std::string::npos) << engine.Output();
}

} // namespace velkor::test
