// Formatting and parsing of coordinate move text.
#include "notation/coordinate.h"

#include <cstring>

#include "position/position.h"

namespace velkor {

namespace {

constexpr char PromotionLetters[] = "qnrb";
constexpr const char* CastlingTexts[] = {"e8g8", "e1g1", "e8c8", "e1c1"};

char* FormatSquare(char* out, int square) {
    *out++ = static_cast<char>('a' + FileOf(square));
    *out++ = static_cast<char>('8' - RowOf(square));
    return out;
}

bool IsFileLetter(char c) { return c >= 'a' && c <= 'h'; }
bool IsRankDigit(char c) { return c >= '1' && c <= '8'; }
int ParseSquare(const char* text) { return (text[0] - 'a') + 8 * ('8' - text[1]); }

Move ParseCastling(int from, int to, std::uint16_t rights) {
    if (from == E8 && (rights & (BlackShort | BlackLong))) {
        if (to == C8 && (rights & BlackLong)) return CastleLongBlackMove;
        if (to == G8 && (rights & BlackShort)) return CastleShortBlackMove;
    }
    if (from == E1 && (rights & (WhiteShort | WhiteLong))) {
        if (to == C1 && (rights & WhiteLong)) return CastleLongWhiteMove;
        if (to == G1 && (rights & WhiteShort)) return CastleShortWhiteMove;
    }
    return NoMove;
}

} // namespace

char* FormatCoordinateMove(char* buffer, Move move) {
    int kind = KindOf(move);
    if (kind >= CastleShortBlack) {
        const char* text = CastlingTexts[kind - CastleShortBlack];
        std::memcpy(buffer, text, 5);
        return buffer + 4;
    }
    char* out = FormatSquare(FormatSquare(buffer, MoveFrom(move)), MoveTo(move));
    if (kind >= PromoteQueen) *out++ = PromotionLetters[PromotionPiece(move)];
    *out = '\0';
    return out;
}

namespace {

// The parse of coordinate text against one view of a position (the game snapshot or the live
// board); anyCase also accepts upper-case promotion letters.
Move ParseAgainst(const char* text, const PieceCode* board, std::uint16_t rights, int enPassant, bool anyCase) {
    // Stops at the first bad character, so nothing past a short text's terminator is read.
    if (!IsFileLetter(text[0]) || !IsRankDigit(text[1]) || !IsFileLetter(text[2]) ||
        !IsRankDigit(text[3]))
        return NoMove;
    int from = ParseSquare(text), to = ParseSquare(text + 2);
    if (rights) {
        if (Move castling = ParseCastling(from, to, rights)) return castling;
    }
    bool targetOccupied = board[to] != Empty;
    if (board[from] <= BlackPawn) {
        char letter = text[4];
        if (anyCase && letter >= 'A' && letter <= 'Z') letter = static_cast<char>(letter - 'A' + 'a');
        if (letter == '\0') {
            if (enPassant && to == enPassant) return ComposeMove(to, from, EnPassant);
        } else if (const char* promotion = std::strchr(PromotionLetters, letter)) {
            int piece = static_cast<int>(promotion - PromotionLetters);
            return ComposeMove(to, from, (targetOccupied ? CapturePromoteQueen : PromoteQueen) + piece);
        } else {
            return ComposeMove(to, from, Quiet);
        }
    }
    return ComposeMove(to, from, targetOccupied ? Capture : Quiet);
}

} // namespace

Move ParseCoordinateMove(const char* text) {
    const GameSnapshotRecord& game = GameSnapshot;
    return ParseAgainst(text, game.board.data(), game.castlingRights, game.enPassantSquare, false);
}

Move ParseCoordinateMoveLive(const char* text) {
    return ParseAgainst(text, Board.data(), CastlingRights, EnPassantSquare, true);
}

} // namespace velkor
