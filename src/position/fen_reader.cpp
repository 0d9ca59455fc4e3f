// Reading FEN and EPD text. The text is parsed and checked in scratch state first, so that a
// rejected text never leaves a half-built position behind.
#include "position/fen_reader.h"

#include <bit>
#include <cstring>

#include "core/tables.h"
#include "core/zobrist.h"
#include "position/position.h"

namespace velkor {

namespace {

const char* SkipBlanks(const char* p) {
    while (*p == ' ') ++p;
    return p;
}

int PieceCodeOfLetter(char letter) {
    const char* found = letter ? std::strchr(PieceLetters + 1, letter) : nullptr;
    return found ? static_cast<int>(found - PieceLetters) : Empty;
}

// The placement: piece letters and digits 1-8 from a8, rank by rank, with a slash between ranks
// (which may be left out). No letter or digit may run past the end of its rank: a rank of any
// other length than eight squares would shift every piece after it, so it refuses the text.
bool ParsePlacement(const char*& p, ParsedFen& fen) {
    for (int square = 0; square < SquareCount;) {
        if (square % BoardSide == 0 && square > 0 && *p == '/') ++p;
        int left = BoardSide - FileOf(square); // the squares left in this rank
        if (int piece = PieceCodeOfLetter(*p)) {
            fen.board[square++] = static_cast<PieceCode>(piece);
        } else if (*p >= '1' && *p <= '8' && *p - '0' <= left) {
            square += *p - '0';
        } else {
            return false;
        }
        ++p;
    }
    return true;
}

void ParseCastling(const char*& p, ParsedFen& fen) {
    for (int i = 0; i < 4 && *p; ++i) {
        char c = *p++;
        if (c == 'K') fen.castlingRights |= WhiteShort;
        else if (c == 'Q') fen.castlingRights |= WhiteLong;
        else if (c == 'k') fen.castlingRights |= BlackShort;
        else if (c == 'q') fen.castlingRights |= BlackLong;
        else break;
    }
}

// Returns false for an en-passant field that is not a square of the rank a double step passed.
// A FEN that leaves the field out but keeps its counters has a digit here: no square.
bool ParseEnPassant(const char*& p, ParsedFen& fen) {
    p = SkipBlanks(p);
    if (*p == '-' || *p == '\0' || (*p >= '0' && *p <= '9')) return true;
    char file = p[0], rank = p[1];
    char expectedRank = fen.sideToMove == White ? '6' : '3';
    if (file < 'a' || file > 'h' || rank != expectedRank) return false;
    p += 2;
    fen.enPassantSquare = (file - 'a') + 8 * ('8' - rank);
    return true;
}

// An EPD "bm" or "am" operation: the first "a" or "b" after the FEN fields decides.
void ParseEpdOperation(const char* p, ParsedFen& fen) {
    p = std::strpbrk(p, "ab");
    if (!p || p[1] != 'm' || p[2] != ' ' || p[3] == '\0') return;
    const char* move = p + 3;
    int length = 0;
    while (length < EpdMoveTextLength && move[length] && move[length] != ';' && move[length] != ' ')
        ++length;
    // Kept only when the move text is followed by a separator.
    if (move[length] != ';' && move[length] != ' ') return;
    std::memcpy(fen.epdMove, move, static_cast<std::size_t>(length));
    fen.epdMove[length] = '\0';
    fen.epdOperation = p[0];
}

// Rights whose king and rook are not on their home squares cannot be used: they are dropped.
void DropImpossibleCastlingRights(ParsedFen& fen) {
    struct RightHome { int right, king, kingSquare, rook, rookSquare; };
    constexpr RightHome homes[] = {{WhiteShort, WhiteKing, E1, WhiteRook, H1},
                                   {WhiteLong, WhiteKing, E1, WhiteRook, A1},
                                   {BlackShort, BlackKing, E8, BlackRook, H8},
                                   {BlackLong, BlackKing, E8, BlackRook, A8}};
    for (const RightHome& home : homes) {
        if (fen.board[home.kingSquare] != home.king || fen.board[home.rookSquare] != home.rook)
            fen.castlingRights &= static_cast<std::uint16_t>(~home.right);
    }
}

struct ScratchBoard {
    std::array<Bitboard, PieceCodeCount> pieces{};
    Bitboard occupied = 0;
};

ScratchBoard MakeScratchBoard(const ParsedFen& fen) {
    ScratchBoard scratch;
    for (int s = 0; s < SquareCount; ++s) {
        if (!fen.board[s]) continue;
        scratch.pieces[fen.board[s]] |= MaskOf(s);
        scratch.occupied |= MaskOf(s);
    }
    return scratch;
}

// The pieces of colour that attack square.
Bitboard AttackersOf(const ScratchBoard& b, int square, int colour) {
    auto own = [&](int whiteCode) { return b.pieces[PieceOfColour(whiteCode, colour)]; };
    Bitboard pawnSources = colour == White ? BlackPawnAttacks[square] : WhitePawnAttacks[square];
    Bitboard lines = RankAttacksFrom(square, b.occupied) | FileAttacksFrom(square, RotateTo90(b.occupied));
    Bitboard diagonals = DiagA1H8AttacksFrom(square, RotateToA1H8(b.occupied)) |
                         DiagA8H1AttacksFrom(square, RotateToA8H1(b.occupied));
    return (KnightAttacks[square] & own(WhiteKnight)) | (pawnSources & own(WhitePawn)) |
           (KingAttacks[square] & own(WhiteKing)) | (lines & (own(WhiteRook) | own(WhiteQueen))) |
           (diagonals & (own(WhiteBishop) | own(WhiteQueen)));
}

int KingOf(const ScratchBoard& b, int colour) { return LowestSquare(b.pieces[PieceOfColour(WhiteKing, colour)]); }

// An en-passant square is only meaningful with the pawn that passed it standing behind it and
// the square itself empty; otherwise a capture would remove a piece that is not a pawn. A check
// from any other piece cannot follow that double step in a game (the evasions never offer the
// en-passant block), so the square goes then too; the position stays.
void DropImpossibleEnPassant(ParsedFen& fen, const ScratchBoard& scratch) {
    int square = fen.enPassantSquare;
    if (!square) return;
    int passedPawnSquare = fen.sideToMove == White ? square + 8 : square - 8;
    int passedPawn = fen.sideToMove == White ? BlackPawn : WhitePawn;
    Bitboard checkers = AttackersOf(scratch, KingOf(scratch, fen.sideToMove), Opponent(fen.sideToMove));
    if (fen.board[square] != Empty || fen.board[passedPawnSquare] != passedPawn ||
        (checkers & ~MaskOf(passedPawnSquare)))
        fen.enPassantSquare = 0;
}

// More pieces than promotions could have produced would overflow the move lists.
bool HasPossiblePieceCounts(const ScratchBoard& b, int colour) {
    auto count = [&](int whiteCode) { return std::popcount(b.pieces[PieceOfColour(whiteCode, colour)]); };
    auto extra = [](int pieces, int original) { return pieces > original ? pieces - original : 0; };
    int pawns = count(WhitePawn);
    int promoted = extra(count(WhiteQueen), 1) + extra(count(WhiteRook), 2) +
                   extra(count(WhiteBishop), 2) + extra(count(WhiteKnight), 2);
    return count(WhiteKing) == 1 && pawns <= 8 && promoted <= 8 - pawns;
}

bool IsPlayable(const ScratchBoard& scratch, int sideToMove) {
    if (!HasPossiblePieceCounts(scratch, White) || !HasPossiblePieceCounts(scratch, Black))
        return false;
    // A pawn on its first or last rank would be counted wrongly by a capture-promotion onto it.
    if ((scratch.pieces[WhitePawn] | scratch.pieces[BlackPawn]) & (Rank1Bits | Rank8Bits)) return false;
    // The side not to move must not be in check: its king could be captured.
    int waiting = Opponent(sideToMove);
    return AttackersOf(scratch, KingOf(scratch, waiting), sideToMove) == 0;
}

bool ParseFen(const char* text, ParsedFen& fen) {
    const char* p = SkipBlanks(text);
    if (!ParsePlacement(p, fen)) return false;
    p = SkipBlanks(p);
    if (*p == 'w' || *p == 'W') fen.sideToMove = White;
    else if (*p == 'b' || *p == 'B') fen.sideToMove = Black;
    else return false;
    p = SkipBlanks(p + 1);
    ParseCastling(p, fen);
    if (!ParseEnPassant(p, fen)) return false;
    ParseEpdOperation(p, fen);
    return true;
}

void ResetPosition() {
    HashKey = 0;
    PawnKey = 0;
    Occupied = OccupiedRot90 = OccupiedRotA1H8 = OccupiedRotA8H1 = 0;
    ColourOccupancy = {};
    PieceBitboards = {};
    CastlingRights = 0;
    EnPassantSquare = 0;
    MaterialCount = 0;
    PieceMaterial = {};
    PawnCount = {};
    Board = {};
    KingSquare = {NoKingSquare, NoKingSquare};
    SideToMove = White;
    ParkedEnPassantSquare = 0;
    for (HistoryEntry* entry = HistoryTop; entry >= GameHistory.data(); --entry) *entry = {};
    HistoryTop = GameHistory.data();
}

void PlacePiece(int piece, int square) {
    int colour = ColourOf(piece);
    Board[square] = static_cast<PieceCode>(piece);
    HashKey ^= ZobristKeys[piece][square];
    if (IsKing(piece)) {
        KingSquare[colour] = static_cast<std::uint8_t>(square);
        return;
    }
    PieceBitboards[piece] |= MaskOf(square);
    MaterialCount += MaterialUnits[piece];
    if (IsPawn(piece)) {
        PawnCount[colour] += 1;
        PawnKey ^= LowHalf(ZobristKeys[piece][square]);
    } else {
        PieceMaterial[colour] += MaterialUnits[piece];
    }
}

Bitboard ColourPieces(int colour) {
    Bitboard pieces = 0;
    for (int piece = PieceOfColour(WhitePawn, colour); piece <= BlackQueen; piece += 2)
        pieces |= PieceBitboards[piece];
    if (KingSquare[colour] != NoKingSquare) pieces |= MaskOf(KingSquare[colour]);
    return pieces;
}

} // namespace

bool ReadFen(const char* text, ParsedFen& fen) {
    if (!ParseFen(text, fen)) return false;
    ScratchBoard scratch = MakeScratchBoard(fen);
    if (!IsPlayable(scratch, fen.sideToMove)) return false;
    DropImpossibleCastlingRights(fen);
    DropImpossibleEnPassant(fen, scratch);
    return true;
}

void BuildPosition(const ParsedFen& fen) {
    ResetPosition();
    for (int s = 0; s < SquareCount; ++s)
        if (fen.board[s]) PlacePiece(fen.board[s], s);
    SideToMove = fen.sideToMove;
    CastlingRights = fen.castlingRights;
    if (fen.enPassantSquare) {
        EnPassantSquare = static_cast<std::uint8_t>(fen.enPassantSquare);
        HashKey ^= ZobristKeys[0][EnPassantSquare];
        PawnKey ^= LowHalf(ZobristKeys[0][EnPassantSquare]);
    }
    ColourOccupancy[Black] = ColourPieces(Black);
    ColourOccupancy[White] = ColourPieces(White);
    Occupied = ColourOccupancy[Black] | ColourOccupancy[White];
    OccupiedRot90 = RotateTo90(Occupied);
    OccupiedRotA1H8 = RotateToA1H8(Occupied);
    OccupiedRotA8H1 = RotateToA8H1(Occupied);
    GameHistory[0] = {HashKey, NoMove, 0};
    RefreshGameSnapshot();
}


bool SetupBoardOnly(const char* text) {
    ParsedFen fen;
    if (!ReadFen(text, fen)) return false;
    BuildPosition(fen);
    return true;
}

HashKeyValue StartPositionKey() {
    static const HashKeyValue key = [] {
        ParsedFen fen;
        ParseFen(StartPositionFen, fen);
        HashKeyValue startKey = 0;
        for (int s = 0; s < SquareCount; ++s)
            if (fen.board[s]) startKey ^= ZobristKeys[fen.board[s]][s];
        return startKey;
    }();
    return key;
}

bool IsStartPosition() {
    return HashKey == StartPositionKey() && SideToMove == White && CastlingRights == AllCastlingRights &&
           EnPassantSquare == 0;
}

} // namespace velkor
