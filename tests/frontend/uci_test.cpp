// UCI mode through the real binary, as tournament managers and GUIs drive it: the handshake and
// options, a timed game with pondering checked move by move on the GUI's own board, position
// parsing, the limits of "go", endless searches and what may interrupt them.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "support/engine_turns.h"
#include "support/test_position.h"

namespace velkor::test {

namespace {

const std::string TinyBook("1\n\x01\x24\x0D", 5); // 1. e4

class UciClient {
  public:
    explicit UciClient(bool withBook = false) {
        if (withBook) engine.WriteFile("Velkor.book", TinyBook);
    }

    EngineProcess engine;
    std::vector<std::string> infos; // the info lines since the last bestmove

    void Send(const std::string& text) { engine.Send(text); }

    // The next line of output; "" when none comes in time.
    std::string NextLine(int timeoutMs = 10000) {
        auto start = Clock::now();
        std::size_t end;
        while ((end = engine.Output().find('\n', read)) == std::string::npos) {
            if (MsSince(start) > Scaled(timeoutMs)) return "";
            engine.WaitForOutput("\x01", 10);
        }
        std::string line = engine.Output().substr(read, end - read);
        read = end + 1;
        return line;
    }

    // Reads up to the next line that starts with prefix; "" when none comes in time. Info lines
    // on the way are kept in infos.
    std::string Await(const std::string& prefix, int timeoutMs = 10000) {
        for (std::string line; !(line = NextLine(timeoutMs)).empty();) {
            if (line.rfind("info", 0) == 0) infos.push_back(line);
            if (line.rfind(prefix, 0) == 0) return line;
        }
        return "";
    }

    std::string AwaitBestMove(int timeoutMs = 10000) {
        infos.clear();
        return Await("bestmove ", timeoutMs);
    }

    // True when no answer to a "go" comes for ms (thinking lines may).
    bool NoAnswerFor(int ms) {
        std::size_t before = engine.Output().size();
        engine.WaitForOutput("\x01", ms);
        return engine.Output().find("bestmove", before) == std::string::npos;
    }

  private:
    std::size_t read = 0;
};

std::vector<std::string> Fields(const std::string& line) {
    std::istringstream words(line);
    std::vector<std::string> fields;
    for (std::string word; words >> word;) fields.push_back(word);
    return fields;
}

// The value after key in a line ("" when absent).
std::string After(const std::string& line, const std::string& key) {
    std::vector<std::string> fields = Fields(line);
    for (std::size_t i = 0; i + 1 < fields.size(); ++i)
        if (fields[i] == key) return fields[i + 1];
    return "";
}

std::string Join(const std::vector<std::string>& moves) {
    std::string text;
    for (const std::string& move : moves) text += " " + move;
    return text;
}

} // namespace

class Uci : public PositionTest {};

TEST_F(Uci, HandshakeOptionsAndReadiness) {
    UciClient client;
    client.Send("\n\nuci\n");
    std::vector<std::string> lines;
    for (std::string line; (line = client.NextLine()) != "uciok" && !line.empty();) lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"id name Velkor", "id author the Velkor developers",
                                               "option name Ponder type check default false",
                                               "option name OwnBook type check default true",
                                               "option name Move Overhead type spin default 50 min 0 max 5000",
                                               "option name Hash type spin default 72 min 1 max 65536",
                                               "option name Clear Hash type button",
                                               "option name Threads type spin default 1 min 1 max 256",
                                               "option name MultiPV type spin default 1 min 1 max 256",
                                               "option name UCI_LimitStrength type check default false",
                                               "option name UCI_Elo type spin default 1500 min 800 max 1960",
                                               "option name Skill Level type spin default 20 min 0 max 20",
                                               "option name UCI_AnalyseMode type check default false"}));
    // What GUIs send whether declared or not, in any case; none of it answers.
    client.Send("setoption name Threads value 1\nsetoption name UCI_Opponent value "
                "none 2800 computer Some Engine\nsetoption name move overhead value 30\nsetoption name OWNBOOK value "
                "false\nsetoption name Clear Hash\ndebug on\nregister later\nfoo bar\nisready\n");
    EXPECT_EQ(client.NextLine(), "readyok");
    client.Send("quit\n");
    EXPECT_EQ(client.engine.WaitForExit(), 0);
    EXPECT_EQ(client.engine.Output().find("xboard"), std::string::npos);
    EXPECT_NE(client.engine.Log().find("::cmd:: setoption name Threads value 1\n"), std::string::npos);
}

// A game as fastchess plays it: the whole game sent before every move, both clocks, pondering
// on the move the engine expects (a hit or a miss), and the engine's clock kept by the GUI.
TEST_F(Uci, TimedGameWithPonderingIsLegalOnTheGuisBoardAndWithinTheClock) {
    UciClient client(true);
    client.Send("uci\nsetoption name Ponder value true\nisready\n");
    ASSERT_EQ(client.Await("readyok"), "readyok");
    client.Send("ucinewgame\nisready\n");
    ASSERT_EQ(client.Await("readyok"), "readyok");
    GuiBoard board;
    std::vector<std::string> moves;
    std::mt19937 random(7);
    long long clockMs = 4000;
    const long long incrementMs = 40;
    auto clocks = [&] {
        std::string own = std::to_string(clockMs), inc = std::to_string(incrementMs);
        return " wtime " + own + " btime " + own + " winc " + inc + " binc " + inc;
    };
    std::string pondering; // the move the engine ponders on, with "go ponder" sent
    for (int turn = 0; turn < 24 && !board.LegalMoves().empty(); ++turn) {
        auto start = Clock::now();
        if (pondering.empty()) client.Send("position startpos moves" + Join(moves) + "\ngo" + clocks() + "\n");
        std::string best = client.AwaitBestMove();
        long long spent = MsSince(start);
        ASSERT_FALSE(best.empty()) << client.engine.Output();
        clockMs += incrementMs - spent;
        ASSERT_GT(clockMs, 0) << "lost on time at turn " << turn;
        std::string move = After(best, "bestmove");
        ASSERT_TRUE(board.IsLegal(move)) << best << " after" << Join(moves);
        ASSERT_FALSE(client.infos.empty());
        EXPECT_EQ(After(client.infos.back(), "pv"), move) << client.infos.back();
        board.Play(move);
        moves.push_back(move);
        std::string expected = After(best, "ponder");
        EXPECT_TRUE(expected.empty() || board.IsLegal(expected)) << best;
        std::vector<std::string> legal = board.LegalMoves();
        if (legal.empty()) break;
        std::string reply = legal[std::uniform_int_distribution<std::size_t>(0, legal.size() - 1)(random)];
        if (!expected.empty() && random() % 2) reply = expected;
        pondering.clear();
        if (!expected.empty()) {
            client.Send("position startpos moves" + Join(moves) + " " + expected + "\ngo ponder" + clocks() + "\n");
            if (reply == expected) {
                pondering = expected;
            } else {
                // A miss: the ponder search's answer comes and is dropped.
                client.Send("stop\n");
                ASSERT_FALSE(client.AwaitBestMove().empty()) << client.engine.Output();
            }
        }
        board.Play(reply);
        moves.push_back(reply);
        if (!pondering.empty()) client.Send("ponderhit\n");
    }
    client.Send("quit\n");
    EXPECT_EQ(client.engine.WaitForExit(), 0);
    for (const std::string& line : Fields(client.engine.Output())) EXPECT_NE(line, "tellusererror");
}

TEST_F(Uci, PositionsFromEveryKindOfText) {
    UciClient client;
    client.Send("uci\n");
    ASSERT_FALSE(client.Await("uciok").empty());
    // FENs with four, five and six fields, "moves" with nothing after it (a mate in one by
    // promotion), and an upper-case promotion letter (the mate played).
    for (const char* fen : {"k7/2P5/1K6/8/8/8/8/8 w - -", "k7/2P5/1K6/8/8/8/8/8 w - - 0", "k7/2P5/1K6/8/8/8/8/8 w - - 0 1"}) {
        client.Send(std::string("position fen ") + fen + " moves\ngo depth 2\n");
        std::string best = client.AwaitBestMove();
        EXPECT_EQ(best.rfind("bestmove c7c8", 0), 0u) << fen << ": " << best;
    }
    client.Send("position fen k7/2P5/1K6/8/8/8/8/8 w - - 0 1 moves c7c8Q\ngo depth 3\n");
    EXPECT_EQ(client.AwaitBestMove(), "bestmove (none)");

    // An illegal move: one line says so, and the position stands where it was reached.
    client.Send("position startpos moves e2e4 e7e5 e1e3 g1f3\ngo depth 2\n");
    std::string best = client.AwaitBestMove();
    int refusals = 0;
    for (const std::string& info : client.infos) refusals += info.rfind("info string move e1e3 ", 0) == 0;
    EXPECT_EQ(refusals, 1) << client.engine.Output();
    EXPECT_TRUE(IsLegalAfter({"e2e4", "e7e5"}, After(best, "bestmove"))) << best;
    // A refused FEN keeps the position before it; so does a rank of nine squares.
    client.Send("position fen 8/8/8/8/8/8/8/8 w - - 0 1 moves e2e4\nposition fen rubbish\n"
                "position fen 4k4/8/8/8/8/8/8/4K3 w - - 0 1\ngo depth 2\n");
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(client.Await("info string position refused").empty());
    best = client.AwaitBestMove();
    EXPECT_TRUE(IsLegalAfter({"e2e4", "e7e5"}, After(best, "bestmove"))) << best;

    // 2,000 plies of knight moves: the history holds them all, and the draws they make count.
    std::string shuffle;
    for (int i = 0; i < 500; ++i) shuffle += " g1f3 e8d8 f3g1 d8e8";
    client.Send("position fen 4k3/8/8/8/8/8/8/Q3K1N1 w - - 0 1 moves" + shuffle + "\ngo depth 4\n");
    best = client.AwaitBestMove();
    GuiBoard shuffled("4k3/8/8/8/8/8/8/Q3K1N1 w - - 0 1");
    EXPECT_TRUE(shuffled.IsLegal(After(best, "bestmove"))) << best;
    ASSERT_FALSE(client.infos.empty());
    EXPECT_EQ(After(client.infos.back(), "cp"), "0") << "a queen up, but drawn by the fifty-move rule";
    // 8,401 plies, more than the history holds: every one is played, and the check at the end
    // must be answered.
    for (int i = 0; i < 1600; ++i) shuffle += " g1f3 e8d8 f3g1 d8e8";
    std::size_t before = client.engine.Output().size();
    client.Send("position fen 4k3/8/8/8/8/8/8/Q3K1N1 w - - 0 1 moves" + shuffle + " a1a8\ngo depth 4\n");
    best = client.AwaitBestMove();
    shuffled.Play("a1a8");
    EXPECT_TRUE(shuffled.IsLegal(After(best, "bestmove"))) << best;
    EXPECT_EQ(client.engine.Output().find("cannot be played", before), std::string::npos);
    client.Send("quit\n");
    EXPECT_EQ(client.engine.WaitForExit(), 0);
}

TEST_F(Uci, LimitsOfGo) {
    UciClient client;
    client.Send("uci\nposition startpos moves e2e4\ngo depth 3\n");
    std::string best = client.AwaitBestMove();
    ASSERT_FALSE(client.infos.empty());
    EXPECT_EQ(After(client.infos.back(), "depth"), "3");
    EXPECT_TRUE(IsLegalAfter({"e2e4"}, After(best, "bestmove")));

    client.Send("go nodes 20000\n");
    best = client.AwaitBestMove();
    ASSERT_FALSE(best.empty());
    EXPECT_LT(std::stoll(After(client.infos.back(), "nodes")), 40000) << client.infos.back();

    client.Send("go searchmoves a7a6 h7h6 wtime 1000 btime 1000\n");
    std::string chosen = After(client.AwaitBestMove(), "bestmove");
    EXPECT_TRUE(chosen == "a7a6" || chosen == "h7h6") << chosen;

    auto start = Clock::now();
    client.Send("go movetime 300\n");
    ASSERT_FALSE(client.AwaitBestMove().empty());
    EXPECT_GE(MsSince(start), 200);
    EXPECT_LT(MsSince(start), Scaled(1500));

    start = Clock::now();
    client.Send("go wtime 0 btime -5 winc 0 binc 0\n");
    ASSERT_FALSE(client.AwaitBestMove().empty());
    EXPECT_LT(MsSince(start), Scaled(1000)) << "an empty clock answers at once";

    // A mate in one: scored as a mate, in moves.
    client.Send("position fen 6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1\ngo mate 1\n");
    EXPECT_EQ(client.AwaitBestMove(), "bestmove d1d8");
    EXPECT_EQ(client.infos.back().find("score mate 1 "), client.infos.back().find("score")) << client.infos.back();
    // Mated in two: the distance in moves, negative.
    client.Send("position fen k7/8/2K5/8/8/8/8/7R b - - 0 1\ngo depth 6\n");
    ASSERT_FALSE(client.AwaitBestMove().empty());
    EXPECT_NE(client.infos.back().find(" score mate -2 "), std::string::npos) << client.infos.back();
    // No legal move: at once, with the score of the position.
    client.Send("position fen 6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1 moves d1d8\ngo wtime 1000 btime 1000\n");
    EXPECT_EQ(client.AwaitBestMove(), "bestmove (none)");
    EXPECT_EQ(client.infos, std::vector<std::string>{"info depth 0 score mate 0"});
    client.Send("quit\n");
    EXPECT_EQ(client.engine.WaitForExit(), 0);
}

TEST_F(Uci, EndlessSearchesWaitForTheirCommandAndAnythingElseComesInOrder) {
    UciClient client;
    client.Send("uci\nposition fen 6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1\ngo infinite\n");
    ASSERT_FALSE(client.Await("uciok").empty());
    // The mate is found at once, yet nothing ends the search but "stop"; "isready" is answered.
    EXPECT_TRUE(client.Await("info").find("mate 1") != std::string::npos);
    client.Send("isready\n");
    EXPECT_EQ(client.Await("readyok"), "readyok");
    EXPECT_TRUE(client.NoAnswerFor(300)) << client.engine.Output();
    client.Send("stop\n");
    EXPECT_EQ(client.AwaitBestMove(), "bestmove d1d8");

    // Analysing a position the table already knows shows the known depth's line at once, not
    // only when the next, long iteration ends.
    client.Send("position startpos moves e2e4 e7e5\ngo depth 8\n");
    ASSERT_FALSE(client.AwaitBestMove().empty());
    client.Send("go infinite\n");
    EXPECT_EQ(After(client.Await("info"), "depth"), "8");
    client.Send("stop\n");
    EXPECT_TRUE(IsLegalAfter({"e2e4", "e7e5"}, After(client.AwaitBestMove(), "bestmove")));

    // A ponder search, then "stop", the next position and "go" in one write (polyglot's way):
    // each "go" gets its own answer, in order.
    client.Send("position startpos moves e2e4 e7e5\ngo ponder wtime 1000 btime 1000\n");
    EXPECT_TRUE(client.NoAnswerFor(300));
    client.Send("stop\nposition startpos moves d2d4\ngo depth 2\n");
    EXPECT_TRUE(IsLegalAfter({"e2e4", "e7e5"}, After(client.AwaitBestMove(), "bestmove")));
    EXPECT_TRUE(IsLegalAfter({"d2d4"}, After(client.AwaitBestMove(), "bestmove")));
    // "position" or "go" during a search stops it first.
    client.Send("go infinite\n");
    EXPECT_TRUE(client.NoAnswerFor(200));
    client.Send("position startpos moves g1f3\ngo depth 2\n");
    EXPECT_TRUE(IsLegalAfter({"d2d4"}, After(client.AwaitBestMove(), "bestmove")));
    EXPECT_TRUE(IsLegalAfter({"g1f3"}, After(client.AwaitBestMove(), "bestmove")));
    // A ponder hit turns the ponder search into the timed one.
    client.Send("go ponder wtime 1000 btime 1000\n");
    EXPECT_TRUE(client.NoAnswerFor(300));
    auto hit = Clock::now();
    client.Send("ponderhit\n");
    EXPECT_FALSE(client.AwaitBestMove().empty());
    EXPECT_LT(MsSince(hit), Scaled(1000));

    // "quit" during a search ends the engine without an answer; so does the end of the input.
    client.Send("go infinite\n");
    EXPECT_TRUE(client.NoAnswerFor(200));
    client.Send("quit\n");
    EXPECT_EQ(client.engine.WaitForExit(3000), 0);
    EXPECT_EQ(client.Await("bestmove", 100), "");
    UciClient closing;
    closing.Send("uci\ngo infinite\n");
    EXPECT_FALSE(closing.Await("info").empty());
    closing.engine.CloseInput();
    EXPECT_EQ(closing.engine.WaitForExit(3000), 0);
}

// What a review found interfaces and users can send: a word of any length while the engine
// searches, in either protocol; endless searches of positions without a move or with a book move
// wait for "stop"; "searchmoves" holds against the book.
TEST_F(Uci, EndlessSearchesWaitForStopWhateverTheInputAndThePosition) {
    const std::string word(256, 'x'), huge(100000, 'y');
    UciClient client(true);
    client.Send("uci\nisready\nposition startpos moves e2e4 e7e5\ngo infinite\n");
    ASSERT_FALSE(client.Await("readyok").empty());
    client.Send(word + "\nisready\n");
    EXPECT_EQ(client.Await("readyok"), "readyok");
    client.Send(huge + " and more\nisready\nstop\n");
    EXPECT_EQ(client.Await("readyok"), "readyok");
    EXPECT_TRUE(IsLegalAfter({"e2e4", "e7e5"}, After(client.AwaitBestMove(), "bestmove")));

    // Mated after the ponder move the engine names itself: nothing until "stop".
    client.Send("position fen 6k1/8/8/8/3b4/6q1/P7/7K w - - 0 1\ngo depth 6\n");
    std::string best = client.AwaitBestMove();
    ASSERT_FALSE(After(best, "ponder").empty()) << best;
    client.Send("position fen 6k1/8/8/8/3b4/6q1/P7/7K w - - 0 1 moves " + After(best, "bestmove") + " " +
                After(best, "ponder") + "\ngo ponder wtime 1000 btime 1000\n");
    EXPECT_TRUE(client.NoAnswerFor(300));
    client.Send("isready\n");
    EXPECT_EQ(client.Await("readyok"), "readyok");
    client.Send("stop\n");
    EXPECT_EQ(client.AwaitBestMove(), "bestmove (none)");
    EXPECT_EQ(client.infos, std::vector<std::string>{"info depth 0 score mate 0"});
    // A ponder hit answers at once; "go infinite" on a stalemate ignores it and waits for "stop".
    client.Send("go ponder\n");
    EXPECT_TRUE(client.NoAnswerFor(200));
    client.Send("ponderhit\n");
    EXPECT_EQ(client.AwaitBestMove(), "bestmove (none)");
    client.Send("position fen k7/2Q5/1K6/8/8/8/8/8 b - - 0 1\ngo infinite\nponderhit\n");
    EXPECT_TRUE(client.NoAnswerFor(300));
    client.Send("stop\n");
    EXPECT_EQ(client.AwaitBestMove(), "bestmove (none)");
    EXPECT_EQ(client.infos, std::vector<std::string>{"info depth 0 score cp 0"});

    // The book answers only among "searchmoves", a search among them leaves the book's answer
    // for the next "go", and "go" without a limit searches until "stop".
    client.Send("position startpos\ngo depth 5 searchmoves a2a3 h2h3\n");
    std::string chosen = After(client.AwaitBestMove(), "bestmove");
    EXPECT_TRUE(chosen == "a2a3" || chosen == "h2h3") << chosen;
    client.Send("go depth 5\n");
    EXPECT_EQ(client.AwaitBestMove(), "bestmove e2e4");
    client.Send("go searchmoves d2d4 e2e4 movetime 5000\n");
    EXPECT_EQ(client.AwaitBestMove(1000), "bestmove e2e4");
    client.Send("go\n");
    EXPECT_TRUE(client.NoAnswerFor(300));
    client.Send("stop\n");
    EXPECT_FALSE(client.AwaitBestMove().empty());
    client.Send(huge + "\nquit\n");
    EXPECT_EQ(client.engine.WaitForExit(), 0);

    // xboard: the look-ahead of a search sees "?" behind the word, analysis "exit" and "quit".
    EngineProcess xboard;
    xboard.Send("xboard\nnew\neasy\nst 30\ne2e4\n");
    ASSERT_TRUE(xboard.WaitForOutput("feature done=1\n"));
    xboard.Send(huge + "\n?\n");
    EXPECT_TRUE(WaitForMoves(xboard, 1, 3000)) << "the move comes at once, not after 30 s";
    xboard.Send("analyze\n" + huge + "\nexit\n" + word + "\nquit\n");
    EXPECT_EQ(xboard.WaitForExit(), 0);
}

// Several lines as analysis interfaces ask for them, and a table of the size the user chooses.
TEST_F(Uci, SeveralLinesAndATableOfTheSizeAsked) {
    const std::string middlegame = "r2q1rk1/pp2bppp/2n1pn2/3p4/3P4/2NBPN2/PP3PPP/R2Q1RK1 w - - 0 10";
    UciClient client;
    client.Send("uci\nsetoption name MultiPV value 3\nposition fen " + middlegame + "\ngo depth 6\n");
    std::string best = After(client.AwaitBestMove(), "bestmove");
    // Three lines per iteration, ranked 1 to 3, best first, with different legal first moves.
    ASSERT_EQ(client.infos.size() % 3, 0u) << client.engine.Output();
    for (std::size_t i = 0; i < client.infos.size(); i += 3) {
        std::vector<std::string> firsts;
        for (std::size_t k = 0; k < 3; ++k) {
            const std::string& info = client.infos[i + k];
            EXPECT_EQ(After(info, "multipv"), std::to_string(k + 1)) << info;
            EXPECT_EQ(After(info, "depth"), After(client.infos[i], "depth"));
            EXPECT_GE(std::stoi(After(info, "seldepth")), std::stoi(After(info, "depth"))) << info;
            if (k) {
                EXPECT_LE(std::stoi(After(info, "cp")), std::stoi(After(client.infos[i + k - 1], "cp"))) << info;
            }
            GuiBoard board(middlegame);
            std::vector<std::string> fields = Fields(info.substr(info.find(" pv ") + 4));
            for (const std::string& move : fields) {
                ASSERT_TRUE(board.IsLegal(move)) << info;
                board.Play(move);
            }
            firsts.push_back(fields.at(0));
        }
        EXPECT_NE(firsts[0], firsts[1]);
        EXPECT_NE(firsts[0], firsts[2]);
        EXPECT_NE(firsts[1], firsts[2]);
    }
    EXPECT_EQ(After(client.infos[client.infos.size() - 3], "depth"), "6");
    EXPECT_EQ(best, After(client.infos[client.infos.size() - 3], "pv"));

    // More lines than moves, or than the moves chosen: as many lines as there are.
    client.Send("setoption name MultiPV value 5\nposition fen 7k/8/8/8/8/8/8/K7 b - - 0 1\ngo depth 3\n");
    ASSERT_FALSE(client.AwaitBestMove().empty());
    EXPECT_EQ(After(client.infos.back(), "multipv"), "3") << client.engine.Output();
    client.Send("position fen " + middlegame + "\ngo depth 4 searchmoves a2a3 h2h3\n");
    std::string chosen = After(client.AwaitBestMove(), "bestmove");
    EXPECT_TRUE(chosen == "a2a3" || chosen == "h2h3") << chosen;
    EXPECT_EQ(After(client.infos.back(), "multipv"), "2");
    // A mate among the lines is scored as a mate, the other lines in centipawns.
    client.Send("setoption name MultiPV value 2\nposition fen 6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1\ngo depth 4\n");
    EXPECT_EQ(client.AwaitBestMove(), "bestmove d1d8");
    EXPECT_NE(client.infos[client.infos.size() - 2].find(" multipv 1 score mate 1 "), std::string::npos) << client.infos[0];
    // Endless and ponder searches give their lines, then wait for "stop" or "ponderhit".
    client.Send("position fen " + middlegame + "\ngo infinite\n");
    EXPECT_NE(client.Await("info depth").find(" multipv 1 "), std::string::npos);
    EXPECT_TRUE(client.NoAnswerFor(200));
    client.Send("stop\n");
    EXPECT_FALSE(client.AwaitBestMove().empty());
    client.Send("go ponder wtime 2000 btime 2000\n");
    EXPECT_TRUE(client.NoAnswerFor(200));
    client.Send("ponderhit\n");
    EXPECT_FALSE(client.AwaitBestMove().empty());

    // The table: the smallest, one the machine cannot give (refused, the table stays), a resize
    // during a search (which stops it first), then a new game on the new table.
    client.Send("setoption name MultiPV value 1\nsetoption name Hash value 1\nisready\n");
    EXPECT_EQ(client.Await("readyok"), "readyok");
    client.Send("setoption name Hash value 65536\nisready\n");
    std::string answer = client.NextLine();
    if (answer != "readyok") {
        EXPECT_EQ(answer.rfind("info string Hash 65536 refused: the machine cannot give 36864 MiB; the table stays at 576 KiB", 0), 0u)
            << answer;
        EXPECT_EQ(client.NextLine(), "readyok");
    }
    client.Send("go infinite\n");
    EXPECT_TRUE(client.NoAnswerFor(200));
    client.Send("setoption name Hash value 16\nucinewgame\nposition startpos moves e2e4\ngo depth 5\n");
    EXPECT_FALSE(client.AwaitBestMove().empty()) << "the search stopped by setoption";
    EXPECT_TRUE(IsLegalAfter({"e2e4"}, After(client.AwaitBestMove(), "bestmove")));
    client.Send("quit\n");
    EXPECT_EQ(client.engine.WaitForExit(), 0);
    std::string log = client.engine.Log();
    EXPECT_NE(log.find("-M: hash table 576 KiB"), std::string::npos) << "1 MiB holds a table of 576 KiB";
    EXPECT_NE(log.find("-M: hash table 9 MiB"), std::string::npos) << "16 MiB holds a table of 9";
}

// A level below full strength, as a GUI's strength control sets it: it keeps its queen, varies
// its moves from game to game, and gives way to full strength in analysis.
TEST_F(Uci, LevelsPlayLikeWeakerPlayersAndAnalysisStaysFull) {
    // White's queen is attacked by a knight and a bishop, and has several squares to go to.
    const std::string attacked = "r1bqkb1r/ppp2ppp/2n2n2/3pp3/4P1Q1/2N5/PPPP1PPP/R1B1KBNR w KQkq - 0 5";
    UciClient client;
    client.Send("uci\nsetoption name Skill Level value 0\n");
    std::vector<std::string> moves;
    // Every other search finds the position in the table of the one before, whose entry answers
    // the first iterations: the level still chooses among searched moves.
    for (int game = 0; game < 12; ++game) {
        client.Send(std::string(game % 2 ? "" : "ucinewgame\n") + "position fen " + attacked + "\ngo wtime 60000 btime 60000\n");
        std::string move = After(client.AwaitBestMove(), "bestmove");
        ASSERT_TRUE(GuiBoard(attacked).IsLegal(move)) << move;
        EXPECT_EQ(move.substr(0, 2), "g4") << "the attacked queen is saved";
        EXPECT_NE(client.infos.back().find(" pv " + move), std::string::npos) << "the last line shows the move played";
        moves.push_back(move);
    }
    std::sort(moves.begin(), moves.end());
    EXPECT_GT(std::unique(moves.begin(), moves.end()) - moves.begin(), 1) << "a weak level varies its moves";
    // With one legal move there is nothing to choose, and the line shown is still the move's.
    client.Send("position fen 1rb5/pp1p4/2q5/4B2p/3Pk3/1Q5P/7K/4R3 b - - 0 1\ngo wtime 60000 btime 60000\n");
    EXPECT_EQ(After(client.AwaitBestMove(), "bestmove"), "e4f5");
    EXPECT_EQ(After(client.infos.back(), "pv"), "e4f5") << client.infos.back();

    // A depth the level does not reach; in analysis, and at the Elo of full strength, it does.
    auto depthReached = [&](const std::string& options) {
        client.Send(options + "position fen " + attacked + "\ngo depth 6\n");
        EXPECT_FALSE(client.AwaitBestMove().empty());
        return After(client.infos.back(), "depth");
    };
    EXPECT_NE(depthReached(""), "6");
    EXPECT_EQ(depthReached("setoption name UCI_AnalyseMode value true\n"), "6");
    EXPECT_NE(depthReached("setoption name UCI_AnalyseMode value false\nsetoption name UCI_LimitStrength value true\n"
                           "setoption name UCI_Elo value 800\n"),
              "6");
    EXPECT_EQ(depthReached("setoption name UCI_Elo value 99999\n"), "6") << "clamped to the top: full strength";
    EXPECT_NE(depthReached("setoption name UCI_Elo value 1350\n"), "6");
    // An endless search at a low level searches on as deep as it can, until "stop".
    client.Send("go infinite\n");
    EXPECT_FALSE(client.Await("info depth 7").empty());
    EXPECT_TRUE(client.NoAnswerFor(100));
    client.Send("stop\nisready\n");
    EXPECT_FALSE(client.AwaitBestMove().empty());
    EXPECT_EQ(client.Await("readyok"), "readyok");
    client.Send("quit\n");
    EXPECT_EQ(client.engine.WaitForExit(), 0);
    EXPECT_EQ(client.engine.Log().find("not playable"), std::string::npos) << "a level played a move it never searched";
}

// Several search threads as analysis interfaces and bots set them: short games at 4 and then 2
// threads (changed between games), each answer one legal bestmove whose move leads the last pv;
// "isready" answered during a search; endless, ponder and stopped searches; the table cleared and
// resized with the threads set; a level that stays a level; "quit" in the middle of a search.
TEST_F(Uci, ThreadsSearchTogetherAndAnswerAsOne) {
    UciClient client;
    client.Send("uci\nsetoption name Hash value 16\nisready\n");
    ASSERT_EQ(client.Await("readyok"), "readyok");
    std::mt19937 random(3);
    for (const char* threads : {"4", "2"}) {
        client.Send(std::string("setoption name Threads value ") + threads + "\nucinewgame\nisready\n");
        ASSERT_EQ(client.Await("readyok"), "readyok");
        GuiBoard board;
        std::vector<std::string> moves;
        for (int turn = 0; turn < 6 && !board.LegalMoves().empty(); ++turn) {
            client.Send("position startpos moves" + Join(moves) + "\ngo wtime 3000 btime 3000 winc 30 binc 30\n");
            std::string move = After(client.AwaitBestMove(), "bestmove");
            ASSERT_TRUE(board.IsLegal(move)) << threads << " threads:" << Join(moves) << " " << move;
            ASSERT_FALSE(client.infos.empty());
            const std::string& last = client.infos.back();
            EXPECT_EQ(After(last, "pv"), move) << last;
            GuiBoard line = board;
            for (const std::string& pvMove : Fields(last.substr(last.find(" pv ") + 4))) {
                ASSERT_TRUE(line.IsLegal(pvMove)) << last;
                line.Play(pvMove);
            }
            board.Play(move);
            moves.push_back(move);
            std::vector<std::string> legal = board.LegalMoves();
            if (legal.empty()) break;
            std::string reply = legal[std::uniform_int_distribution<std::size_t>(0, legal.size() - 1)(random)];
            board.Play(reply);
            moves.push_back(reply);
        }
        EXPECT_TRUE(client.NoAnswerFor(50)) << "one bestmove per go";
    }

    // An endless search answers "isready" at once and stops at "stop"; a ponder search waits for
    // its "ponderhit".
    client.Send("position startpos moves e2e4 c7c5\ngo infinite\n");
    EXPECT_FALSE(client.Await("info depth 6").empty());
    client.Send("isready\n");
    EXPECT_EQ(client.Await("readyok"), "readyok");
    EXPECT_TRUE(client.NoAnswerFor(100));
    client.Send("stop\n");
    EXPECT_TRUE(IsLegalAfter({"e2e4", "c7c5"}, After(client.AwaitBestMove(1000), "bestmove")));
    client.Send("go ponder wtime 2000 btime 2000\n");
    EXPECT_TRUE(client.NoAnswerFor(200));
    client.Send("ponderhit\n");
    EXPECT_TRUE(IsLegalAfter({"e2e4", "c7c5"}, After(client.AwaitBestMove(), "bestmove")));

    // Threads, Hash and Clear Hash during a search stop it first; the next search uses them.
    client.Send("go infinite\n");
    EXPECT_TRUE(client.NoAnswerFor(100));
    client.Send("setoption name Threads value 3\nsetoption name Hash value 8\nsetoption name Clear Hash\n"
                "position startpos moves d2d4\ngo depth 7\n");
    EXPECT_FALSE(client.AwaitBestMove().empty()) << "the search stopped by setoption";
    EXPECT_TRUE(IsLegalAfter({"d2d4"}, After(client.AwaitBestMove(), "bestmove")));
    EXPECT_EQ(After(client.infos.back(), "depth"), "7");

    // A level plays as it does on one thread: its depth stays out of reach.
    client.Send("setoption name UCI_LimitStrength value true\nsetoption name UCI_Elo value 800\ngo depth 7\n");
    EXPECT_FALSE(client.AwaitBestMove().empty());
    EXPECT_NE(After(client.infos.back(), "depth"), "7");

    client.Send("setoption name UCI_LimitStrength value false\ngo infinite\n");
    EXPECT_FALSE(client.Await("info depth").empty());
    auto start = Clock::now();
    client.Send("quit\n");
    EXPECT_EQ(client.engine.WaitForExit(), 0);
    EXPECT_LT(MsSince(start), Scaled(2000)) << "quit ends every thread at once";
}

} // namespace velkor::test
