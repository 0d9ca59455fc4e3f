// The command loop: every token from the interface (or a user at the console) is logged and
// handled in a fixed order: clock update, move, then the command table.
#include "frontend/command_loop.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "control/announce.h"
#include "control/engine.h"
#include "control/game_moves.h"
#include "control/setup.h"
#include "control/time_control.h"
#include "core/log.h"
#include "frontend/input.h"
#include "frontend/uci.h"
#include "notation/coordinate.h"
#include "tools/game_export.h"
#include "tools/pgn_convert.h"

namespace velkor {

namespace {

char CommandBuffer[TokenBufferSize];

// Analysis mode ("analyze" until "exit"): the position is searched without end, and moves,
// set-ups and take-backs restart that search on the new position.
bool AnalysisMode = false;

void Print(const char* text) { std::fputs(text, stdout); }

// Reads the next token for an argument; false when it is missing or too long.
bool ReadArgument(char* buffer) { return ReadToken(buffer) == ReadResult::Token; }

void HandleTime() {
    char clock[TokenBufferSize], otim[TokenBufferSize], opponent[TokenBufferSize];
    bool haveClock = ReadArgument(clock);
    ReadArgument(otim);
    ReadArgument(opponent);
    long long centiseconds;
    if (haveClock && ParseInteger(clock, centiseconds)) ApplyClock(centiseconds);
}

void HandleLevel() {
    char moves[TokenBufferSize], base[TokenBufferSize], increment[TokenBufferSize];
    bool complete = ReadArgument(moves);
    complete = ReadArgument(base) && complete;
    complete = ReadArgument(increment) && complete;
    if (complete) ApplyLevel(moves, base, increment);
}

void HandleGo() {
    StopEngineAndTakeBackPonder();
    if (!PlayBookMove()) PlayEngineMove();
}

void StartNewGame() {
    StopEngineAndTakeBackPonder();
    SetupPosition(StartPositionFen, true);
    EngineState = Waiting;
}

// A new game also ends the depth limit of "sd" (interfaces set it again for each game).
void HandleNew() {
    StartNewGame();
    SearchDepthLimit = StartDepthArgument;
}

void HandleForce() { StopEngineAndTakeBackPonder(); }

void HandleSetboard() {
    StopEngineAndTakeBackPonder();
    char text[LineTextLimit + 1];
    ReadRestOfLine(text);
    LogLine("setboard ", text);
    // A rejected text keeps the old position; the interface is told nothing (GUIs show every
    // tellusererror as a dialog, and xboard's "accepted setboard" arrives here with no text).
    if (!SetupPosition(text, true)) LogLine("-M: tellusererror Illegal position");
}

// "result 1-0 {White wins on time}": the comment belongs to the command, or its words would be
// read as commands ("time}" as the clock).
void HandleResult() {
    char comment[LineTextLimit + 1];
    ReadRestOfLine(comment);
    StartNewGame();
}

void HandleEasy() { PonderEnabled = 0; }
void HandleHard() { PonderEnabled = 1; }

// Only the side to move changes. An en-passant square counts only for the side that can capture
// on it: when the other side gets the move it is parked, and the way back restores it. xboard
// sends "black", ..., "white" before the engine's first move as White.
void SetSideToMove(int colour) {
    StopEngineAndTakeBackPonder();
    if (SideToMove == colour) return;
    std::uint8_t parked = ParkedEnPassantSquare;
    ParkedEnPassantSquare = EnPassantSquare;
    if (EnPassantSquare) ToggleEnPassantSquare(EnPassantSquare);
    SideToMove = colour;
    if (parked && EnPassantFits(parked, colour)) ToggleEnPassantSquare(parked);
    HistoryTop->key = HashKey;
    GameSnapshot.enPassantSquare = EnPassantSquare;
    GameSnapshot.sideToMove = colour;
}

void HandleWhite() { SetSideToMove(White); }
void HandleBlack() { SetSideToMove(Black); }

// The file tools read their two file names from the rest of the line (never from the next one)
// and leave the engine idle, with the game as it was.
template <bool (*Tool)(const char*, const char*)>
void HandleFileTool() {
    StopEngineAndTakeBackPonder();
    char line[LineTextLimit + 1];
    ReadRestOfLine(line);
    std::size_t length = std::strlen(line);
    if (length == LineTextLimit && line[length - 1] != '\n') {
        Print("ERROR: FILE NAMES TOO LONG\n");
        return;
    }
    line[std::strcspn(line, "\r\n")] = '\0';
    LogLine("::cmd:: ", line);
    char input[TokenBufferSize], output[TokenBufferSize], extra[TokenBufferSize];
    if (std::sscanf(line, "%255s %255s %255s", input, output, extra) != 2) {
        Print("ERROR: AN INPUT AND AN OUTPUT FILE NAME ARE NEEDED\n");
        return;
    }
    SavedGame game = SaveGame();
    Tool(input, output);
    RestoreGame(game);
}

bool ConvertOnePgnFile(const char* pgnPath, const char* gamePath) {
    int counter = 0;
    return ConvertPgnFile(pgnPath, gamePath, counter);
}

void HandleBenchmark() {
    StopEngineAndTakeBackPonder();
    Print("Define __STAT\n");
}

void HandleTest() {
    StopEngineAndTakeBackPonder();
    MovesPerControl = 1;
    IncrementMs = 0;
    SetupPosition(TestPositionFen, true);
    EngineState = Waiting;
    PonderEnabled = 0;
    SetTestTimeControl();
}

// ---- Extensions beyond the original command set, as xboard and other interfaces send them ----

// "undo": the last ply of the game goes (xboard sends it in force mode); the engine is idle.
void HandleUndo() {
    StopEngineAndTakeBackPonder();
    UndoGameMove();
}

// "remove": the user's last move and the engine's reply go; the engine waits for the user, or
// stays in force mode when it was there.
void HandleRemove() {
    bool forceMode = EngineState.load() == Idle;
    StopEngineAndTakeBackPonder();
    UndoGameMove();
    UndoGameMove();
    if (!forceMode) EngineState = Waiting;
}

void HandleAnalyze() { StopEngineAndTakeBackPonder(); }

// "exit" leaves analysis mode; a game in progress does not hear it.
void HandleExit() {
    if (EngineState.load() == Analysing) StopEngine();
}

// "sd N": no iteration deeper than N from now on; every search has at least its first one, and
// none goes deeper than the search can.
void HandleSearchDepth() {
    char argument[TokenBufferSize];
    long long depth;
    if (!ReadArgument(argument) || !ParseInteger(argument, depth) || depth < 1) return;
    depth = std::min(depth, static_cast<long long>(MaxIterationDepth));
    SearchDepthLimit = std::max(static_cast<unsigned>(depth), MinIterationDepth);
}

// "st N": N seconds for every move from now on.
void HandleSecondsPerMove() {
    char argument[TokenBufferSize];
    if (ReadArgument(argument)) ApplyFixedMoveTime(argument);
}

// "?" acts only while the engine thinks on its own move (the thinking wait watches for it); "."
// (the status request of analysis mode) has no answer. Both are read here and ignored.
void Ignore() {}

// What a command does to analysis mode once its handler has run.
enum class InAnalysis { Continues, Restarts, Ends };

// The command table, tested in order after the clock update and the move test. A null handler
// (quit) ends the loop.
struct Command {
    const char* word;
    std::size_t prefix; // 0: the whole token must match
    void (*handler)();
    InAnalysis inAnalysis;
};

constexpr Command Commands[] = {
    {"go", 2, HandleGo, InAnalysis::Ends},
    {"new", 3, HandleNew, InAnalysis::Restarts},
    {"result", 6, HandleResult, InAnalysis::Ends},
    {"level", 5, HandleLevel, InAnalysis::Continues},
    {"force", 5, HandleForce, InAnalysis::Ends},
    {"setboard", 8, HandleSetboard, InAnalysis::Restarts},
    {"easy", 0, HandleEasy, InAnalysis::Continues},
    {"hard", 0, HandleHard, InAnalysis::Continues},
    {"quit", 4, nullptr, InAnalysis::Ends},
    {"white", 5, HandleWhite, InAnalysis::Restarts},
    {"black", 5, HandleBlack, InAnalysis::Restarts},
    {"pgn2game", 0, HandleFileTool<ConvertOnePgnFile>, InAnalysis::Ends},
    {"pgnlist2game", 0, HandleFileTool<ConvertPgnList>, InAnalysis::Ends},
    {"game2pgn", 0, HandleFileTool<ExportPgn>, InAnalysis::Ends},
    {"game2pos", 0, HandleFileTool<ExportPositions>, InAnalysis::Ends},
    {"benchmark", 0, HandleBenchmark, InAnalysis::Ends},
    {"test", 0, HandleTest, InAnalysis::Ends},
    // Extensions.
    {"undo", 0, HandleUndo, InAnalysis::Restarts},
    {"remove", 0, HandleRemove, InAnalysis::Restarts},
    {"analyze", 0, HandleAnalyze, InAnalysis::Restarts},
    {"exit", 0, HandleExit, InAnalysis::Ends},
    {"sd", 0, HandleSearchDepth, InAnalysis::Continues},
    {"st", 0, HandleSecondsPerMove, InAnalysis::Continues},
    {"?", 0, Ignore, InAnalysis::Continues},
    {".", 0, Ignore, InAnalysis::Continues},
};

bool Matches(const char* token, const Command& command) {
    return command.prefix ? std::strncmp(token, command.word, command.prefix) == 0
                          : std::strcmp(token, command.word) == 0;
}

const Command* FindCommand(const char* token) {
    for (const Command& command : Commands)
        if (Matches(token, command)) return &command;
    return nullptr;
}

bool EndsTheTurn(const Command& command) {
    return command.handler == nullptr || command.handler == HandleForce || command.handler == HandleNew ||
           command.handler == HandleResult;
}

void RunCommand(const Command& command) {
    if (command.handler == HandleAnalyze) AnalysisMode = true;
    if (command.inAnalysis == InAnalysis::Ends) AnalysisMode = false;
    command.handler();
    if (AnalysisMode && command.inAnalysis == InAnalysis::Restarts) StartAnalysis();
}

// What the words that arrive while the engine thinks on its own move ask of its turn, looked at
// ahead of the command loop: "?" plays the move now; "force", "quit", "new", "result" and the end
// of the input end the turn without a move. Every word stays in the input and is handled in its
// order once the turn is over ("?" is then ignored).
ThinkingInput WatchInputWhileThinking(int timeoutMs) {
    char token[TokenBufferSize];
    while (ScanToken(token, timeoutMs)) {
        if (std::strcmp(token, "?") == 0) return ThinkingInput::MoveNow;
        const Command* command = FindCommand(token);
        if (command && EndsTheTurn(*command)) return ThinkingInput::EndTurn;
        timeoutMs = 0;
    }
    return ScanEnded() ? ThinkingInput::EndTurn : ThinkingInput::None;
}

// Plays an incoming move on the game position; an illegal one is refused and changes nothing.
bool PlayIncomingMove(Move move, const char* text) {
    if (ApplyGameMove(move)) return true;
    std::printf("Illegal move: %s\n", text);
    return false;
}

// A move in coordinate text, handled by what the engine is doing.
void DispatchMove(Move move, const char* text) {
    switch (EngineState.load()) {
    case Idle:
        PlayIncomingMove(move, text);
        break;
    case Waiting:
        if (PlayIncomingMove(move, text) && !PlayBookMove()) PlayEngineMove();
        break;
    case Analysing:
        StopEngine();
        PlayIncomingMove(move, text);
        StartAnalysis();
        break;
    case Pondering:
        if (move == PonderMove) {
            LogLine("-GOOD PONDER");
            ConfirmPonderMove();
            PlayEngineMove();
        } else {
            LogLine("-BAD PONDER");
            StopEngineAndTakeBackPonder();
            if (PlayIncomingMove(move, text)) PlayEngineMove();
            else EngineState = Waiting;
        }
        break;
    default:
        break;
    }
}

bool AcceptsMoves() {
    std::int32_t state = EngineState.load();
    return state == Idle || state == Pondering || state == Waiting || state == Analysing;
}

} // namespace

bool ProtocolHandshake(const char* first) {
    BookMovePlayed = 0;
    EngineState = Waiting;
    if (std::strncmp(first, "xboard", 6) != 0) Print("Engine works only with xboard protocol ver. 2\n");
    Print("\n");
    std::printf("feature %s=%s\n", "done", "0");
    std::printf("feature %s=%s\n", "setboard", "1");
    EngineState = Waiting;
    InitEngine(WatchInputWhileThinking);
    // Interfaces that never send "new" (GNOME Chess) play from the start position at once; the
    // book is planted, but a missing one is told only when a game starts.
    SetupPosition(StartPositionFen, true, false);
    Print("feature done=1\n");
    return true;
}

void CommandLoop() {
    std::memset(CommandBuffer, 0, sizeof(CommandBuffer));
    PonderEnabled = 1;
    EngineState = Idle;
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::fflush(nullptr);

    // The first word chooses the protocol for the life of the process: "uci", or xboard's.
    char first[TokenBufferSize];
    ReadToken(first);
    if (std::strcmp(first, "uci") == 0) {
        LogLine("::cmd:: ", first);
        UciSession();
        return;
    }
    if (!ProtocolHandshake(first)) return;

    for (;;) {
        ReadResult read = ReadToken(CommandBuffer);
        if (read == ReadResult::End) break;
        if (read == ReadResult::TooLong) {
            LogLine("-M: token longer than 255 characters ignored");
            continue;
        }
        LogLine("::cmd:: ", CommandBuffer);

        if (std::strncmp(CommandBuffer, "time", 4) == 0) {
            HandleTime();
            continue;
        }
        if (AcceptsMoves()) {
            if (Move move = ParseCoordinateMove(CommandBuffer)) {
                DispatchMove(move, CommandBuffer);
                continue;
            }
        }
        const Command* command = FindCommand(CommandBuffer);
        if (!command) continue;
        if (!command->handler) break; // quit
        RunCommand(*command);
    }
    ShutDownEngine();
}

} // namespace velkor
