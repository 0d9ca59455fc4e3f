// The set-up of a game: the position from its text, then the search state that belonged to the
// old position cleared, the book planted, and an EPD move resolved.
#include "control/setup.h"

#include <cstdio>

#include "book/book.h"
#include "core/log.h"
#include "eval/pawn_cache.h"
#include "notation/san.h"
#include "position/position.h"
#include "search/history.h"
#include "search/transposition.h"

namespace velkor {

char EpdOperation = 0;
Move EpdMove = NoMove;

void ClearSearchTables() {
    ClearHash();
    ClearHistoryScores();
    for (PlyRecord& record : PlyStack) record.killer1 = record.killer2 = NoMove;
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
        bool loaded = atStart && LoadBook(BookFileName);
        if (!loaded) LogLine("-\ttellusererror BOOK ERROR!\n");
        if (atStart && !loaded && tellBookError) std::fputs("tellusererror BOOK ERROR!\n", stdout);
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
    if (loadBook && IsStartPosition()) bookPlanted = LoadBook(BookFileName);
    HashAge = SearchHashAge;
    return true;
}

} // namespace velkor
