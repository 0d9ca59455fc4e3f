// The command loop: every token from the interface (or a user at the console) is logged and
// handled in a fixed order: clock update, move, then the command table.
#include "frontend/command_loop.h"

#include <cstdio>
#include <cstring>

#include "frontend/announce.h"
#include "frontend/engine.h"
#include "frontend/input.h"
#include "frontend/log.h"
#include "frontend/time_control.h"
#include "notation/coordinate.h"
#include "position/setup.h"
#include "position/tables.h"
#include "search/transposition.h"
#include "tools/game_export.h"
#include "tools/pgn_convert.h"

namespace velkor {

std::uint8_t PonderEnabled = 1;

namespace {

char CommandBuffer[TokenBufferSize];

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

void HandleNew() {
    StopEngineAndTakeBackPonder();
    SetupPosition(StartPositionFen, true);
    EngineState = Waiting;
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
    HandleNew();
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

// The file tools read two file names and leave the engine idle.
template <void (*Tool)(const char*, const char*)>
void HandleFileTool() {
    StopEngineAndTakeBackPonder();
    char input[TokenBufferSize], output[TokenBufferSize];
    if (!ReadArgument(input) || !ReadArgument(output)) return;
    Tool(input, output);
}

void ConvertOnePgnFile(const char* pgnPath, const char* gamePath) {
    int counter = 0;
    ConvertPgnFile(pgnPath, gamePath, counter);
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

// The command table, tested in order after the clock update and the move test. A null handler
// (quit) ends the loop.
struct Command {
    const char* word;
    std::size_t prefix; // 0: the whole token must match
    void (*handler)();
};

constexpr Command Commands[] = {
    {"go", 2, HandleGo},
    {"new", 3, HandleNew},
    {"result", 6, HandleResult},
    {"level", 5, HandleLevel},
    {"force", 5, HandleForce},
    {"setboard", 8, HandleSetboard},
    {"easy", 0, HandleEasy},
    {"hard", 0, HandleHard},
    {"quit", 4, nullptr},
    {"white", 5, HandleWhite},
    {"black", 5, HandleBlack},
    {"pgn2game", 0, HandleFileTool<ConvertOnePgnFile>},
    {"pgnlist2game", 0, HandleFileTool<ConvertPgnList>},
    {"game2pgn", 0, HandleFileTool<ExportPgn>},
    {"game2pos", 0, HandleFileTool<ExportPositions>},
    {"benchmark", 0, HandleBenchmark},
    {"test", 0, HandleTest},
};

bool Matches(const char* token, const Command& command) {
    return command.prefix ? std::strncmp(token, command.word, command.prefix) == 0
                          : std::strcmp(token, command.word) == 0;
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
    case Pondering:
        if (move == PonderMove) {
            LogLine("-GOOD PONDER");
            PonderMove = NoMove;
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
    return state == Idle || state == Pondering || state == Waiting;
}

void QuitSequence() {
    StopEngineAndTakeBackPonder();
    EngineState = Quit;
    StartEngine(StartDepthArgument);
    JoinSearchThread();
}

} // namespace

bool ProtocolHandshake() {
    BookMovePlayed = 0;
    EngineState = Waiting;
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::fflush(nullptr);

    char first[TokenBufferSize];
    ReadToken(first);
    if (std::strncmp(first, "xboard", 6) != 0) Print("Engine works only with xboard protocol ver. 2\n");
    Print("\n");
    std::printf("feature %s=%s\n", "done", "0");
    std::printf("feature %s=%s\n", "setboard", "1");
    EngineState = Waiting;
    CreateEngineEvents();
    LaunchSearchThread();
    InitTables();
    ClearHash();
    Print("feature done=1\n");
    return true;
}

void CommandLoop() {
    std::memset(CommandBuffer, 0, sizeof(CommandBuffer));
    PonderEnabled = 1;
    EngineState = Idle;
    if (!ProtocolHandshake()) return;

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
        const Command* command = nullptr;
        for (const Command& candidate : Commands) {
            if (Matches(CommandBuffer, candidate)) {
                command = &candidate;
                break;
            }
        }
        if (!command) continue;
        if (!command->handler) break; // quit
        command->handler();
    }
    QuitSequence();
}

} // namespace velkor
