// Fills the lookup tables. Nothing here runs on the hot path: clarity over speed.
#include "core/tables.h"

namespace velkor {

SquareTable SquareMask;
SquareTable SquareMaskRot90;
SquareTable SquareMaskRotA1H8;
SquareTable SquareMaskRotA8H1;
SquareTable KingAttacks;
SquareTable KnightAttacks;
SquareTable WhitePawnAttacks;
SquareTable BlackPawnAttacks;
SlidingTable RankAttacks;
SlidingTable FileAttacks;
SlidingTable DiagA1H8Attacks;
SlidingTable DiagA8H1Attacks;
SquareBytes DiagShiftA1H8;
SquareBytes DiagShiftA8H1;
SquareBytes DiagMaskA1H8;
SquareBytes DiagMaskA8H1;
std::array<SquareTable, SquareCount> SquaresBetween;
SquareTable RookLines;
SquareTable BishopLines;
SquareTable QueenLines;
SquareTable FileOther;
SquareTable AdjacentFiles;
SquareTable WhitePassMask;
SquareTable BlackPassMask;
SquareTable WhiteFront;
SquareTable BlackFront;
SquareTable EnPassantRot90;
SquareTable EnPassantRotA1H8;
SquareTable EnPassantRotA8H1;

namespace {

// First rotated index of each of the 15 diagonals laid end to end.
constexpr std::array<int, 15> DiagonalStart = {0, 1, 3, 6, 10, 15, 21, 28, 36, 43, 49, 54, 58, 61, 63};
constexpr int DiagonalLength(int diagonal) { return diagonal <= 7 ? diagonal + 1 : 15 - diagonal; }

// a1-h8 diagonals are numbered from the a8 corner; squares run from the lower-left end up.
int DiagonalA1H8(int s) { return FileOf(s) + RowOf(s); }
int PositionOnA1H8(int s) {
    int diagonal = DiagonalA1H8(s);
    return diagonal <= 7 ? FileOf(s) : FileOf(s) - (diagonal - 7);
}
// a8-h1 diagonals are numbered from the h8 corner; squares run from the upper-left end down.
int DiagonalA8H1(int s) { return 7 - FileOf(s) + RowOf(s); }
int PositionOnA8H1(int s) { return FileOf(s) < RowOf(s) ? FileOf(s) : RowOf(s); }

bool OnBoard(int row, int file) { return row >= 0 && row < 8 && file >= 0 && file < 8; }

Bitboard StepTargets(int s, const int (*steps)[2], int count) {
    Bitboard targets = 0;
    for (int i = 0; i < count; ++i) {
        int row = RowOf(s) + steps[i][0], file = FileOf(s) + steps[i][1];
        if (OnBoard(row, file)) targets |= MaskOf(SquareAt(row, file));
    }
    return targets;
}

// Walks from s in one direction, adding each square, stopping after the first blocked one.
template <typename Blocked>
Bitboard Slide(int s, int rowStep, int fileStep, Blocked blocked) {
    Bitboard targets = 0;
    int row = RowOf(s) + rowStep, file = FileOf(s) + fileStep;
    while (OnBoard(row, file)) {
        int t = SquareAt(row, file);
        targets |= MaskOf(t);
        if (blocked(t)) break;
        row += rowStep;
        file += fileStep;
    }
    return targets;
}

template <typename Blocked>
Bitboard SlideBothWays(int s, int rowStep, int fileStep, Blocked blocked) {
    return Slide(s, rowStep, fileStep, blocked) | Slide(s, -rowStep, -fileStep, blocked);
}

void InitStepAttacks() {
    constexpr int kingSteps[8][2] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, -1}, {1, 0}, {1, 1}};
    constexpr int knightSteps[8][2] = {{-2, -1}, {-2, 1}, {-1, -2}, {-1, 2}, {1, -2}, {1, 2}, {2, -1}, {2, 1}};
    constexpr int whitePawnSteps[2][2] = {{-1, -1}, {-1, 1}};
    constexpr int blackPawnSteps[2][2] = {{1, -1}, {1, 1}};
    for (int s = 0; s < SquareCount; ++s) {
        KingAttacks[s] = StepTargets(s, kingSteps, 8);
        WhitePawnAttacks[s] = StepTargets(s, whitePawnSteps, 2);
        BlackPawnAttacks[s] = StepTargets(s, blackPawnSteps, 2);
        KnightAttacks[s] = StepTargets(s, knightSteps, 8);
    }
}

void InitDiagonalConstants() {
    for (int s = 0; s < SquareCount; ++s) {
        int a1h8 = DiagonalA1H8(s), a8h1 = DiagonalA8H1(s);
        DiagShiftA1H8[s] = static_cast<std::uint8_t>(64 - DiagonalStart[a1h8] - DiagonalLength(a1h8));
        DiagShiftA8H1[s] = static_cast<std::uint8_t>(64 - DiagonalStart[a8h1] - DiagonalLength(a8h1));
        DiagMaskA1H8[s] = static_cast<std::uint8_t>((1u << DiagonalLength(a1h8)) - 1);
        DiagMaskA8H1[s] = static_cast<std::uint8_t>((1u << DiagonalLength(a8h1)) - 1);
    }
}

void InitSlidingAttacks() {
    for (int s = 0; s < SquareCount; ++s) {
        for (int index = 0; index < 256; ++index) {
            auto rankBlocked = [index](int t) { return (index & (0x80 >> FileOf(t))) != 0; };
            auto fileBlocked = [index](int t) { return (index & (0x80 >> RowOf(t))) != 0; };
            RankAttacks[s][index] = SlideBothWays(s, 0, 1, rankBlocked);
            FileAttacks[s][index] = SlideBothWays(s, 1, 0, fileBlocked);

            int lenA1H8 = DiagonalLength(DiagonalA1H8(s));
            auto a1h8Blocked = [index, lenA1H8](int t) {
                return (index & (1 << (lenA1H8 - 1 - PositionOnA1H8(t)))) != 0;
            };
            DiagA1H8Attacks[s][index] =
                index <= DiagMaskA1H8[s] ? SlideBothWays(s, -1, 1, a1h8Blocked) : 0;

            int lenA8H1 = DiagonalLength(DiagonalA8H1(s));
            auto a8h1Blocked = [index, lenA8H1](int t) {
                return (index & (1 << (lenA8H1 - 1 - PositionOnA8H1(t)))) != 0;
            };
            DiagA8H1Attacks[s][index] =
                index <= DiagMaskA8H1[s] ? SlideBothWays(s, -1, -1, a8h1Blocked) : 0;
        }
    }
}

Bitboard FileSquares(int file) {
    Bitboard files = 0;
    for (int row = 0; row < 8; ++row) files |= MaskOf(SquareAt(row, file));
    return files;
}

void InitMasksAndLines() {
    for (int s = 0; s < SquareCount; ++s) {
        SquareMask[s] = MaskOf(s);
        SquareMaskRot90[s] = RotateTo90(MaskOf(s));
        SquareMaskRotA1H8[s] = RotateToA1H8(MaskOf(s));
        SquareMaskRotA8H1[s] = RotateToA8H1(MaskOf(s));

        int file = FileOf(s), row = RowOf(s);
        FileOther[s] = FileSquares(file) & ~MaskOf(s);
        AdjacentFiles[s] = (file > 0 ? FileSquares(file - 1) : 0) | (file < 7 ? FileSquares(file + 1) : 0);
        WhiteFront[s] = BlackFront[s] = WhitePassMask[s] = BlackPassMask[s] = 0;
        for (int r = 0; r < 8; ++r) {
            Bitboard own = MaskOf(SquareAt(r, file));
            Bitboard span = own | (AdjacentFiles[s] & (0xFF00000000000000ULL >> (8 * r)));
            if (r < row) WhiteFront[s] |= own, WhitePassMask[s] |= span;
            if (r > row) BlackFront[s] |= own, BlackPassMask[s] |= span;
        }

        // An otherwise empty board: only s itself is occupied.
        RookLines[s] = RankAttacksFrom(s, MaskOf(s)) | FileAttacksFrom(s, RotateTo90(MaskOf(s)));
        BishopLines[s] = DiagA1H8AttacksFrom(s, RotateToA1H8(MaskOf(s))) |
                         DiagA8H1AttacksFrom(s, RotateToA8H1(MaskOf(s)));
        QueenLines[s] = RookLines[s] | BishopLines[s];
    }
}

void InitSquaresBetween() {
    constexpr int directions[8][2] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, -1}, {1, 0}, {1, 1}};
    for (int from = 0; from < SquareCount; ++from) {
        SquaresBetween[from].fill(0);
        for (const auto& step : directions) {
            Bitboard passed = 0;
            for (int row = RowOf(from) + step[0], file = FileOf(from) + step[1]; OnBoard(row, file);
                 row += step[0], file += step[1]) {
                SquaresBetween[from][SquareAt(row, file)] = passed;
                passed |= MaskOf(SquareAt(row, file));
            }
        }
    }
}

void InitEnPassantMasks() {
    for (int t = 0; t < SquareCount; ++t) {
        EnPassantRot90[t] = EnPassantRotA1H8[t] = EnPassantRotA8H1[t] = 0;
        int captured;
        if (t >= A6 && t <= H6) {
            captured = t + 8;
        } else if (t >= A3 && t <= H3) {
            captured = t - 8;
        } else {
            continue;
        }
        EnPassantRot90[t] = SquareMaskRot90[t] | SquareMaskRot90[captured];
        EnPassantRotA1H8[t] = SquareMaskRotA1H8[t] | SquareMaskRotA1H8[captured];
        EnPassantRotA8H1[t] = SquareMaskRotA8H1[t] | SquareMaskRotA8H1[captured];
    }
}

template <int (*Index)(int)>
Bitboard Rotate(Bitboard x) {
    Bitboard rotated = 0;
    for (; x; x &= x - 1) rotated |= MaskOf(Index(LowestSquare(x)));
    return rotated;
}

} // namespace

int Rot90Index(int s) { return 8 * (7 - FileOf(s)) + RowOf(s); }
int RotA1H8Index(int s) { return DiagonalStart[DiagonalA1H8(s)] + PositionOnA1H8(s); }
int RotA8H1Index(int s) { return DiagonalStart[DiagonalA8H1(s)] + PositionOnA8H1(s); }

Bitboard RotateTo90(Bitboard x) { return Rotate<Rot90Index>(x); }
Bitboard RotateToA1H8(Bitboard x) { return Rotate<RotA1H8Index>(x); }
Bitboard RotateToA8H1(Bitboard x) { return Rotate<RotA8H1Index>(x); }

void InitTables() {
    InitStepAttacks();
    InitDiagonalConstants();
    InitSlidingAttacks();
    InitMasksAndLines();
    InitSquaresBetween();
    InitEnPassantMasks();
}

} // namespace velkor
