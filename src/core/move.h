// The 16-bit move code, its kinds and markers, and the scored move list entry.
#pragma once

#include <cstdint>

#include "core/types.h"

namespace velkor {

// Move layout: bits 0-5 to, bits 6-11 from, bits 12-15 kind.
enum MoveKind : std::uint8_t {
    Quiet = 0,
    Capture = 1,
    EnPassant = 2,
    MarkerKind = 3,
    PromoteQueen = 4,
    PromoteKnight = 5,
    PromoteRook = 6,
    PromoteBishop = 7,
    CapturePromoteQueen = 8,
    CapturePromoteKnight = 9,
    CapturePromoteRook = 10,
    CapturePromoteBishop = 11,
    CastleShortBlack = 12,
    CastleShortWhite = 13,
    CastleLongBlack = 14,
    CastleLongWhite = 15,
};

inline constexpr Move NoMove = 0;

constexpr Move ComposeMove(int to, int from, int kind) {
    return static_cast<Move>(to | (from << 6) | (kind << 12));
}
constexpr int MoveTo(Move move) { return move & 0x3F; }
constexpr int MoveFrom(Move move) { return (move >> 6) & 0x3F; }
constexpr int KindOf(Move move) { return move >> 12; }
constexpr int FromTo(Move move) { return move & 0xFFF; }

constexpr bool IsCastling(Move move) { return move >= 0xC000; }
constexpr bool IsPromotion(Move move) { return move >= 0x4000 && move <= 0xBFFF; }
constexpr bool IsMarker(Move move) { return KindOf(move) == MarkerKind; }
constexpr bool IsCapturing(Move move) {
    int kind = KindOf(move);
    return kind == Capture || kind == EnPassant || (kind >= CapturePromoteQueen && kind <= CapturePromoteBishop);
}
// 0 queen, 1 knight, 2 rook, 3 bishop for kinds 4 to 11.
constexpr int PromotionPiece(Move move) { return KindOf(move) & 3; }

// The four castling moves, built from the king's squares.
inline constexpr Move CastleShortBlackMove = 0xC106;
inline constexpr Move CastleShortWhiteMove = 0xDF3E;
inline constexpr Move CastleLongBlackMove = 0xE102;
inline constexpr Move CastleLongWhiteMove = 0xFF3A;

// Kind-3 markers: never generated, never made.
inline constexpr Move NullMoveMarker = 0x3104;
inline constexpr Move ResultMated = 0x3000;
inline constexpr Move ResultStalemate = 0x3041;
inline constexpr Move ResultRepetition = 0x3082;
inline constexpr Move ResultFiftyMoves = 0x3186;
inline constexpr Move ResultNoMaterial = 0x31C7;

static_assert(ComposeMove(G8, E8, CastleShortBlack) == CastleShortBlackMove);
static_assert(ComposeMove(G1, E1, CastleShortWhite) == CastleShortWhiteMove);
static_assert(ComposeMove(C8, E8, CastleLongBlack) == CastleLongBlackMove);
static_assert(ComposeMove(C1, E1, CastleLongWhite) == CastleLongWhiteMove);
static_assert(ComposeMove(E8, E8, MarkerKind) == NullMoveMarker);

// A move with its ordering score; lists are flat arrays of these, ended by a returned pointer.
struct ScoredMove {
    std::int16_t score;
    Move move;
};
static_assert(sizeof(ScoredMove) == 4);

// Room for every pseudo-legal move of any position the set-up accepts.
inline constexpr int MaxMoves = 256;

// Ordering-score scale shared by the generators and the searches.
inline constexpr std::int16_t ScoreQuiet = -30000;
inline constexpr std::int16_t ScoreCastleShort = -29000;
inline constexpr std::int16_t ScoreCastleLong = -29500;
inline constexpr std::int16_t ScoreEnPassant = -9500;
inline constexpr std::int16_t ScorePromoteQueen = -9401;
inline constexpr std::int16_t ScorePromoteKnight = -30005;
inline constexpr std::int16_t ScorePromoteRook = -30025;
inline constexpr std::int16_t ScorePromoteBishop = -30050;

} // namespace velkor
