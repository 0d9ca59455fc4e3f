// The searches: iterative deepening over the root search, the main alpha-beta search and the
// quiescence search, with their shared state.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "core/move.h"
#include "core/thread_local.h"
#include "position/position.h"

namespace velkor {

// Scores: centipawns for the side to move. Mated at ply p scores -(MateScore - p).
inline constexpr int Infinity = 8190;
inline constexpr int MateScore = 8100;

inline constexpr int MaxFullWidthPly = 126;
inline constexpr int MaxQuiescencePly = 135;
inline constexpr int MinQuiescenceDepth = -8;

// ---- Each search thread's own state ------------------------------------------------------------
// Every search thread (the main search and its helpers) searches its own copy of the position with
// the state below, the history scores and the killers; they share only the transposition table,
// the pawn-structure cache and the words the command thread sets.
extern VELKOR_PER_THREAD std::uint32_t IterationDepth;
// Moves made by the root and main searches (the count the thinking output shows), and by the
// quiescence search (for node rates comparable with other engines').
extern VELKOR_PER_THREAD std::uint32_t NodeCount;
extern VELKOR_PER_THREAD std::uint64_t QuiescenceNodeCount;
extern VELKOR_PER_THREAD std::array<std::uint32_t, 2> InCheckCount;
// The state of this thread's aspiration window, as AspirationState (which the main search
// publishes for the time control): the searches read this one.
extern VELKOR_PER_THREAD std::int32_t WindowState;
// The root moves of the lines already found in this iteration, which the root search passes over.
extern VELKOR_PER_THREAD std::array<Move, MaxMoves> ExcludedRootMoves;
extern VELKOR_PER_THREAD int ExcludedRootMoveCount;
// The deepest ply the quiescence search reached since the search began (UCI's seldepth).
extern VELKOR_PER_THREAD int SelectiveDepth;
// The move lists of every ply of the current line, one after another; the root's list first.
// Room for a full list at every record of the ply stack.
inline constexpr int MoveStackSize = PlyStackSize * MaxMoves;
alignas(CacheLineBytes) extern VELKOR_PER_THREAD std::array<ScoredMove, MoveStackSize> MoveStack;
// Where this thread's stop request comes from: the command thread's StopSearch for the main
// search, the main search's for a helper.
extern VELKOR_PER_THREAD const std::atomic<std::uint8_t>* StopRequest;
// Where a helper publishes its count of moves made at every root move; none for the main search.
extern VELKOR_PER_THREAD std::atomic<std::uint64_t>* NodeCountOut;

// ---- Shared ---------------------------------------------------------------------------------------
// The move and score the main search settled on when it last ended (a result marker when the game
// is over at the root): written by the search before it goes idle, read by the command thread.
extern ScoredMove SearchResult;

// The limits of the next search besides its depth, set by the command thread while the search
// is idle: the nodes it may spend (root, main and quiescence moves together), and the root moves
// it may choose from (RootMoveCount 0: all of them).
inline constexpr std::uint64_t NoNodeLimit = UINT64_MAX;
extern std::uint64_t NodeLimit;
extern std::array<Move, MaxMoves> RootMoves;
extern int RootMoveCount;

// The lines the next search looks for (UCI's MultiPV): the best root move, then the best of the
// others, and so on; set by the command thread while the search is idle.
inline constexpr int MaxPrincipalLines = 256;
extern int PrincipalLineCount;

// Makes move with the node's record and steps into the child's ply; LeaveChild undoes both.
void EnterChild(Move move, PlyRecord& record);
void LeaveChild(Move move, PlyRecord& record);

// Quiescence search of the current position at depth d (0 down to -8) and ply p.
int QSearch(int d, int p, int alpha, int beta);

// Full-width search of remaining depth d at ply p within (alpha, beta), fail-soft.
int Search(int d, int p, int alpha, int beta, bool allowNull);

// Searches the root to IterationDepth; the best move and score end in the first root entry.
int RootSearch(int alpha, int beta);

// True when this thread's stop request or the node limit asks an unfinished iteration to end.
bool SearchStopped();

// The distance to mate of a mate score in moves, the mating move included: N for mate in N,
// -N when mated in N (0: mated now); 0 for every other score.
int MateMoves(int score);

} // namespace velkor
