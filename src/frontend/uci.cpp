// The UCI front end. Commands arrive as lines; the search runs on the search thread exactly as
// for xboard, and this thread waits out its time while it answers "isready" and watches for
// "stop", "ponderhit" and everything that must stop the search first.
#include "frontend/uci.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "book/book.h"
#include "control/announce.h"
#include "control/engine.h"
#include "control/game_moves.h"
#include "control/setup.h"
#include "control/time_control.h"
#include "core/log.h"
#include "frontend/input.h"
#include "movegen/attacks.h"
#include "movegen/legal.h"
#include "notation/coordinate.h"
#include "search/helpers.h"
#include "search/playing_level.h"
#include "search/search.h"
#include "search/signals.h"
#include "search/thinking_output.h"
#include "search/transposition.h"

namespace velkor {

namespace {

inline constexpr long long DefaultMoveOverheadMs = 50;
inline constexpr long long MaxMoveOverheadMs = 5000;
inline constexpr int IdleWatchSliceMs = 1000; // the input watch without a search to look after
inline constexpr long long DefaultHashMiB = 72;
inline constexpr long long MaxHashMiB = 65536;
inline constexpr int DefaultLimitedElo = 1500;
inline constexpr int MaxSkillLevel = static_cast<int>(FullStrengthLevel);

struct UciOptions {
    bool ponder = false; // the interface may send "go ponder"; the engine never ponders unasked
    bool ownBook = true;
    long long moveOverheadMs = DefaultMoveOverheadMs;
    // The strength: the Elo when it is limited, else the skill level (its top is full strength).
    bool limitStrength = false;
    int elo = DefaultLimitedElo;
    int skillLevel = MaxSkillLevel;
    bool analyseMode = false; // analysis is always at full strength
};
UciOptions Options;

bool BookTroubleTold = false; // a book that cannot be planted is told once per process

using Words = std::vector<std::string>;

Words SplitWords(const std::string& line) {
    Words words;
    std::size_t at = 0;
    while (at < line.size()) {
        std::size_t start = line.find_first_not_of(" \t", at);
        if (start == std::string::npos) break;
        std::size_t end = line.find_first_of(" \t", start);
        if (end == std::string::npos) end = line.size();
        words.push_back(line.substr(start, end - start));
        at = end;
    }
    return words;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Join(const Words& words, std::size_t from, std::size_t to) {
    std::string text;
    for (std::size_t i = from; i < to && i < words.size(); ++i) text += (text.empty() ? "" : " ") + words[i];
    return text;
}

// Every line the engine writes goes out whole, in one write, so that the search thread's lines
// never cut into it.
void Say(const std::string& line) { std::fputs((line + "\n").c_str(), stdout); }
void SayInfo(const std::string& text) { Say("info string " + text); }

void LogInput(const std::string& line) { LogBlock("::cmd:: " + line); }

std::string MoveText(Move move) {
    char text[8];
    FormatCoordinateMove(text, move);
    return text;
}

void Identify() {
    Say("id name Velkor");
    Say("id author the Velkor developers");
    Say("option name Ponder type check default false");
    Say("option name OwnBook type check default true");
    Say("option name Move Overhead type spin default " + std::to_string(DefaultMoveOverheadMs) + " min 0 max " +
        std::to_string(MaxMoveOverheadMs));
    Say("option name Hash type spin default " + std::to_string(DefaultHashMiB) + " min 1 max " + std::to_string(MaxHashMiB));
    Say("option name Clear Hash type button");
    Say("option name Threads type spin default 1 min 1 max " + std::to_string(MaxSearchThreads));
    Say("option name MultiPV type spin default 1 min 1 max " + std::to_string(MaxPrincipalLines));
    Say("option name UCI_LimitStrength type check default false");
    Say("option name UCI_Elo type spin default " + std::to_string(DefaultLimitedElo) + " min " + std::to_string(LowestLevelElo) +
        " max " + std::to_string(FullStrengthElo()));
    Say("option name Skill Level type spin default " + std::to_string(MaxSkillLevel) + " min 0 max " +
        std::to_string(MaxSkillLevel));
    Say("option name UCI_AnalyseMode type check default false");
    Say("uciok");
}

// "576 KiB", "72 MiB": the size of a table of 2^bits buckets per side.
std::string TableSize(int bits) {
    std::uint64_t kilobytes = HashTableBytes(bits) >> 10;
    return kilobytes < 1024 ? std::to_string(kilobytes) + " KiB" : std::to_string(kilobytes >> 10) + " MiB";
}

// "setoption name NAME [value VALUE]": names in any case; unknown names change nothing.
void SetOption(const Words& words) {
    auto nameAt = std::find(words.begin(), words.end(), "name");
    if (nameAt == words.end()) return;
    auto valueAt = std::find(nameAt, words.end(), "value");
    std::size_t nameStart = static_cast<std::size_t>(nameAt - words.begin()) + 1;
    std::size_t nameEnd = static_cast<std::size_t>(valueAt - words.begin());
    std::string name = Lower(Join(words, nameStart, nameEnd));
    std::string value = valueAt == words.end() ? "" : Join(words, nameEnd + 1, words.size());
    if (name == "ponder") {
        Options.ponder = Lower(value) == "true";
    } else if (name == "ownbook") {
        Options.ownBook = Lower(value) == "true";
    } else if (name == "move overhead") {
        long long ms;
        if (ParseInteger(value.c_str(), ms)) Options.moveOverheadMs = std::clamp(ms, 0LL, MaxMoveOverheadMs);
    } else if (name == "uci_limitstrength") {
        Options.limitStrength = Lower(value) == "true";
    } else if (name == "uci_elo") {
        long long elo;
        if (ParseInteger(value.c_str(), elo)) Options.elo = static_cast<int>(std::clamp<long long>(elo, LowestLevelElo, FullStrengthElo()));
    } else if (name == "skill level") {
        long long level;
        if (ParseInteger(value.c_str(), level)) Options.skillLevel = static_cast<int>(std::clamp<long long>(level, 0, MaxSkillLevel));
    } else if (name == "uci_analysemode") {
        Options.analyseMode = Lower(value) == "true";
    } else if (name == "threads") {
        long long threads;
        if (!ParseInteger(value.c_str(), threads)) return;
        int wanted = static_cast<int>(std::clamp<long long>(threads, 1, MaxSearchThreads));
        if (int set = SetSearchThreadCount(wanted); set < wanted)
            SayInfo("Threads " + value + ": the system gives only " + std::to_string(set) + " threads; Velkor searches with them");
    } else if (name == "clear hash") {
        ClearSearchTables();
    } else if (name == "multipv") {
        long long lines;
        if (ParseInteger(value.c_str(), lines)) PrincipalLineCount = static_cast<int>(std::clamp<long long>(lines, 1, MaxPrincipalLines));
    } else if (name == "hash") {
        // The largest table of the table's shape within the size asked; the table in use stays
        // where the machine cannot give that much.
        long long megabytes;
        if (!ParseInteger(value.c_str(), megabytes)) return;
        int bits = HashBucketBitsFor(static_cast<std::uint64_t>(std::clamp(megabytes, 1LL, MaxHashMiB)));
        if (ResizeHash(bits)) LogLine("-M: hash table ", TableSize(bits).c_str());
        else
            SayInfo("Hash " + value + " refused: the machine cannot give " + TableSize(bits) + "; the table stays at " +
                    TableSize(CurrentHashBucketBits()));
    }
}

void TellBookTrouble(bool planted) {
    if (planted || BookTroubleTold) return;
    BookTroubleTold = true;
    SayInfo("no usable opening book (Velkor.book); Velkor plays from its search");
}

// The base of a "position" command: the start position or the fields after "fen", up to "moves".
std::string PositionBase(const Words& words, std::size_t& movesAt) {
    auto moves = std::find(words.begin(), words.end(), "moves");
    movesAt = static_cast<std::size_t>(moves - words.begin());
    if (words.size() > 1 && words[1] == "startpos") return StartPositionFen;
    if (words.size() > 1 && words[1] == "fen") return Join(words, 2, movesAt);
    return "";
}

// "position startpos|fen FEN [moves M...]": the game is rebuilt from its base every time. A
// refused base keeps the previous position; at a move that cannot be played the position stops
// where it is.
void SetPosition(const Words& words) {
    std::size_t movesAt;
    std::string base = PositionBase(words, movesAt);
    std::size_t plies = movesAt < words.size() ? words.size() - movesAt - 1 : 0;
    bool planted = false;
    // The book only knows lines from the start: beyond their length no position can be in it.
    bool book = Options.ownBook && plies <= static_cast<std::size_t>(MaxBookLineMoves);
    if (base.empty() || !SetupGamePosition(base.c_str(), book, planted)) {
        SayInfo("position refused: " + (base.empty() ? std::string("no startpos or fen") : base) +
                "; the previous position stands");
        return;
    }
    if (book && IsStartPosition()) TellBookTrouble(planted);
    for (std::size_t i = movesAt + 1; i < words.size(); ++i) {
        const std::string& text = words[i];
        Move move = text.size() == 4 || text.size() == 5 ? ParseCoordinateMoveLive(text.c_str()) : NoMove;
        if (!ApplyGameMove(move)) {
            SayInfo("move " + text + " cannot be played; the position stands after " +
                    std::to_string(i - movesAt - 1) + " moves");
            return;
        }
    }
}

// A "go" command's words.
struct GoRequest {
    long long clockMs = NoUciClock;
    long long incrementMs = 0;
    long long movesToGo = 0;
    // The limits given: NotGiven when absent (a limit of zero or less is the smallest there is).
    static constexpr long long NotGiven = LLONG_MIN;
    long long moveTimeMs = NotGiven;
    long long depth = NotGiven;
    long long nodes = NotGiven;
    long long mate = NotGiven;
    bool infinite = false;
    bool ponder = false;
    std::vector<Move> searchMoves;

    bool Timed() const { return clockMs != NoUciClock || moveTimeMs != NotGiven; }
    // Without any limit a search goes on until it is stopped, as "go infinite".
    bool Endless() const { return infinite || (!Timed() && depth == NotGiven && nodes == NotGiven && mate == NotGiven); }
};

bool IsGoKeyword(const std::string& word) {
    static const char* const keywords[] = {"wtime", "btime",  "winc",     "binc",     "movestogo", "movetime",
                                           "depth", "nodes",  "mate",     "infinite", "ponder",    "searchmoves"};
    return std::any_of(std::begin(keywords), std::end(keywords), [&](const char* k) { return word == k; });
}

GoRequest ReadGo(const Words& words) {
    GoRequest go;
    bool white = SideToMove == White;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        long long value = 0;
        bool number = i + 1 < words.size() && ParseInteger(words[i + 1].c_str(), value);
        if (word == "infinite") go.infinite = true;
        else if (word == "ponder") go.ponder = true;
        else if (word == "searchmoves") {
            for (; i + 1 < words.size() && !IsGoKeyword(words[i + 1]); ++i)
                if (Move move = ParseCoordinateMoveLive(words[i + 1].c_str()); IsLegalMove(move))
                    go.searchMoves.push_back(move);
        } else if (number) {
            ++i;
            if (word == (white ? "wtime" : "btime")) go.clockMs = value;
            else if (word == (white ? "winc" : "binc")) go.incrementMs = value;
            else if (word == "movestogo") go.movesToGo = value;
            else if (word == "movetime") go.moveTimeMs = value;
            else if (word == "depth") go.depth = value;
            else if (word == "nodes") go.nodes = value;
            else if (word == "mate") go.mate = value;
        }
    }
    return go;
}

// The search's depth argument: "depth", or for "mate N" the plies of N moves; every search
// completes at least its first iteration.
unsigned DepthFor(const GoRequest& go) {
    long long depth = MaxIterationDepth;
    if (go.depth != GoRequest::NotGiven) depth = go.depth;
    if (go.mate != GoRequest::NotGiven) depth = std::min<long long>(depth, 2 * std::clamp<long long>(go.mate, 0, MaxIterationDepth));
    return static_cast<unsigned>(std::clamp<long long>(depth, MinIterationDepth, MaxIterationDepth));
}

// The level a "go" plays at: analysis and a search the interface ends itself are at full strength.
double LevelFor(const GoRequest& go) {
    if (Options.analyseMode || go.Endless()) return FullStrengthLevel;
    return Options.limitStrength ? LevelForElo(Options.elo) : Options.skillLevel;
}

void SetSearchLimits(const GoRequest& go) {
    PlayingLevel = LevelFor(go);
    NodeLimit = go.nodes == GoRequest::NotGiven ? NoNodeLimit : static_cast<std::uint64_t>(std::max(go.nodes, 1LL));
    NodeLimit = std::min(NodeLimit, LevelNodeBudget(PlayingLevel));
    RootMoveCount = 0;
    for (Move move : go.searchMoves)
        if (RootMoveCount < MaxMoves) RootMoves[static_cast<std::size_t>(RootMoveCount++)] = move;
}

void ClearSearchLimits() {
    PlayingLevel = FullStrengthLevel;
    NodeLimit = NoNodeLimit;
    RootMoveCount = 0;
}

void SayBestMove(Move best) {
    Move line[2];
    std::string answer = "bestmove " + MoveText(best);
    if (PrincipalLine(best, line, 2) == 2) answer += " ponder " + MoveText(line[1]);
    Say(answer);
}

// Waits for the search of a "go" to end: by its time or limits, or, for an endless or ponder
// search, by "stop" (or "ponderhit", after which it is the timed search of the move).
ThinkingInput WaitForResult(const GoRequest& go) {
    std::int64_t budget = go.Timed() ? std::min<std::int64_t>(MoveTimeMs, MoveTimeCapMs()) : NoTimeLimit;
    if (go.ponder) {
        for (;;) {
            ThinkingInput input = WaitWhileThinking(NoTimeLimit, false);
            if (input != ThinkingInput::PonderHit) return input;
            if (go.infinite) continue;
            EngineState = Thinking;
            StartThinkingClock();
            break;
        }
    }
    for (;;) {
        ThinkingInput input = go.Endless() ? WaitWhileThinking(NoTimeLimit, false) : WaitWhileThinking(budget);
        if (input != ThinkingInput::PonderHit) return input;
    }
}

ThinkingInput WatchUciInput(int timeoutMs);

// A book move for a "go" that may take one: never in analysis or for a search the interface
// waits to stop, and with "searchmoves" only one among them.
Move BookMoveFor(const GoRequest& go) {
    if (!Options.ownBook || Options.analyseMode || go.Endless() || go.ponder) return NoMove;
    Move book = PlantedBookMove();
    if (!go.searchMoves.empty() && std::find(go.searchMoves.begin(), go.searchMoves.end(), book) == go.searchMoves.end())
        return NoMove;
    return book;
}

// A position without a legal move: a ponder or endless search still waits for "stop" (or
// "ponderhit"), since the interface only then expects the answer.
void AnswerWithoutMoves(const GoRequest& go) {
    if (go.ponder || go.Endless()) {
        for (;;) {
            ThinkingInput input = WatchUciInput(IdleWatchSliceMs);
            if (input == ThinkingInput::EndTurn) return; // "quit" or the end of input: no answer
            if (input == ThinkingInput::MoveNow || (input == ThinkingInput::PonderHit && !go.infinite)) break;
        }
    }
    Say(SquareAttacked(KingSquare[SideToMove], SideToMove) ? "info depth 0 score mate 0" : "info depth 0 score cp 0");
    Say("bestmove (none)");
}

void Go(const Words& words) {
    GoRequest go = ReadGo(words);
    ScoredMove legal[MaxMoves];
    if (GenerateLegalMoves(legal) == legal) return AnswerWithoutMoves(go);
    if (Move book = BookMoveFor(go)) {
        LogLine("-M: move(book): ", MoveText(book).c_str());
        BookMovePlayed = 1;
        // Interfaces expect a thinking line before every answer; a book move has no score.
        Say("info depth 0 score cp 0 nodes 0 nps 0 time 0 pv " + MoveText(book));
        Say("bestmove " + MoveText(book));
        return;
    }
    ApplyUciTime(go.clockMs, go.incrementMs, go.movesToGo, go.moveTimeMs == GoRequest::NotGiven ? NoUciMoveTime : go.moveTimeMs,
                 Options.moveOverheadMs);
    if (BookMovePlayed && !go.ponder) ApplyBookExitTime();
    SetSearchLimits(go);
    ClaimRootDraws = false;
    ShowThinking = true;
    EngineState = go.ponder ? Pondering : Thinking;
    StartThinkingClock();
    StartEngine(DepthFor(go));
    bool result = EndThinking(WaitForResult(go));
    ClearSearchLimits();
    if (!result) return; // "quit" or the end of input: no answer
    Move best = SearchResultMove();
    if (best == NoMove) best = legal[0].move;
    SayBestMove(best);
}

enum class Command { None, Uci, IsReady, SetOption, NewGame, Position, Go, Stop, PonderHit, Quit };

Command CommandOf(const std::string& word) {
    static const std::pair<const char*, Command> commands[] = {
        {"uci", Command::Uci},           {"isready", Command::IsReady},   {"setoption", Command::SetOption},
        {"ucinewgame", Command::NewGame}, {"position", Command::Position}, {"go", Command::Go},
        {"stop", Command::Stop},         {"ponderhit", Command::PonderHit}, {"quit", Command::Quit}};
    for (const auto& [text, command] : commands)
        if (word == text) return command;
    return Command::None;
}

// While a search runs: "isready" is answered at once, "stop" and "ponderhit" act on the search,
// "quit" and the end of input end it without an answer, and a command that needs the engine
// idle stops it first (its answer comes before the command is handled). Other lines ("debug",
// "register", unknown ones) are read and ignored.
ThinkingInput WatchUciInput(int timeoutMs) {
    char word[TokenBufferSize];
    std::string line;
    while (PeekToken(word, timeoutMs)) {
        timeoutMs = 0;
        Command command = CommandOf(word);
        switch (command) {
        case Command::Quit: return ThinkingInput::EndTurn;
        case Command::Uci:
        case Command::SetOption:
        case Command::NewGame:
        case Command::Position:
        case Command::Go: return ThinkingInput::MoveNow;
        default: break;
        }
        ReadLine(line);
        LogInput(line);
        if (command == Command::IsReady) Say("readyok");
        if (command == Command::Stop) return ThinkingInput::MoveNow;
        if (command == Command::PonderHit) return ThinkingInput::PonderHit;
    }
    return InputEnded() ? ThinkingInput::EndTurn : ThinkingInput::None;
}

} // namespace

void UciSession() {
    char rest[LineTextLimit + 1];
    ReadRestOfLine(rest);
    ThinkingOutput = ThinkingFormat::Uci;
    InitEngine(WatchUciInput);
    bool planted = false;
    SetupGamePosition(StartPositionFen, Options.ownBook, planted);
    Identify();

    std::string line;
    while (ReadLine(line)) {
        Words words = SplitWords(line);
        if (words.empty()) continue;
        LogInput(line);
        switch (CommandOf(words[0])) {
        case Command::Uci: Identify(); break;
        case Command::IsReady: Say("readyok"); break;
        case Command::SetOption: SetOption(words); break;
        case Command::NewGame: ClearSearchTables(); break;
        case Command::Position: SetPosition(words); break;
        case Command::Go: Go(words); break;
        case Command::Quit: ShutDownEngine(); return;
        default: break; // "stop" and "ponderhit" with no search, "debug", "register", the unknown
        }
    }
    ShutDownEngine();
}

} // namespace velkor
