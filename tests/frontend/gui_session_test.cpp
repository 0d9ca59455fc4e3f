// A long session through the real binary as a GUI plays it, with the GUI's own board checking
// every move the engine prints: ponder hits and misses, take-backs ("remove", and Edit Game's
// "force", "undo", "undo") after them, words sent while the engine thinks, and games that end
// while it thinks, followed at once by the next game.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/engine_turns.h"
#include "support/test_position.h"

namespace velkor::test {

namespace {

constexpr const char* NewGameCommands = "new\nrandom\nst 0.05\npost\nhard\n";
constexpr int EngineReplies = 70;
constexpr std::size_t LongestGame = 100;

bool IsResultLine(const std::string& line) {
    return line.rfind("1-0 {", 0) == 0 || line.rfind("0-1 {", 0) == 0 || line.rfind("1/2-1/2 {", 0) == 0;
}

int CountOf(const std::string& text, const std::string& piece) {
    int count = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
    return count;
}

class Session {
  public:
    Session() {
        engine.Send("xboard\nprotover 2\naccepted done\naccepted setboard\naccepted done\n");
        engine.WaitForOutput("feature done=1\n", 10000);
        read = engine.Output().size();
    }

    EngineProcess engine;
    GuiBoard board;
    std::mt19937 random{20};
    std::vector<std::string> problems;
    std::string transcript; // what the GUI sent and saw, for the failure message

    void Send(const std::string& text) {
        transcript += text;
        engine.Send(text);
    }

    std::string RandomMove() {
        std::vector<std::string> legal = board.LegalMoves();
        return legal[std::uniform_int_distribution<std::size_t>(0, legal.size() - 1)(random)];
    }

    // The GUI's move: played on its board and sent, with whatever follows it in the same write.
    void Move(const std::string& move, const std::string& after = "") {
        board.Play(move);
        Send("time 1000\notim 1000\n" + move + "\n" + after);
    }

    void StartNewGame(const std::string& before = "result 1/2-1/2 {adjourned}\nforce\n") {
        board.NewGame();
        Send(before + NewGameCommands);
        Move(RandomMove());
    }

    // The engine's next move or result line; "" after the time-out. Thinking lines and the
    // missing book pass; any other line is a problem.
    std::string NextReply() {
        auto start = Clock::now();
        for (;;) {
            for (std::size_t end; (end = engine.Output().find('\n', read)) != std::string::npos;) {
                std::string line = engine.Output().substr(read, end - read);
                read = end + 1;
                transcript += "  << " + line + "\n";
                if (line.rfind("move ", 0) == 0 || IsResultLine(line)) return line;
                if (line.rfind("    ", 0) != 0 && line != "tellusererror BOOK ERROR!") problems.push_back(line);
            }
            if (MsSince(start) > Scaled(10000)) return "";
            engine.WaitForOutput("\x01", 20);
        }
    }

    // After an engine move: the reply it ponders on ("" for none), once the turn has ended; a
    // result line the move produced has been printed by then.
    std::string PonderMove(bool& gameOver) {
        auto start = Clock::now();
        std::string log;
        while (TurnEnds(log = engine.Log()) <= turnsEnded && MsSince(start) < Scaled(10000)) engine.WaitForOutput("\x01", 10);
        turnsEnded = TurnEnds(log);
        engine.WaitForOutput("\x01", 10);
        gameOver = engine.Output().find(" {", read) != std::string::npos;
        bool pondering = log.rfind("-ponder move: ") != std::string::npos &&
                         log.rfind("-ponder move: ") > log.rfind("- NO ponder move");
        return pondering ? PonderMoveOf(log) : "";
    }

  private:
    static int TurnEnds(const std::string& log) { return CountOf(log, "-ponder move: ") + CountOf(log, "- NO ponder move"); }

    std::size_t read = 0;
    int turnsEnded = 0;
};

} // namespace

class GuiSession : public PositionTest {};

TEST_F(GuiSession, TakeBacksPonderHitsAndGameEndsKeepTheEngineOnTheGuisBoard) {
    Session session;
    session.StartNewGame("");
    for (int reply = 0; reply < EngineReplies; ++reply) {
        std::string line = session.NextReply();
        ASSERT_FALSE(line.empty()) << "no reply\n" << session.transcript;
        if (IsResultLine(line)) {
            session.StartNewGame();
            continue;
        }
        std::string move = line.substr(5);
        ASSERT_TRUE(session.board.IsLegal(move)) << move << " is illegal on the GUI's board\n" << session.transcript;
        session.board.Play(move);
        bool gameOver = false;
        std::string ponder = session.PonderMove(gameOver);
        if (gameOver || session.board.LegalMoves().empty() || session.board.Plies() > LongestGame) {
            session.StartNewGame();
            continue;
        }
        bool hit = !ponder.empty() && session.board.IsLegal(ponder);
        int action = std::uniform_int_distribution<int>(0, 9)(session.random);
        bool canTakeBack = session.board.Plies() >= 2;
        if (action <= 3 && hit) {
            session.Move(ponder);
        } else if (action == 4 && canTakeBack) {
            session.board.TakeBack(2);
            session.Send("remove\n");
            session.Move(session.RandomMove());
        } else if (action == 5 && canTakeBack) {
            // Edit Game, Backward twice, a move, then the engine plays the side to move.
            session.board.TakeBack(2);
            session.Send("force\nundo\nundo\n");
            session.Move(session.RandomMove(), "go\n");
        } else if (action == 6) {
            // The game ends while the engine thinks (a resignation); the next game starts at once.
            session.Move(hit ? ponder : session.RandomMove(), "post\nresult 1-0 {White resigns}\nforce\n");
            session.StartNewGame("");
        } else if (action == 7) {
            // Menu toggles and a clock tick, then Move Now.
            session.Move(hit ? ponder : session.RandomMove(), "post\nnopost\neasy\nhard\notim 900\n?\n");
        } else if (action == 8 && hit) {
            // Edit Game right after a ponder hit: no move; the person moves for the engine.
            session.Move(ponder, "force\n");
            session.Move(session.RandomMove(), "go\n");
        } else {
            session.Move(session.RandomMove());
        }
    }
    session.Send("quit\n");
    EXPECT_EQ(session.engine.WaitForExit(3000), 0);
    EXPECT_EQ(session.problems, std::vector<std::string>{}) << session.transcript;
}

} // namespace velkor::test
