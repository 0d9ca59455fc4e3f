// A copy of every global of the position, for bit-for-bit comparisons, and the key and
// counters recomputed from scratch.
#pragma once

#include <array>
#include <cstring>

#include "core/zobrist.h"
#include "position/position.h"

namespace velkor::test {

struct PositionState {
    std::array<PieceCode, SquareCount> board;
    std::array<Bitboard, 11> pieces;
    std::array<Bitboard, 2> colours;
    Bitboard occupied, rot90, rotA1H8, rotA8H1;
    std::array<std::uint8_t, 2> kings;
    int side;
    std::uint16_t castling;
    std::uint8_t enPassant;
    HashKeyValue key;
    std::uint32_t pawnKey;
    std::uint8_t material;
    std::array<std::uint8_t, 2> pieceMaterial, pawnCount;
    const HistoryEntry* top;
    HashKeyValue topKey;
    std::uint16_t topClock;

    static PositionState Capture() {
        return {Board, PieceBitboards, ColourOccupancy, Occupied, OccupiedRot90, OccupiedRotA1H8,
                OccupiedRotA8H1, KingSquare, SideToMove, CastlingRights, EnPassantSquare, HashKey, PawnKey,
                MaterialCount, PieceMaterial, PawnCount, HistoryTop, HistoryTop->key, HistoryTop->halfmoveClock};
    }
    bool operator==(const PositionState&) const = default;
};

// The key from the board and en-passant square, plus the keys of the rights lost since set-up.
inline HashKeyValue RecomputedKey(std::uint16_t rightsAtSetup) {
    HashKeyValue key = 0;
    for (int s = 0; s < SquareCount; ++s)
        if (Board[s]) key ^= ZobristKeys[Board[s]][s];
    if (EnPassantSquare) key ^= ZobristKeys[0][EnPassantSquare];
    for (int right : {WhiteShort, WhiteLong, BlackShort, BlackLong})
        if ((rightsAtSetup & right) && !(CastlingRights & right)) key ^= CastlingRightKey(right);
    return key;
}

inline std::uint32_t RecomputedPawnKey() {
    std::uint32_t key = 0;
    for (int s = 0; s < SquareCount; ++s)
        if (Board[s] == WhitePawn || Board[s] == BlackPawn) key ^= LowHalf(ZobristKeys[Board[s]][s]);
    if (EnPassantSquare) key ^= LowHalf(ZobristKeys[0][EnPassantSquare]);
    return key;
}

} // namespace velkor::test
