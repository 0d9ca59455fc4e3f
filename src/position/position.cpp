// Storage of the global position, the game history, the ply stack and the game snapshot.
#include "position/position.h"

#include <algorithm>

#include "core/zobrist.h"

namespace velkor {

std::array<PieceCode, SquareCount> Board;
std::array<Bitboard, 11> PieceBitboards;
std::array<Bitboard, 2> ColourOccupancy;
Bitboard Occupied;
Bitboard OccupiedRot90;
Bitboard OccupiedRotA1H8;
Bitboard OccupiedRotA8H1;
std::array<std::uint8_t, 2> KingSquare;
std::int32_t SideToMove;
std::uint16_t CastlingRights;
std::uint8_t EnPassantSquare;
HashKeyValue HashKey;
std::uint32_t PawnKey;
std::uint8_t MaterialCount;
std::array<std::uint8_t, 2> PieceMaterial;
std::array<std::uint8_t, 2> PawnCount;

std::array<HistoryEntry, GameHistorySize> GameHistory;
HistoryEntry* HistoryTop = GameHistory.data();

std::array<PlyRecord, PlyStackSize> PlyStack;
PlyRecord* CurrentPly = PlyStack.data();

GameSnapshotRecord GameSnapshot;
std::uint8_t ParkedEnPassantSquare = 0;

void DropOldestHistory(int count) {
    std::copy(GameHistory.begin() + count, HistoryTop + 1, GameHistory.begin());
    HistoryTop -= count;
    for (HistoryEntry* entry = GameHistory.data(); entry <= HistoryTop; ++entry)
        entry->halfmoveClock = std::min(entry->halfmoveClock, HistoryClockCap);
    std::fill(HistoryTop + 1, GameHistory.end(), HistoryEntry{});
}

void SaveSnapshot(PlyRecord& record) {
    record.savedHashKey = HashKey;
    record.savedPawnKey = PawnKey;
    record.savedOccupied = Occupied;
    record.savedOwnOccupancy = ColourOccupancy[SideToMove];
    record.savedRot90 = OccupiedRot90;
    record.savedRotA1H8 = OccupiedRotA1H8;
    record.savedRotA8H1 = OccupiedRotA8H1;
    record.savedEnPassant = EnPassantSquare;
    record.savedCastlingRights = CastlingRights;
}

void CopyPosition(PositionCopy& copy) {
    copy = {Board,         PieceBitboards, ColourOccupancy, Occupied,        OccupiedRot90,
            OccupiedRotA1H8, OccupiedRotA8H1, HashKey,       PawnKey,         SideToMove,
            CastlingRights, KingSquare,    PieceMaterial,   PawnCount,       EnPassantSquare,
            ParkedEnPassantSquare, MaterialCount};
}

void RestorePosition(const PositionCopy& copy) {
    Board = copy.board;
    PieceBitboards = copy.pieceBitboards;
    ColourOccupancy = copy.colourOccupancy;
    Occupied = copy.occupied;
    OccupiedRot90 = copy.rot90;
    OccupiedRotA1H8 = copy.rotA1H8;
    OccupiedRotA8H1 = copy.rotA8H1;
    HashKey = copy.hashKey;
    PawnKey = copy.pawnKey;
    SideToMove = copy.sideToMove;
    CastlingRights = copy.castlingRights;
    KingSquare = copy.kingSquare;
    PieceMaterial = copy.pieceMaterial;
    PawnCount = copy.pawnCount;
    EnPassantSquare = copy.enPassantSquare;
    ParkedEnPassantSquare = copy.parkedEnPassantSquare;
    MaterialCount = copy.materialCount;
}

void ToggleEnPassantSquare(int square) {
    HashKey ^= ZobristKeys[0][square];
    PawnKey ^= LowHalf(ZobristKeys[0][square]);
    EnPassantSquare = EnPassantSquare == square ? 0 : static_cast<std::uint8_t>(square);
}

GameSnapshotRecord SnapshotOfPosition() {
    return {Board, EnPassantSquare, CastlingRights, KingSquare[White], KingSquare[Black], SideToMove};
}

void RefreshGameSnapshot() { GameSnapshot = SnapshotOfPosition(); }

} // namespace velkor
