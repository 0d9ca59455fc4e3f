// The set-up of a game: the position from its text, then the search state that belonged to the
// old position cleared, the book planted, and an EPD move resolved.
#include "control/setup.h"

#include <cstdio>
#include <filesystem>

#include "book/book.h"
#include "core/log.h"
#include "eval/pawn_cache.h"
#include "notation/san.h"
#include "position/position.h"
#include "search/history.h"
#include "search/transposition.h"

namespace velkor {

namespace {
bool MissingBookTold = false;
} // namespace

char EpdOperation = 0;
Move EpdMove = NoMove;

void ClearSearchTables() {
    ClearHash();
    ClearHistoryScores();
    ClearKillers();
    ClearPawnStructureCache();
}

bool SetupPosition(const char* text, bool loadBook, bool tellBookError) {
    ParsedFen fen;
    if (!ReadFen(text, fen)) return false;
    BuildPosition(fen);
    ClearSearchTables();
    // The book plays only from the start position. Elsewhere its absence is no error and the
    // interface hears nothing of it; at the start a missing or damaged book is told.
    if (loadBook) {
        bool atStart = IsStartPosition();
        std::filesystem::path path = atStart ? FindBookFile() : std::filesystem::path();
        bool loaded = !path.empty() && LoadBook(path);
        if (!loaded) LogLine("-\ttellusererror BOOK ERROR!\n");
        // A damaged book is told at every game, one found nowhere once: the engine plays on.
        bool tell = atStart && !loaded && tellBookError && (!path.empty() || !MissingBookTold);
        if (tell) std::fputs("tellusererror BOOK ERROR!\n", stdout);
        if (tell && path.empty()) MissingBookTold = true;
    }
    HashAge = SearchHashAge;
    EpdOperation = 0;
    EpdMove = NoMove;
    if (fen.epdOperation) {
        Move move = ParseSanMove(fen.epdMove);
        if (move == NoMove) {
            std::printf("Warning cannot recognize move: %s\r\n", fen.epdMove);
            return false;
        }
        EpdOperation = fen.epdOperation;
        EpdMove = move;
    }
    return true;
}

bool SetupGamePosition(const char* text, bool loadBook, bool& bookPlanted) {
    ParsedFen fen;
    bookPlanted = false;
    if (!ReadFen(text, fen) || fen.epdOperation) return false;
    BuildPosition(fen);
    if (loadBook && IsStartPosition()) {
        std::filesystem::path path = FindBookFile();
        bookPlanted = !path.empty() && LoadBook(path);
    }
    HashAge = SearchHashAge;
    return true;
}

} // namespace velkor
