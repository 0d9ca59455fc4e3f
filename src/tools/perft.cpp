// Perft over the ply stack. Each node's moves are generated right after its parent's; the last
// ply is counted without making its moves where no check complicates the legality test.
#include "tools/perft.h"

#include <array>
#include <sstream>

#include "movegen/attacks.h"
#include "movegen/generators.h"
#include "position/make_move.h"

namespace velkor {

namespace {

std::array<ScoredMove, MaxMoves * PlyStackSize> PerftMoves;

// The pieces of the side to move pinned to their king, and for each the squares it may still go
// to (the line between the king and the pinner, the pinner included).
struct Pins {
    Bitboard pinned = 0;
    std::array<Bitboard, SquareCount> allowed;
};

void FindPins(Pins& pins) {
    int us = SideToMove, them = Opponent(us), king = KingSquare[us];
    Bitboard queens = PiecesOf(WhiteQueen, them);
    Bitboard pinners = (RookLines[king] & (PiecesOf(WhiteRook, them) | queens)) |
                       (BishopLines[king] & (PiecesOf(WhiteBishop, them) | queens));
    for (; pinners; pinners &= pinners - 1) {
        int pinner = LowestSquare(pinners);
        Bitboard between = SquaresBetween[king][pinner];
        Bitboard blockers = between & Occupied;
        if (!blockers || (blockers & (blockers - 1)) || !(blockers & ColourOccupancy[us])) continue;
        pins.pinned |= blockers;
        pins.allowed[LowestSquare(blockers)] = between | MaskOf(pinner);
    }
}

bool LegalAfterMaking(Move move, PlyRecord& record, int mover) {
    MakeMove(move, record);
    bool legal = !LeavesKingAttacked(move, mover);
    UnmakeMove(move, record);
    return legal;
}

// The legal moves of a position whose side to move is not in check, counted without making them:
// a king may not step onto an attacked square (its own square blocks no line that matters, as no
// slider attacks it), a pinned piece may not leave its line. Castling and en passant are made.
std::uint64_t CountLegalMoves(ScoredMove* list, ScoredMove* end, PlyRecord& record) {
    Pins pins;
    FindPins(pins);
    int mover = SideToMove, king = KingSquare[mover];
    std::uint64_t count = 0;
    for (ScoredMove* entry = list; entry != end; ++entry) {
        Move move = entry->move;
        int from = MoveFrom(move), to = MoveTo(move), kind = KindOf(move);
        if (kind == EnPassant || IsCastling(move)) count += LegalAfterMaking(move, record, mover);
        else if (from == king) count += !SquareAttacked(to, mover);
        else count += !(pins.pinned & MaskOf(from)) || (pins.allowed[from] & MaskOf(to));
    }
    return count;
}

std::uint64_t PerftNode(int depth, ScoredMove* list) {
    PlyRecord& record = *CurrentPly;
    ScoredMove* end = GenerateForPly(list, record);
    SaveSnapshot(record);
    if (depth == 1 && !record.checkers) return CountLegalMoves(list, end, record);
    int mover = SideToMove;
    std::uint64_t nodes = 0;
    for (ScoredMove* entry = list; entry != end; ++entry) {
        Move move = entry->move;
        MakeMove(move, record);
        if (!LeavesKingAttacked(move, mover)) {
            if (depth == 1) {
                ++nodes;
            } else {
                ++CurrentPly;
                nodes += PerftNode(depth - 1, end);
                --CurrentPly;
            }
        }
        UnmakeMove(move, record);
    }
    return nodes;
}

} // namespace

std::uint64_t Perft(int depth) {
    if (depth <= 0) return 1;
    return PerftNode(depth, PerftMoves.data());
}

std::vector<DivideEntry> Divide(int depth) {
    std::vector<DivideEntry> result;
    PlyRecord& record = *CurrentPly;
    ScoredMove* list = PerftMoves.data();
    ScoredMove* end = GenerateForPly(list, record);
    SaveSnapshot(record);
    int mover = SideToMove;
    for (ScoredMove* entry = list; entry != end; ++entry) {
        MakeMove(entry->move, record);
        if (!LeavesKingAttacked(entry->move, mover)) {
            ++CurrentPly;
            result.push_back({entry->move, depth > 1 ? PerftNode(depth - 1, end) : 1});
            --CurrentPly;
        }
        UnmakeMove(entry->move, record);
    }
    return result;
}

bool ParsePerftLine(const std::string& line, PerftCase& parsed) {
    std::size_t separator = line.find(';');
    if (separator == std::string::npos) return false;
    parsed.fen = line.substr(0, separator);
    parsed.counts.clear();
    std::istringstream fields(line.substr(separator));
    std::string field;
    while (std::getline(fields, field, ';')) {
        std::istringstream words(field);
        std::string name;
        std::uint64_t nodes;
        if (!(words >> name >> nodes) || name.size() < 2 || name.size() > 4 || name[0] != 'D') continue;
        int depth = 0;
        for (char digit : name.substr(1)) {
            if (digit < '0' || digit > '9') depth = -1;
            else if (depth >= 0) depth = depth * 10 + (digit - '0');
        }
        if (depth > 0) parsed.counts.emplace_back(depth, nodes);
    }
    return !parsed.counts.empty();
}

} // namespace velkor
