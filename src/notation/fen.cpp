// FEN writer and board diagram.
#include "notation/fen.h"

#include <cstdio>

#include "position/position.h"

namespace velkor {

void FormatFen(char* buffer) {
    char* out = buffer;
    int emptyRun = 0;
    auto flushEmpty = [&] {
        if (emptyRun) *out++ = static_cast<char>('0' + emptyRun);
        emptyRun = 0;
    };
    for (int s = 0; s < SquareCount; ++s) {
        bool rankStart = FileOf(s) == 0;
        if (Board[s] == Empty && !rankStart) {
            ++emptyRun;
            continue;
        }
        flushEmpty();
        if (rankStart && s != 0) *out++ = '/';
        if (Board[s] == Empty) emptyRun = 1;
        else *out++ = PieceLetters[Board[s]];
    }
    flushEmpty();

    *out++ = ' ';
    *out++ = SideToMove == White ? 'w' : 'b';
    *out++ = ' ';
    const char* rightsStart = out;
    if (CastlingRights & WhiteShort) *out++ = 'K';
    if (CastlingRights & WhiteLong) *out++ = 'Q';
    if (CastlingRights & BlackShort) *out++ = 'k';
    if (CastlingRights & BlackLong) *out++ = 'q';
    if (out == rightsStart) *out++ = '-';
    *out++ = ' ';
    if (EnPassantSquare) {
        *out++ = static_cast<char>('a' + FileOf(EnPassantSquare));
        *out++ = static_cast<char>('8' - RowOf(EnPassantSquare));
    } else {
        *out++ = '-';
    }
    *out = '\0';
}

void PrintBoard(const PieceCode* board, std::FILE* out) {
    for (int s = 0; s < SquareCount; ++s) {
        if (FileOf(s) == 0) std::fprintf(out, "\n%d ", 8 - RowOf(s));
        std::fprintf(out, "%c ", PieceLetters[board[s]]);
    }
    std::fprintf(out, "\n\n  A B C D E F G H\n");
}

} // namespace velkor
