// The one global position, its game history, the ply stack and the game snapshot.
#pragma once

#include <array>
#include <cstdint>

#include "core/move.h"
#include "core/thread_local.h"
#include "core/types.h"

namespace velkor {

// ---- The position --------------------------------------------------------------------------
// Every thread has its own position, game history and ply stack: the command thread's is the
// game's, and each search thread searches a copy of it (see GamePositionCopy below).
alignas(CacheLineBytes) extern VELKOR_PER_THREAD std::array<PieceCode, SquareCount> Board;
alignas(CacheLineBytes) extern VELKOR_PER_THREAD std::array<Bitboard, 11> PieceBitboards; // by piece code 1..10; entry 0 unused, no kings
alignas(CacheLineBytes) extern VELKOR_PER_THREAD std::array<Bitboard, 2> ColourOccupancy;  // [Black], [White], kings included
extern VELKOR_PER_THREAD Bitboard Occupied;
extern VELKOR_PER_THREAD Bitboard OccupiedRot90;
extern VELKOR_PER_THREAD Bitboard OccupiedRotA1H8;
extern VELKOR_PER_THREAD Bitboard OccupiedRotA8H1;
extern VELKOR_PER_THREAD std::array<std::uint8_t, 2> KingSquare;
extern VELKOR_PER_THREAD std::int32_t SideToMove;
extern VELKOR_PER_THREAD std::uint16_t CastlingRights;
extern VELKOR_PER_THREAD std::uint8_t EnPassantSquare; // 0 = none (a8 can never be one)
extern VELKOR_PER_THREAD HashKeyValue HashKey;         // no side-to-move term
extern VELKOR_PER_THREAD std::uint32_t PawnKey;
extern VELKOR_PER_THREAD std::uint8_t MaterialCount;
extern VELKOR_PER_THREAD std::array<std::uint8_t, 2> PieceMaterial;
extern VELKOR_PER_THREAD std::array<std::uint8_t, 2> PawnCount;

inline constexpr std::array<std::uint8_t, 11> MaterialUnits = {0, 1, 1, 3, 3, 3, 3, 5, 5, 9, 9};
inline constexpr std::array<std::int16_t, PieceCodeCount> PieceValue = {
    0, 100, 100, 310, 310, 315, 315, 500, 500, 950, 950, 2000, 2000};

// ---- Game history --------------------------------------------------------------------------
struct HistoryEntry {
    HashKeyValue key;
    Move move;                   // the move played from this position
    std::uint16_t halfmoveClock; // moves since the last capture, pawn move or castling
};

// Room for a very long game plus the deepest search line on top of it.
inline constexpr int GameHistorySize = 8192;
alignas(CacheLineBytes) extern VELKOR_PER_THREAD std::array<HistoryEntry, GameHistorySize> GameHistory;
extern VELKOR_PER_THREAD HistoryEntry* HistoryTop;

inline int HistoryIndex() { return static_cast<int>(HistoryTop - GameHistory.data()); }

// The draw tests never look further back than the fifty-move limit, so a game longer than the
// history keeps only its recent part: DropOldestHistory(count) removes the count oldest entries
// (fewer than HistoryIndex()), moves the rest down and caps the halfmove clocks kept at
// HistoryClockCap, so that a clock can never wrap however long the game goes on.
inline constexpr std::uint16_t HistoryClockCap = 1000;
void DropOldestHistory(int count);

// ---- Ply stack -----------------------------------------------------------------------------
struct PlyRecord {
    Bitboard checkers;
    Bitboard kingLineAttacks;
    Bitboard kingDiagonalAttacks;
    Bitboard savedOccupied;
    Bitboard savedOwnOccupancy;
    Bitboard savedMoverBitboard;
    Bitboard savedRot90;
    Bitboard savedRotA1H8;
    Bitboard savedRotA8H1;
    HashKeyValue savedHashKey;
    std::uint32_t savedPawnKey;
    ScoredMove* moveCursor;
    ScoredMove* moveListEnd;
    std::uint32_t hashBound;
    std::int16_t hashScore;
    Move hashMove;
    Move killer1;
    Move killer2;
    std::uint16_t savedCastlingRights;
    std::uint8_t savedEnPassant;
    std::uint8_t hashDepth;
    PieceCode capturedPiece;
    std::int8_t materialDelta;
    std::array<std::uint32_t, MaxMoves> orderingKeys;
};

inline constexpr int PlyStackSize = 136;
alignas(CacheLineBytes) extern VELKOR_PER_THREAD std::array<PlyRecord, PlyStackSize> PlyStack;
extern VELKOR_PER_THREAD PlyRecord* CurrentPly;

// Copies the state that unmake restores into the record; called right before every make.
void SaveSnapshot(PlyRecord& record);

// ---- A copy of the position -------------------------------------------------------------------
// Everything a move changes, for taking a game move back exactly.
struct PositionCopy {
    std::array<PieceCode, SquareCount> board;
    std::array<Bitboard, 11> pieceBitboards;
    std::array<Bitboard, 2> colourOccupancy;
    Bitboard occupied, rot90, rotA1H8, rotA8H1;
    HashKeyValue hashKey;
    std::uint32_t pawnKey;
    std::int32_t sideToMove;
    std::uint16_t castlingRights;
    std::array<std::uint8_t, 2> kingSquare, pieceMaterial, pawnCount;
    std::uint8_t enPassantSquare, parkedEnPassantSquare, materialCount;
};

void CopyPosition(PositionCopy& copy);
// Puts the copied position back; the game history and the snapshot are the caller's.
void RestorePosition(const PositionCopy& copy);

// ---- Handing the position to another thread -------------------------------------------------
// The position with the game history up to it: what a search thread needs of the game.
struct GamePositionCopy {
    PositionCopy position;
    int historyIndex;                                  // HistoryIndex() of the copied position
    std::array<HistoryEntry, GameHistorySize> history; // the entries up to it, itself included
};

// Copies this thread's position and the used part of its history.
void CopyGamePosition(GamePositionCopy& copy);
// Makes the copy this thread's position, with its history, at the base of this thread's ply stack.
void AdoptGamePosition(const GamePositionCopy& copy);

// ---- En-passant square of the other side ----------------------------------------------------
// The square set aside while "white" or "black" gives the move to the side that cannot capture
// on it; 0 when none. Set-up and every game move clear it.
extern VELKOR_PER_THREAD std::uint8_t ParkedEnPassantSquare;

// Sets (or, when it is the current one, clears) the en-passant square with its keys.
void ToggleEnPassantSquare(int square);

// True when square is an en-passant square the given side to move could capture on.
constexpr bool EnPassantFits(int square, int sideToMove) {
    return RowOf(square) == (sideToMove == White ? 2 : 5);
}

// ---- Game snapshot -------------------------------------------------------------------------
// The game position as the command loop sees it; incoming move text is parsed against it while
// the search thread may be changing the live position.
struct GameSnapshotRecord {
    std::array<PieceCode, SquareCount> board;
    std::uint8_t enPassantSquare;
    std::uint16_t castlingRights;
    std::uint8_t whiteKingSquare;
    std::uint8_t blackKingSquare;
    std::int32_t sideToMove;
};
extern GameSnapshotRecord GameSnapshot;

// The snapshot of the live position.
GameSnapshotRecord SnapshotOfPosition();
// Copies the live position into GameSnapshot.
void RefreshGameSnapshot();

} // namespace velkor
