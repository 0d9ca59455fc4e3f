// Move and result announcements in the interface's syntax.
#include "control/announce.h"

#include <cstdio>

#include "control/engine.h"
#include "control/game_moves.h"
#include "control/time_control.h"
#include "core/log.h"
#include "movegen/legal.h"
#include "notation/coordinate.h"
#include "search/draw.h"
#include "search/search.h"
#include "search/transposition.h"

namespace velkor {

namespace {

inline constexpr int MateInOneScore = MateScore - 1;
inline constexpr int LowestAnnouncedMate = MateScore - 49;
inline constexpr int HighestAnnouncedMate = MateScore - 2;

// The result of a game that is over before the engine moves.
const char* ResultBeforeMove(Move marker) {
    switch (marker) {
    case ResultMated: return SideToMove == Black ? "1-0 {Velkor mated 0}\n" : "0-1 {Velkor mated 0}\n";
    case ResultStalemate: return "1/2-1/2 {Draw by stalemate (1)}\n";
    case ResultRepetition: return "1/2-1/2 {Draw by 3 fold repetition (2)}\n";
    case ResultFiftyMoves: return "1/2-1/2 {Draw by 50 moves rule (3)}\n";
    case ResultNoMaterial: return "1/2-1/2 {Draw by insufficient material to mate (4)}\n";
    default: return nullptr;
    }
}

// The result the engine's own move produced; the opponent is now to move. A mate is claimed only
// when the board shows it: the table keeps mate scores as the search that stored them counted
// them, so a score met again at another distance from the root can say "mate in 1" of a move
// that mates later, and an interface forfeits a false claim.
const char* ResultAfterMove(int score) {
    bool blackToMove = SideToMove == Black;
    if (score == MateInOneScore) {
        if (!IsCheckmate()) return nullptr;
        return blackToMove ? "1-0 {Velkor mates 1}\n" : "0-1 {Velkor mates 1}\n";
    }
    if (score >= LowestAnnouncedMate && score <= HighestAnnouncedMate) {
        std::optional<HashEntry> entry = ProbeHash();
        if (entry && entry->move() == ResultMated && IsCheckmate())
            return blackToMove ? "1-0 {Velkor mates 1#}\n" : "0-1 {Velkor mates 1#}\n";
        return nullptr;
    }
    switch (DrawCode(2)) {
    case ResultRepetition: return "1/2-1/2 {Draw by 3 fold repetition (22)}\n";
    case ResultFiftyMoves: return "1/2-1/2 {Draw by 50 moves rule (33)}\n";
    case ResultNoMaterial: return "1/2-1/2 {Draw by insufficient material to mate (44)}\n";
    default: return nullptr;
    }
}

// A search stopped before it finished an iteration may report a move taken from the table that
// does not fit the position: the engine then plays its first legal move rather than nothing.
Move PlayableMove(Move move) {
    if (IsLegalMove(move)) return move;
    ScoredMove legal[MaxMoves];
    ScoredMove* end = GenerateLegalMoves(legal);
    LogLine("-M: search result not playable, first legal move taken");
    return end != legal ? legal[0].move : NoMove;
}

} // namespace

Move PlantedBookMove() {
    std::optional<HashEntry> entry = ProbeHash();
    return entry && entry->age() == BookMoveAge && IsLegalMove(entry->move()) ? entry->move() : NoMove;
}

Move SearchResultMove() {
    Move move = SearchResult.move;
    return IsMarker(move) ? NoMove : PlayableMove(move);
}

bool PlayBookMove() {
    Move book = PlantedBookMove();
    if (book != NoMove && ApplyGameMove(book)) {
        char text[8];
        FormatCoordinateMove(text, book);
        std::printf("move %s\n", text);
        LogLine("-M: move(book): ", text);
        BookMovePlayed = 1;
        EngineState = Waiting;
        return true;
    }
    if (BookMovePlayed) ApplyBookExitTime();
    return false;
}

bool AnnounceSearchResult() {
    Move move = SearchResult.move;
    int score = SearchResult.score;
    const char* result = nullptr;
    if (IsMarker(move)) {
        result = ResultBeforeMove(move);
    } else if ((move = PlayableMove(move)) != NoMove) {
        // Only a move that stands on the engine's board is announced; the board refuses none that
        // PlayableMove let through, but a refusal must never announce a move not played.
        if (!ApplyGameMove(move)) {
            EngineState = Waiting;
            std::fputs("1/2-1/2 {Velkor: game too long}\n", stdout);
            return true;
        }
        char text[8];
        FormatCoordinateMove(text, move);
        std::printf("move %s\n", text);
        LogLine("move ", text, "\t", "score: ", score);
        result = ResultAfterMove(score);
    }
    EngineState = Waiting;
    if (result) std::fputs(result, stdout);
    return result != nullptr;
}

} // namespace velkor
