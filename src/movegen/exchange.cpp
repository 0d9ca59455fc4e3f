// Exchange evaluation over a gain list, with x-ray attackers, an early cut when one side is
// clearly ahead, and a small positional correction from the piece-square tables. The board is
// never changed: a piece that has left its square still blocks, so the first piece beyond it on
// the line is the x-ray attacker.
#include "movegen/exchange.h"

#include <algorithm>

#include "eval/tables.h"
#include "movegen/attacks.h"

namespace velkor {

namespace {

inline constexpr int MaxExchangeLength = 34;
inline constexpr int ClearWinMargin = 50;
inline constexpr int PromotionGain = 800; // the queen's gain over the pawn as counted here
inline constexpr int GoodCaptureBase = -9500;
inline constexpr int LosingCaptureBase = -30000;
inline constexpr int EvenExchangeScore = -30001;
inline constexpr std::int16_t DefendedKingCapture = -32767;

inline int SquareValue(int piece, int square) { return SquareTableOf(piece, MaterialCount)[square]; }

// Adds to attackers the pool pieces hidden behind `from` on the lines through it and `to`.
inline bool XrayBehind(int from, int to, Bitboard& pool, Bitboard& attackers, bool diagonal) {
    Bitboard candidates = diagonal ? pool & BishopLines[from] & BishopLines[to]
                                   : pool & RookLines[from] & RookLines[to];
    if (!candidates) return false;
    candidates &= diagonal ? BishopAttacks(from) : RookAttacks(from);
    if (!candidates) return false;
    attackers |= candidates;
    pool &= ~candidates;
    return true;
}

inline bool IsDiagonalMover(int piece) {
    return piece == WhitePawn || piece == BlackPawn || piece == WhiteBishop || piece == BlackBishop;
}
inline bool IsRook(int piece) { return piece == WhiteRook || piece == BlackRook; }
inline bool IsQueen(int piece) { return piece == WhiteQueen || piece == BlackQueen; }

inline int FinalScore(int acc, int gain0, int victim, int to) {
    if (gain0 > -ClearWinMargin && gain0 != 0)
        return acc + (victim ? SquareValue(victim, to) : 0) + gain0 + GoodCaptureBase;
    if (gain0 == 0) return acc + EvenExchangeScore;
    return acc + gain0 + LosingCaptureBase;
}

} // namespace

std::int16_t ExchangeScore(int piece, int from, int to, Bitboard rookPool, Bitboard bishopPool) {
    int gain[MaxExchangeLength];
    int victim = Board[to];
    gain[0] = PieceValue[victim];
    int acc = -SquareValue(piece, from);

    Bitboard kings = MaskOf(KingSquare[White]) | MaskOf(KingSquare[Black]);
    Bitboard pawnAttackers = (WhitePawnAttacks[to] & PieceBitboards[BlackPawn]) |
                             (BlackPawnAttacks[to] & PieceBitboards[WhitePawn]);
    Bitboard attackers = (BishopAttacks(to) & bishopPool) | (RookAttacks(to) & rookPool) |
                         (KingAttacks[to] & kings) |
                         (KnightAttacks[to] & (PieceBitboards[WhiteKnight] | PieceBitboards[BlackKnight])) |
                         pawnAttackers;
    int next[2];
    if (pawnAttackers) next[Black] = BlackPawn, next[White] = WhitePawn;
    else next[Black] = BlackKnight, next[White] = WhiteKnight;
    attackers &= ~MaskOf(from);

    int side = Opponent(SideToMove);
    int original = piece;
    if (piece == WhitePawn && to < A7) {
        gain[0] += PromotionGain;
        piece = WhiteQueen;
    } else if (piece == BlackPawn && to > H2) {
        gain[0] += PromotionGain;
        piece = BlackQueen;
    }
    if (IsDiagonalMover(original)) {
        bishopPool &= ~MaskOf(from);
        XrayBehind(from, to, bishopPool, attackers, true);
    } else if (IsRook(original)) {
        rookPool &= ~MaskOf(from);
        XrayBehind(from, to, rookPool, attackers, false);
    } else if (IsQueen(original)) {
        rookPool &= ~MaskOf(from);
        bishopPool &= ~MaskOf(from);
        if (!XrayBehind(from, to, rookPool, attackers, false))
            XrayBehind(from, to, bishopPool, attackers, true);
    } else if (IsKing(original) && (attackers & ColourOccupancy[side])) {
        return DefendedKingCapture;
    }
    acc += SquareValue(piece, to);

    if (!(attackers & ColourOccupancy[side]))
        return static_cast<std::int16_t>(FinalScore(acc, gain[0], victim, to));
    rookPool &= ~attackers;
    bishopPool &= ~attackers;

    int onTarget = piece;
    int last = 0;
    for (int i = 1; i < MaxExchangeLength; ++i) {
        // The least valuable attacker of this colour; equal kinds go highest square first.
        int capturer = Empty, square = 0, x = next[side];
        for (; x <= BlackQueen - side; x += 2) {
            if (Bitboard found = attackers & PieceBitboards[x]) {
                capturer = x;
                square = LowestSquare(found);
                attackers &= ~MaskOf(square);
                break;
            }
        }
        if (capturer == Empty) {
            Bitboard king = MaskOf(KingSquare[side]);
            if (!(KingAttacks[to] & king)) break;
            attackers &= ~king;
            if (attackers) break; // the king would step into the other side's attack
            capturer = PieceOfColour(WhiteKing, side);
        }
        next[side] = x;
        gain[i] = PieceValue[onTarget] - gain[i - 1];
        last = i;
        onTarget = capturer;

        if (gain[i] - PieceValue[capturer] > ClearWinMargin) {
            if (side != SideToMove)
                return static_cast<std::int16_t>(acc + LosingCaptureBase - gain[i] +
                                                 (PieceValue[capturer] >> 1));
            if (gain[0] == 0) return static_cast<std::int16_t>(acc + EvenExchangeScore);
            return static_cast<std::int16_t>(acc + (victim ? SquareValue(victim, to) : 0) +
                                             gain[i - 2] + GoodCaptureBase);
        }
        if (IsDiagonalMover(capturer)) {
            XrayBehind(square, to, bishopPool, attackers, true);
        } else if (IsRook(capturer)) {
            XrayBehind(square, to, rookPool, attackers, false);
        } else if (IsQueen(capturer)) {
            if (XrayBehind(square, to, rookPool, attackers, false)) {
                next[Black] = std::min(next[Black], static_cast<int>(BlackRook));
                next[White] = std::min(next[White], static_cast<int>(WhiteRook));
            } else if (XrayBehind(square, to, bishopPool, attackers, true)) {
                next[Black] = std::min(next[Black], static_cast<int>(BlackBishop));
                next[White] = std::min(next[White], static_cast<int>(WhiteBishop));
            }
        }
        side = Opponent(side);
        if (!(attackers & ColourOccupancy[side])) break;
    }
    for (int k = last; k >= 1; --k) gain[k - 1] = std::min(gain[k - 1], -gain[k]);
    return static_cast<std::int16_t>(FinalScore(acc, gain[0], victim, to));
}

} // namespace velkor
