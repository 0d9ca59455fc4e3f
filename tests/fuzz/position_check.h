// The position recomputed from its board and compared with every incremental structure: the
// fuzzers' consistency check after set-ups and moves.
#pragma once

#include "fuzz/fuzz_support.h"
#include "position/position.h"
#include "support/position_state.h"

namespace velkor::fuzz {

// rightsAtSetup: the castling rights the position was set up with (lost ones add their keys).
inline void CheckPosition(std::uint16_t rightsAtSetup) {
    std::array<Bitboard, 11> pieces{};
    std::array<Bitboard, 2> colours{};
    std::array<std::uint8_t, 2> pawns{}, pieceMaterial{};
    int material = 0;
    for (int s = 0; s < SquareCount; ++s) {
        int piece = Board[s];
        if (!piece) continue;
        Check(piece < PieceCodeCount, "piece code out of range");
        colours[ColourOf(piece)] |= MaskOf(s);
        if (IsKing(piece)) {
            Check(KingSquare[ColourOf(piece)] == s, "king square");
            continue;
        }
        pieces[piece] |= MaskOf(s);
        material += MaterialUnits[piece];
        if (IsPawn(piece)) ++pawns[ColourOf(piece)];
        else pieceMaterial[ColourOf(piece)] += MaterialUnits[piece];
    }
    Check(pieces == PieceBitboards, "piece bitboards");
    Check(colours == ColourOccupancy, "colour occupancy");
    Check(Occupied == (colours[White] | colours[Black]), "occupancy");
    Check(OccupiedRot90 == RotateTo90(Occupied), "rotated board 90");
    Check(OccupiedRotA1H8 == RotateToA1H8(Occupied), "rotated board a1h8");
    Check(OccupiedRotA8H1 == RotateToA8H1(Occupied), "rotated board a8h1");
    Check(MaterialCount == material, "material count");
    Check(PawnCount == pawns, "pawn counts");
    Check(PieceMaterial == pieceMaterial, "piece material");
    Check(HashKey == test::RecomputedKey(rightsAtSetup), "hash key");
    Check(PawnKey == test::RecomputedPawnKey(), "pawn key");
    Check(HistoryTop->key == HashKey, "history key");
    // A castling right is held only while its king and rook stand at home.
    struct Home { int right, king, kingSquare, rook, rookSquare; };
    for (Home home : {Home{WhiteShort, WhiteKing, E1, WhiteRook, H1}, Home{WhiteLong, WhiteKing, E1, WhiteRook, A1},
                      Home{BlackShort, BlackKing, E8, BlackRook, H8}, Home{BlackLong, BlackKing, E8, BlackRook, A8}}) {
        if (CastlingRights & home.right)
            Check(Board[home.kingSquare] == home.king && Board[home.rookSquare] == home.rook, "castling right");
    }
}

} // namespace velkor::fuzz
