// Storage of the position, the game history and the ply stack of each thread, and of the game
// snapshot.
#include "position/position.h"

#include <algorithm>

#include "core/zobrist.h"

namespace velkor {

alignas(CacheLineBytes) VELKOR_PER_THREAD std::array<PieceCode, SquareCount> Board{};
alignas(CacheLineBytes) VELKOR_PER_THREAD std::array<Bitboard, 11> PieceBitboards{};
alignas(CacheLineBytes) VELKOR_PER_THREAD std::array<Bitboard, 2> ColourOccupancy{};
VELKOR_PER_THREAD Bitboard Occupied{};
VELKOR_PER_THREAD Bitboard OccupiedRot90{};
VELKOR_PER_THREAD Bitboard OccupiedRotA1H8{};
VELKOR_PER_THREAD Bitboard OccupiedRotA8H1{};
VELKOR_PER_THREAD std::array<std::uint8_t, 2> KingSquare{};
VELKOR_PER_THREAD std::int32_t SideToMove{};
VELKOR_PER_THREAD std::uint16_t CastlingRights{};
VELKOR_PER_THREAD std::uint8_t EnPassantSquare{};
VELKOR_PER_THREAD HashKeyValue HashKey{};
VELKOR_PER_THREAD std::uint32_t PawnKey{};
VELKOR_PER_THREAD std::uint8_t MaterialCount{};
VELKOR_PER_THREAD std::array<std::uint8_t, 2> PieceMaterial{};
VELKOR_PER_THREAD std::array<std::uint8_t, 2> PawnCount{};

alignas(CacheLineBytes) VELKOR_PER_THREAD std::array<HistoryEntry, GameHistorySize> GameHistory{};
VELKOR_PER_THREAD HistoryEntry* HistoryTop = nullptr;

alignas(CacheLineBytes) VELKOR_PER_THREAD std::array<PlyRecord, PlyStackSize> PlyStack{};
VELKOR_PER_THREAD PlyRecord* CurrentPly = nullptr;

namespace {
// The main thread's history and ply stack start empty before anything else runs; a search
// thread's when it adopts the position it searches.
[[maybe_unused]] const bool MainThreadStacksReady = (HistoryTop = GameHistory.data(), CurrentPly = PlyStack.data(), true);
} // namespace

GameSnapshotRecord GameSnapshot;
VELKOR_PER_THREAD std::uint8_t ParkedEnPassantSquare = 0;

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

void CopyGamePosition(GamePositionCopy& copy) {
    CopyPosition(copy.position);
    copy.historyIndex = HistoryIndex();
    std::copy(GameHistory.begin(), HistoryTop + 1, copy.history.begin());
}

void AdoptGamePosition(const GamePositionCopy& copy) {
    RestorePosition(copy.position);
    auto used = copy.history.begin() + copy.historyIndex + 1;
    std::copy(copy.history.begin(), used, GameHistory.begin());
    HistoryTop = GameHistory.data() + copy.historyIndex;
    CurrentPly = PlyStack.data();
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
