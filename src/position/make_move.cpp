// Make/unmake. A double step always sets the en-passant square, whether or not an enemy pawn
// could capture; castling rights are lost with their keys XORed into the hash key.
#include "position/make_move.h"

#include "core/tables.h"
#include "core/zobrist.h"

namespace velkor {

namespace {

inline constexpr int FiftyMoveLimit = 99;
inline constexpr int FiftyMoveWarning = 75;
inline constexpr int MinimumRepetitionClock = 4;

inline void LoseRight(int right) {
    if (CastlingRights & right) {
        CastlingRights &= static_cast<std::uint16_t>(~right);
        HashKey ^= CastlingRightKey(right);
    }
}

// A capture on a rook's home square loses the right that rook guards.
inline void LoseRightOfRookSquare(int square) {
    switch (square) {
    case A1: LoseRight(WhiteLong); break;
    case H1: LoseRight(WhiteShort); break;
    case A8: LoseRight(BlackLong); break;
    case H8: LoseRight(BlackShort); break;
    default: break;
    }
}

// The rights that survive a piece leaving or reaching each square. While a right is held its
// king and rook stand on their home squares, so only they can leave them, and a move onto one
// of them is the capture of that piece: masking by both squares loses exactly the rights that
// a king move, a rook move from home or a capture on a rook's home square loses.
inline constexpr std::array<std::uint16_t, SquareCount> RightsKept = [] {
    std::array<std::uint16_t, SquareCount> kept{};
    kept.fill(AllCastlingRights);
    kept[A1] = AllCastlingRights & ~WhiteLong;
    kept[H1] = AllCastlingRights & ~WhiteShort;
    kept[E1] = AllCastlingRights & ~(WhiteShort | WhiteLong);
    kept[A8] = AllCastlingRights & ~BlackLong;
    kept[H8] = AllCastlingRights & ~BlackShort;
    kept[E8] = AllCastlingRights & ~(BlackShort | BlackLong);
    return kept;
}();

// The XOR of the keys of every right in a set of lost rights.
inline constexpr std::array<HashKeyValue, AllCastlingRights + 1> LostRightsKey = [] {
    std::array<HashKeyValue, AllCastlingRights + 1> keys{};
    for (int lost = 0; lost <= AllCastlingRights; ++lost) {
        for (int right : {WhiteShort, WhiteLong, BlackShort, BlackLong})
            if (lost & right) keys[lost] ^= CastlingRightKey(right);
    }
    return keys;
}();

inline void UpdateRights(int from, int to) {
    std::uint16_t kept = CastlingRights & RightsKept[from] & RightsKept[to];
    if (kept == CastlingRights) return;
    HashKey ^= LostRightsKey[CastlingRights ^ kept];
    CastlingRights = kept;
}

inline void ToggleRotated(int square) {
    OccupiedRot90 ^= SquareMaskRot90[square];
    OccupiedRotA1H8 ^= SquareMaskRotA1H8[square];
    OccupiedRotA8H1 ^= SquareMaskRotA8H1[square];
}

inline void SetRotated(int square) {
    OccupiedRot90 |= SquareMaskRot90[square];
    OccupiedRotA1H8 |= SquareMaskRotA1H8[square];
    OccupiedRotA8H1 |= SquareMaskRotA8H1[square];
}

inline void SetEnPassant(int square) {
    EnPassantSquare = static_cast<std::uint8_t>(square);
    HashKey ^= ZobristKeys[0][square];
    PawnKey ^= LowHalf(ZobristKeys[0][square]);
}

// The piece a capture takes. Only a position whose side not to move is in check offers a king,
// and no caller may make a move there.
inline int CapturedPieceAt(int to) {
    int captured = Board[to];
    VELKOR_CHECK(captured != Empty && !IsKing(captured));
    return captured;
}

inline void RemoveCapturedPiece(PlyRecord& record, int to, int opp) {
    int captured = Board[to];
    record.capturedPiece = static_cast<PieceCode>(captured);
    PieceBitboards[captured] ^= MaskOf(to);
    ColourOccupancy[opp] ^= MaskOf(to);
    HashKey ^= ZobristKeys[captured][to];
}

// The piece move shared by quiet moves and captures; the to-square's occupancy is already set.
inline void MovePiece(PlyRecord& record, int from, int to, int side, HistoryEntry& entry) {
    int piece = Board[from];
    Bitboard fromTo = MaskOf(from) | MaskOf(to);
    ToggleRotated(from);
    HashKey ^= ZobristKeys[piece][from] ^ ZobristKeys[piece][to];
    if (CastlingRights) UpdateRights(from, to);
    if (IsKing(piece)) {
        KingSquare[side] = static_cast<std::uint8_t>(to);
    } else {
        record.savedMoverBitboard = PieceBitboards[piece];
        PieceBitboards[piece] ^= fromTo;
        if (IsPawn(piece)) {
            entry.halfmoveClock = 0;
            PawnKey ^= LowHalf(ZobristKeys[piece][from]) ^ LowHalf(ZobristKeys[piece][to]);
            if (from - to == 16) SetEnPassant(to + 8);
            else if (to - from == 16) SetEnPassant(to - 8);
        }
    }
    Board[to] = static_cast<PieceCode>(piece);
    Board[from] = Empty;
    ColourOccupancy[side] ^= fromTo;
    Occupied |= MaskOf(to);
    Occupied ^= MaskOf(from);
}

inline void MakeEnPassant(PlyRecord& record, int from, int to, int side, int opp) {
    int pawn = Board[from];
    int victimSquare = side == White ? to + 8 : to - 8;
    int victim = Board[victimSquare];
    record.savedMoverBitboard = PieceBitboards[pawn];
    record.capturedPiece = static_cast<PieceCode>(victim);
    Board[to] = static_cast<PieceCode>(pawn);
    Board[from] = Empty;
    Board[victimSquare] = Empty;
    MaterialCount -= 1;
    PawnCount[opp] -= 1;
    HashKeyValue change = ZobristKeys[victim][victimSquare] ^ ZobristKeys[pawn][to] ^ ZobristKeys[pawn][from];
    HashKey ^= change;
    PawnKey ^= LowHalf(ZobristKeys[victim][victimSquare]) ^ LowHalf(ZobristKeys[pawn][to]) ^
               LowHalf(ZobristKeys[pawn][from]);
    PieceBitboards[victim] ^= MaskOf(victimSquare);
    ColourOccupancy[opp] ^= MaskOf(victimSquare);
    PieceBitboards[pawn] ^= MaskOf(from) | MaskOf(to);
    ColourOccupancy[side] ^= MaskOf(from) | MaskOf(to);
    Occupied = ColourOccupancy[Black] | ColourOccupancy[White];
    OccupiedRot90 ^= SquareMaskRot90[from] ^ EnPassantRot90[to];
    OccupiedRotA1H8 ^= SquareMaskRotA1H8[from] ^ EnPassantRotA1H8[to];
    OccupiedRotA8H1 ^= SquareMaskRotA8H1[from] ^ EnPassantRotA8H1[to];
}

// Promotion piece codes by kind & 3 (queen, knight, rook, bishop) for White; Black is one more.
inline constexpr int PromotedWhiteCode[4] = {WhiteQueen, WhiteKnight, WhiteRook, WhiteBishop};

inline void Promote(PlyRecord& record, int from, int to, int side, int newPiece) {
    int pawn = Board[from];
    ToggleRotated(from);
    record.savedMoverBitboard = PieceBitboards[pawn];
    Board[from] = Empty;
    Board[to] = static_cast<PieceCode>(newPiece);
    PawnKey ^= LowHalf(ZobristKeys[pawn][from]);
    HashKey ^= ZobristKeys[newPiece][to] ^ ZobristKeys[pawn][from];
    PawnCount[side] -= 1;
    PieceBitboards[newPiece] |= MaskOf(to);
    PieceBitboards[pawn] ^= MaskOf(from);
    ColourOccupancy[side] ^= MaskOf(from) | MaskOf(to);
    Occupied = ColourOccupancy[Black] | ColourOccupancy[White];
}

struct CastlingGeometry {
    int kingFrom, kingTo, rookFrom, rookTo, wingRight, otherRight, king, rook;
};

// Indexed by kind - CastleShortBlack.
inline constexpr CastlingGeometry Castlings[4] = {
    {E8, G8, H8, F8, BlackShort, BlackLong, BlackKing, BlackRook},
    {E1, G1, H1, F1, WhiteShort, WhiteLong, WhiteKing, WhiteRook},
    {E8, C8, A8, D8, BlackLong, BlackShort, BlackKing, BlackRook},
    {E1, C1, A1, D1, WhiteLong, WhiteShort, WhiteKing, WhiteRook},
};

inline void MakeCastling(int kind, int side) {
    const CastlingGeometry& c = Castlings[kind - CastleShortBlack];
    LoseRight(c.otherRight);
    LoseRight(c.wingRight);
    KingSquare[side] = static_cast<std::uint8_t>(c.kingTo);
    HashKey ^= ZobristKeys[c.rook][c.rookFrom] ^ ZobristKeys[c.rook][c.rookTo] ^
               ZobristKeys[c.king][c.kingTo] ^ ZobristKeys[c.king][c.kingFrom];
    Board[c.kingFrom] = Board[c.rookFrom] = Empty;
    Board[c.rookTo] = static_cast<PieceCode>(c.rook);
    Board[c.kingTo] = static_cast<PieceCode>(c.king);
    Bitboard rookSquares = MaskOf(c.rookFrom) | MaskOf(c.rookTo);
    Bitboard allSquares = rookSquares | MaskOf(c.kingFrom) | MaskOf(c.kingTo);
    PieceBitboards[c.rook] ^= rookSquares;
    ColourOccupancy[side] ^= allSquares;
    Occupied ^= allSquares;
    for (int square : {c.kingFrom, c.kingTo, c.rookFrom, c.rookTo}) ToggleRotated(square);
}

inline void RestoreMoverOrKing(PlyRecord& record, int from, int to, int side) {
    if (KingSquare[side] == to) KingSquare[side] = static_cast<std::uint8_t>(from);
    else PieceBitboards[Board[to]] = record.savedMoverBitboard;
}

} // namespace

namespace {

// The rarer kinds: en passant, promotions and castling.
[[gnu::noinline]] void MakeSpecialMove(PlyRecord& record, int from, int to, int kind, int side, int opp,
                                       HistoryEntry& entry) {
    switch (kind) {
    case EnPassant:
        MakeEnPassant(record, from, to, side, opp);
        entry.halfmoveClock = 0;
        break;
    case PromoteQueen:
    case PromoteKnight:
    case PromoteRook:
    case PromoteBishop: {
        int newPiece = PieceOfColour(PromotedWhiteCode[kind & 3], side);
        int delta = MaterialUnits[newPiece] - 1;
        record.materialDelta = static_cast<std::int8_t>(delta);
        MaterialCount = static_cast<std::uint8_t>(MaterialCount + delta);
        SetRotated(to);
        PieceMaterial[side] = static_cast<std::uint8_t>(PieceMaterial[side] + delta + 1);
        Promote(record, from, to, side, newPiece);
        entry.halfmoveClock = 0;
        break;
    }
    case CapturePromoteQueen:
    case CapturePromoteKnight:
    case CapturePromoteRook:
    case CapturePromoteBishop: {
        int newPiece = PieceOfColour(PromotedWhiteCode[kind & 3], side);
        int delta = MaterialUnits[newPiece] - 1;
        int captured = CapturedPieceAt(to);
        PieceMaterial[side] = static_cast<std::uint8_t>(PieceMaterial[side] + delta + 1);
        PieceMaterial[opp] -= MaterialUnits[captured];
        record.materialDelta = static_cast<std::int8_t>(delta - MaterialUnits[captured]);
        MaterialCount = static_cast<std::uint8_t>(MaterialCount + record.materialDelta);
        RemoveCapturedPiece(record, to, opp);
        LoseRightOfRookSquare(to);
        Promote(record, from, to, side, newPiece);
        entry.halfmoveClock = 0;
        break;
    }
    default:
        MakeCastling(kind, side);
        entry.halfmoveClock = 0;
        break;
    }
}

} // namespace

void MakeMove(Move move, PlyRecord& record) {
    int to = MoveTo(move), from = MoveFrom(move), kind = KindOf(move);
    if (kind == MarkerKind) throw MarkerMoveError();
    int side = SideToMove, opp = Opponent(side);

    HistoryTop->move = move;
    HistoryEntry& entry = *++HistoryTop;
    if (EnPassantSquare) {
        HashKey ^= ZobristKeys[0][EnPassantSquare];
        PawnKey ^= LowHalf(ZobristKeys[0][EnPassantSquare]);
        EnPassantSquare = 0;
    }

    if (kind == Quiet) {
        SetRotated(to);
        entry.halfmoveClock = static_cast<std::uint16_t>((HistoryTop - 1)->halfmoveClock + 1);
        MovePiece(record, from, to, side, entry);
    } else if (kind == Capture) {
        int captured = CapturedPieceAt(to);
        record.materialDelta = static_cast<std::int8_t>(-MaterialUnits[captured]);
        MaterialCount = static_cast<std::uint8_t>(MaterialCount + record.materialDelta);
        if (IsPawn(captured)) {
            PawnCount[opp] -= 1;
            PawnKey ^= LowHalf(ZobristKeys[captured][to]);
        } else {
            PieceMaterial[opp] -= MaterialUnits[captured];
        }
        RemoveCapturedPiece(record, to, opp);
        entry.halfmoveClock = 0;
        MovePiece(record, from, to, side, entry);
    } else {
        MakeSpecialMove(record, from, to, kind, side, opp, entry);
    }

    SideToMove = opp;
    entry.key = HashKey;
}

namespace {

[[gnu::noinline]] void UnmakeSpecialMove(PlyRecord& record, int from, int to, int kind, int side, int opp) {
    switch (kind) {
    case EnPassant: {
        int victimSquare = side == White ? to + 8 : to - 8;
        int captured = record.capturedPiece;
        Board[from] = Board[to];
        Board[to] = Empty;
        MaterialCount += 1;
        PawnCount[opp] += 1;
        Board[victimSquare] = static_cast<PieceCode>(captured);
        ColourOccupancy[opp] |= MaskOf(victimSquare);
        PieceBitboards[captured] |= MaskOf(victimSquare);
        PieceBitboards[Board[from]] = record.savedMoverBitboard;
        break;
    }
    case PromoteQueen:
    case PromoteKnight:
    case PromoteRook:
    case PromoteBishop: {
        int pawn = PieceOfColour(WhitePawn, side);
        PieceMaterial[side] = static_cast<std::uint8_t>(PieceMaterial[side] - record.materialDelta - 1);
        MaterialCount = static_cast<std::uint8_t>(MaterialCount - record.materialDelta);
        Board[from] = static_cast<PieceCode>(pawn);
        PieceBitboards[pawn] = record.savedMoverBitboard;
        PieceBitboards[Board[to]] ^= MaskOf(to);
        Board[to] = Empty;
        PawnCount[side] += 1;
        break;
    }
    case CapturePromoteQueen:
    case CapturePromoteKnight:
    case CapturePromoteRook:
    case CapturePromoteBishop: {
        int pawn = PieceOfColour(WhitePawn, side);
        int captured = record.capturedPiece;
        CastlingRights = record.savedCastlingRights;
        MaterialCount = static_cast<std::uint8_t>(MaterialCount - record.materialDelta);
        PawnCount[side] += 1;
        Board[from] = static_cast<PieceCode>(pawn);
        PieceBitboards[pawn] = record.savedMoverBitboard;
        PieceBitboards[captured] |= MaskOf(to);
        ColourOccupancy[opp] |= MaskOf(to);
        PieceBitboards[Board[to]] ^= MaskOf(to);
        PieceMaterial[side] -= MaterialUnits[Board[to]];
        PieceMaterial[opp] += MaterialUnits[captured];
        Board[to] = static_cast<PieceCode>(captured);
        break;
    }
    default: {
        const CastlingGeometry& c = Castlings[kind - CastleShortBlack];
        CastlingRights = record.savedCastlingRights;
        KingSquare[side] = static_cast<std::uint8_t>(c.kingFrom);
        Board[c.kingTo] = Board[c.rookTo] = Empty;
        Board[c.kingFrom] = static_cast<PieceCode>(c.king);
        Board[c.rookFrom] = static_cast<PieceCode>(c.rook);
        PieceBitboards[c.rook] ^= MaskOf(c.rookFrom) | MaskOf(c.rookTo);
        break;
    }
    }
}

} // namespace

void UnmakeMove(Move move, PlyRecord& record) {
    int to = MoveTo(move), from = MoveFrom(move), kind = KindOf(move);
    if (kind == MarkerKind) throw MarkerMoveError();
    SideToMove ^= 1;
    int side = SideToMove, opp = Opponent(side);

    OccupiedRot90 = record.savedRot90;
    OccupiedRotA1H8 = record.savedRotA1H8;
    OccupiedRotA8H1 = record.savedRotA8H1;
    Occupied = record.savedOccupied;
    ColourOccupancy[side] = record.savedOwnOccupancy;
    EnPassantSquare = record.savedEnPassant;
    HashKey = record.savedHashKey;
    PawnKey = record.savedPawnKey;

    if (kind == Quiet) {
        CastlingRights = record.savedCastlingRights;
        RestoreMoverOrKing(record, from, to, side);
        Board[from] = Board[to];
        Board[to] = Empty;
    } else if (kind == Capture) {
        int captured = record.capturedPiece;
        CastlingRights = record.savedCastlingRights;
        MaterialCount = static_cast<std::uint8_t>(MaterialCount - record.materialDelta);
        if (IsPawn(captured)) PawnCount[opp] += 1;
        else PieceMaterial[opp] = static_cast<std::uint8_t>(PieceMaterial[opp] - record.materialDelta);
        PieceBitboards[captured] |= MaskOf(to);
        ColourOccupancy[opp] |= MaskOf(to);
        RestoreMoverOrKing(record, from, to, side);
        Board[from] = Board[to];
        Board[to] = static_cast<PieceCode>(captured);
    } else {
        UnmakeSpecialMove(record, from, to, kind, side, opp);
    }
    --HistoryTop;
}

void MakeNullMove(PlyRecord& record) {
    HistoryTop->move = NullMoveMarker;
    HistoryEntry& entry = *++HistoryTop;
    entry.halfmoveClock = static_cast<std::uint16_t>((HistoryTop - 1)->halfmoveClock + 1);
    record.savedHashKey = HashKey;
    record.savedPawnKey = PawnKey;
    record.savedEnPassant = EnPassantSquare;
    record.savedCastlingRights = CastlingRights;
    if (EnPassantSquare) {
        HashKey ^= ZobristKeys[0][EnPassantSquare];
        PawnKey ^= LowHalf(ZobristKeys[0][EnPassantSquare]);
        EnPassantSquare = 0;
    }
    entry.key = HashKey;
    SideToMove ^= 1;
}

void UnmakeNullMove(PlyRecord& record) {
    SideToMove ^= 1;
    CastlingRights = record.savedCastlingRights;
    EnPassantSquare = record.savedEnPassant;
    PawnKey = record.savedPawnKey;
    HashKey = record.savedHashKey;
    --HistoryTop;
}

void TakeBackLine(const Move* moves, int count) {
    for (int i = count - 1; i >= 0; --i) {
        --CurrentPly;
        UnmakeMove(moves[i], *CurrentPly);
    }
}

int HashMoveDrawRisk(Move move) {
    int from = MoveFrom(move), to = MoveTo(move);
    int piece = Board[from];
    if (KindOf(move) != Quiet || piece <= BlackPawn) return 0;
    int clock = HistoryTop->halfmoveClock + 1;
    HashKeyValue key = HashKey ^ ZobristKeys[piece][from] ^ ZobristKeys[piece][to];
    if (clock < MinimumRepetitionClock) return 0;
    if (clock > FiftyMoveLimit) return 2;
    if (clock > FiftyMoveWarning) return 1;
    // The would-be position is one above the top; compare with the entries of the same side.
    const HistoryEntry* entry = HistoryTop + 1 - 4;
    int count = 0;
    // The clock bounds the scan: it never reaches below the entry of the last irreversible move.
    for (int n = entry->halfmoveClock;; n -= 2, entry -= 2) {
        if (entry->key == key && ++count == 2) break;
        if (n - 2 < 0) break;
    }
    return count;
}

} // namespace velkor
