// Legal move lists: generate as the searches do, then make, test and unmake each move.
#include "movegen/legal.h"

#include "movegen/attacks.h"
#include "movegen/generators.h"
#include "position/make_move.h"

namespace velkor {

bool PositionIsPlayable() {
    for (int colour : {Black, White}) {
        int king = KingSquare[colour];
        if (king >= SquareCount || Board[king] != PieceOfColour(WhiteKing, colour)) return false;
    }
    return !LeavesKingAttacked(NoMove, Opponent(SideToMove));
}

ScoredMove* GenerateLegalMoves(ScoredMove* list) {
    if (!PositionIsPlayable()) return list;
    PlyRecord record;
    ScoredMove* end = GenerateForPly(list, record);
    SaveSnapshot(record);
    int mover = SideToMove;
    ScoredMove* legalEnd = list;
    for (ScoredMove* entry = list; entry != end; ++entry) {
        MakeMove(entry->move, record);
        bool illegal = LeavesKingAttacked(entry->move, mover);
        UnmakeMove(entry->move, record);
        if (!illegal) *legalEnd++ = *entry;
    }
    return legalEnd;
}

bool IsCheckmate() {
    ScoredMove moves[MaxMoves];
    if (!PositionIsPlayable() || GenerateLegalMoves(moves) != moves) return false;
    return SquareAttacked(KingSquare[SideToMove], SideToMove);
}

bool IsPseudoLegal(Move move) {
    ScoredMove moves[MaxMoves];
    ScoredMove* end = GenerateAll[SideToMove](moves);
    for (ScoredMove* entry = moves; entry != end; ++entry)
        if (entry->move == move) return true;
    return false;
}

bool IsLegalMove(Move move) {
    if (move == NoMove || IsMarker(move)) return false;
    ScoredMove moves[MaxMoves];
    ScoredMove* end = GenerateLegalMoves(moves);
    for (ScoredMove* entry = moves; entry != end; ++entry)
        if (entry->move == move) return true;
    return false;
}

} // namespace velkor
