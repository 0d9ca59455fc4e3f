// A forgiving, shape-driven SAN reader: decoration is deleted first, then the length of what is
// left decides the shape; candidates for the origin come from the attack tables.
#include "notation/san.h"

#include <cstring>

#include "movegen/attacks.h"
#include "movegen/legal.h"
#include "notation/coordinate.h"
#include "position/make_move.h"

namespace velkor {

namespace {

inline constexpr std::size_t SanTextLimit = 9;
inline constexpr char Decoration[] = "x+#!?=-";

bool IsFile(char c) { return c >= 'a' && c <= 'h'; }
bool IsRank(char c) { return c >= '1' && c <= '8'; }
int SquareOf(char file, char rank) { return (file - 'a') + 8 * ('8' - rank); }
bool OnBoard(int square) { return square >= 0 && square < SquareCount; }

// 0 queen, 1 knight, 2 rook, 3 bishop, or -1.
int PromotionIndex(char letter) {
    switch (letter) {
    case 'Q': case 'q': return 0;
    case 'N': case 'n': return 1;
    case 'R': case 'r': return 2;
    case 'B': case 'b': return 3;
    default: return -1;
    }
}

Bitboard FileBits(int file) { return 0x8080808080808080ULL >> file; }
Bitboard RankBits(char rank) { return 0xFFULL << (8 * (rank - '1')); }

Move Castle(bool isShort) {
    if (SideToMove == White) {
        if (isShort) return (CastlingRights & WhiteShort) ? CastleShortWhiteMove : NoMove;
        return (CastlingRights & WhiteLong) ? CastleLongWhiteMove : NoMove;
    }
    if (isShort) return (CastlingRights & BlackShort) ? CastleShortBlackMove : NoMove;
    return (CastlingRights & BlackLong) ? CastleLongBlackMove : NoMove;
}

int Behind() { return SideToMove == White ? 8 : -8; }

// A pawn step onto a file-rank square: a single step, or the double step over an empty square.
Move PawnStep(const char* text) {
    if (!IsFile(text[0]) || !IsRank(text[1])) return NoMove;
    int to = SquareOf(text[0], text[1]), from = to + Behind();
    if (!OnBoard(from)) return NoMove;
    if (Board[from] != WhitePawn && Board[from] != BlackPawn) from += Behind();
    if (!OnBoard(from)) return NoMove;
    return ComposeMove(to, from, Quiet);
}

Move PlainPromotion(const char* text, int piece) {
    if (!IsFile(text[0]) || !IsRank(text[1])) return NoMove;
    int to = SquareOf(text[0], text[1]), from = to + Behind();
    if (!OnBoard(from)) return NoMove;
    return ComposeMove(to, from, PromoteQueen + piece);
}

// exd8=Q shapes: from-file, to-file, rank, piece letter.
Move CapturingPromotion(const char* text, int piece) {
    if (!IsFile(text[0]) || !IsFile(text[1]) || !IsRank(text[2])) return NoMove;
    int to = SquareOf(text[1], text[2]);
    bool fromRight = text[0] > text[1];
    int from = SideToMove == White ? to + (fromRight ? 9 : 7) : to - (fromRight ? 7 : 9);
    if (!OnBoard(from)) return NoMove;
    int base = Board[to] != Empty ? CapturePromoteQueen : PromoteQueen;
    return ComposeMove(to, from, base + piece);
}

Move DisambiguatedMove(const char* text) {
    if (!IsFile(text[2]) || !IsRank(text[3])) return NoMove;
    int to = SquareOf(text[2], text[3]);
    if (IsFile(text[1])) return ResolveSanMove(text, to, FileBits(text[1] - 'a'));
    if (IsRank(text[1])) return ResolveSanMove(text, to, RankBits(text[1]));
    return NoMove;
}

} // namespace

Move ResolveSanMove(const char* text, int to, Bitboard fromMask) {
    int side = SideToMove;
    int kind = Board[to] != Empty ? Capture : Quiet;
    Bitboard candidates;
    switch (text[0]) {
    case 'N': candidates = KnightAttacks[to] & PiecesOf(WhiteKnight, side) & fromMask; break;
    case 'B': candidates = BishopAttacks(to) & PiecesOf(WhiteBishop, side) & fromMask; break;
    case 'R': candidates = RookAttacks(to) & PiecesOf(WhiteRook, side) & fromMask; break;
    case 'Q': candidates = (RookAttacks(to) | BishopAttacks(to)) & PiecesOf(WhiteQueen, side) & fromMask; break;
    case 'K': return ComposeMove(to, KingSquare[side], kind);
    default:
        if (!IsFile(text[0])) return NoMove;
        // Our pawns attacking `to` stand where an enemy pawn on it would attack.
        candidates = (side == White ? BlackPawnAttacks[to] : WhitePawnAttacks[to]) & PiecesOf(WhitePawn, side) &
                     FileBits(text[0] - 'a');
        kind = Board[to] != Empty ? Capture : EnPassant;
        break;
    }
    if (!candidates) return NoMove;
    if (!(candidates & (candidates - 1))) return ComposeMove(to, LowestSquare(candidates), kind);

    // Several pieces of the kind reach the square: only one may do so legally.
    Move found = NoMove;
    for (; candidates; candidates &= candidates - 1) {
        Move move = ComposeMove(to, LowestSquare(candidates), kind);
        if (!IsPseudoLegal(move)) continue;
        PlyRecord record;
        SaveSnapshot(record);
        MakeMove(move, record);
        bool illegal = LeavesKingAttacked(move, side);
        UnmakeMove(move, record);
        if (illegal) continue;
        if (found) return NoMove; // ambiguous
        found = move;
    }
    return found;
}

Move ParseSanMove(const char* text) {
    char work[SanTextLimit + 1];
    std::size_t length = 0;
    for (std::size_t i = 0; i < SanTextLimit && text[i]; ++i)
        if (!std::strchr(Decoration, text[i])) work[length++] = text[i];
    work[length] = '\0';

    switch (length) {
    case 2:
        if (!std::strcmp(work, "OO") || !std::strcmp(work, "00")) return Castle(true);
        return PawnStep(work);
    case 3: {
        if (!std::strcmp(work, "OOO") || !std::strcmp(work, "000")) return Castle(false);
        int piece = PromotionIndex(work[2]);
        if (piece >= 0) return PlainPromotion(work, piece);
        if (!IsFile(work[1]) || !IsRank(work[2])) return NoMove;
        return ResolveSanMove(work, SquareOf(work[1], work[2]), ~0ULL);
    }
    case 4: {
        int piece = PromotionIndex(work[3]);
        if (piece >= 0) return CapturingPromotion(work, piece);
        if (Move move = ParseCoordinateMoveLive(work)) return move;
        return DisambiguatedMove(work);
    }
    case 5:
        if (Move move = ParseCoordinateMoveLive(work + 1)) return move;
        return ParseCoordinateMoveLive(work);
    default:
        return NoMove;
    }
}

} // namespace velkor
