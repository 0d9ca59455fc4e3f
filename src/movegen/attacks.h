// Attack and check detection on the current position.
#pragma once

#include "core/move.h"
#include "core/tables.h"
#include "position/position.h"

namespace velkor {

// Rook and bishop attacks from a square under the current occupancy.
inline Bitboard RookAttacks(int s) {
    return RankAttacksFrom(s, Occupied) | FileAttacksFrom(s, OccupiedRot90);
}
inline Bitboard BishopAttacks(int s) {
    return DiagA1H8AttacksFrom(s, OccupiedRotA1H8) | DiagA8H1AttacksFrom(s, OccupiedRotA8H1);
}

// The pieces of colour that stand on a type's white code (pawn, knight, ...).
inline Bitboard PiecesOf(int whiteCode, int colour) {
    return PieceBitboards[PieceOfColour(whiteCode, colour)];
}

// True when a piece of the colour not `defender` (kings aside) attacks square.
bool SquareAttacked(int square, int defender);

// Fills checkers, kingLineAttacks and kingDiagonalAttacks of record for the side to move.
void ComputeCheckInfo(PlyRecord& record);

// Called right after mover's move was made: true when the move is illegal (the mover's king is
// attacked, or a castling crossed an attacked square or came next to the enemy king).
bool LeavesKingAttacked(Move move, int mover);

bool CastlePathAttackedBlack(Move move);
bool CastlePathAttackedWhite(Move move);

} // namespace velkor
