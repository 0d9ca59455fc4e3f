// Check detection and the legality test after a made move. The empty-board line masks gate the
// sliding lookups: they are made only when an enemy slider stands on a line through the square.
#include "movegen/attacks.h"

namespace velkor {

namespace {

// Pawn attacks on a square of colour `own`'s king come from where own pawns would attack.
inline Bitboard PawnAttackSources(int square, int own) {
    return own == White ? WhitePawnAttacks[square] : BlackPawnAttacks[square];
}

template <int Us>
bool SquareAttackedBy(int square) {
    constexpr int Them = Us ^ 1;
    if (KnightAttacks[square] & PiecesOf(WhiteKnight, Them)) return true;
    if (PawnAttackSources(square, Us) & PiecesOf(WhitePawn, Them)) return true;
    Bitboard queens = PiecesOf(WhiteQueen, Them);
    Bitboard lineSliders = PiecesOf(WhiteRook, Them) | queens;
    Bitboard diagonalSliders = PiecesOf(WhiteBishop, Them) | queens;
    if (!(QueenLines[square] & (lineSliders | diagonalSliders))) return false;
    if ((RookLines[square] & lineSliders) && (RookAttacks(square) & lineSliders)) return true;
    return (BishopLines[square] & diagonalSliders) && (BishopAttacks(square) & diagonalSliders);
}

template <int Us>
bool CastlePathAttacked(Move move) {
    constexpr int Them = Us ^ 1;
    constexpr int origin = Us == White ? E1 : E8;
    constexpr Move shortCastle = Us == White ? CastleShortWhiteMove : CastleShortBlackMove;
    bool isShort = move == shortCastle;
    int transit = isShort ? (Us == White ? F1 : F8) : (Us == White ? D1 : D8);
    if (SquareAttackedBy<Us>(origin) || SquareAttackedBy<Us>(transit)) return true;
    // The enemy king may not stand next to any square the king crosses.
    constexpr Bitboard shortZone = Us == White ? 0x0F0FULL : 0x0F0FULL << 48;
    constexpr Bitboard longZone = Us == White ? 0x7070ULL : 0x7070ULL << 48;
    return ((isShort ? shortZone : longZone) & MaskOf(KingSquare[Them])) != 0;
}

} // namespace

bool SquareAttacked(int square, int defender) {
    return defender == White ? SquareAttackedBy<White>(square) : SquareAttackedBy<Black>(square);
}

bool CastlePathAttackedBlack(Move move) { return CastlePathAttacked<Black>(move); }
bool CastlePathAttackedWhite(Move move) { return CastlePathAttacked<White>(move); }

void ComputeCheckInfo(PlyRecord& record) {
    int us = SideToMove, them = Opponent(us);
    int king = KingSquare[us];
    Bitboard queens = PiecesOf(WhiteQueen, them);
    Bitboard lineSliders = PiecesOf(WhiteRook, them) | queens;
    Bitboard diagonalSliders = PiecesOf(WhiteBishop, them) | queens;
    Bitboard checkers = 0;
    if (QueenLines[king] & (lineSliders | diagonalSliders)) {
        if (RookLines[king] & lineSliders) {
            record.kingLineAttacks = RookAttacks(king);
            checkers = record.kingLineAttacks & lineSliders;
        }
        if (BishopLines[king] & diagonalSliders) {
            if (!checkers) record.kingLineAttacks = 0;
            record.kingDiagonalAttacks = BishopAttacks(king);
            checkers |= record.kingDiagonalAttacks & diagonalSliders;
        }
    }
    checkers |= KnightAttacks[king] & PiecesOf(WhiteKnight, them);
    checkers |= PawnAttackSources(king, us) & PiecesOf(WhitePawn, them);
    record.checkers = checkers;
}

bool LeavesKingAttacked(Move move, int mover) {
    bool attacked = mover == White ? SquareAttackedBy<White>(KingSquare[White])
                                   : SquareAttackedBy<Black>(KingSquare[Black]);
    if (attacked) return true;
    if (!IsCastling(move)) return false;
    return mover == White ? CastlePathAttackedWhite(move) : CastlePathAttackedBlack(move);
}

} // namespace velkor
