// Move selection shared by the searches: the score phase picks the highest ordering score; once
// only quiet moves (scores below -10000) are left, the history phase orders them by history keys.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>

#include "core/move.h"
#include "position/position.h"
#include "search/history.h"

namespace velkor {

inline constexpr int HashMoveScore = 30000;
inline constexpr int Killer1Score = -9998;
inline constexpr int Killer2Score = -9999;
inline constexpr int HistoryPhaseThreshold = -10000;
inline constexpr std::uint32_t HistoryKeyOffset = 33000;

// The first element of the non-empty [begin, end) with the highest value (earlier wins ties):
// the maximum first, in a loop without branches that vectorises, then its first holder.
template <typename T, typename ValueOf>
T* FirstMaximum(T* begin, T* end, ValueOf value) {
    auto top = value(*begin);
    for (T* at = begin + 1; at < end; ++at) top = std::max(top, value(*at));
    T* best = begin;
    while (value(*best) != top) ++best;
    return best;
}

// Swaps the entry with the highest score in [cursor, end) to the cursor (earlier wins ties).
inline void SelectBestScore(ScoredMove* cursor, ScoredMove* end) {
    ScoredMove* best = FirstMaximum(cursor, end, [](const ScoredMove& entry) { return entry.score; });
    if (best != cursor) std::swap(*best, *cursor);
}

// Selection over one node's list with the two phases of the main and root searches.
class MoveSelector {
  public:
    MoveSelector(ScoredMove* begin, PlyRecord& nodeRecord, int sideToMove)
        : record(nodeRecord), side(sideToMove), keyBase(begin) {}

    void Select(ScoredMove* cursor, ScoredMove* end) {
        if (!historyPhase) {
            SelectBestScore(cursor, end);
            if (cursor->score >= HistoryPhaseThreshold) return;
            historyPhase = true;
            keyBase = cursor;
            for (ScoredMove* entry = cursor; entry < end; ++entry)
                record.orderingKeys[static_cast<std::size_t>(entry - keyBase)] =
                    HistoryScores[side][FromTo(entry->move)] + HistoryKeyOffset + static_cast<std::uint32_t>(entry->score);
        }
        SelectBestKey(cursor, end);
    }

  private:
    void SelectBestKey(ScoredMove* cursor, ScoredMove* end) {
        std::uint32_t* keys = record.orderingKeys.data();
        std::size_t at = static_cast<std::size_t>(cursor - keyBase);
        std::size_t count = static_cast<std::size_t>(end - keyBase);
        auto best = static_cast<std::size_t>(
            FirstMaximum(keys + at, keys + count, [](std::uint32_t key) { return key; }) - keys);
        if (best != at) {
            std::swap(keys[best], keys[at]);
            std::swap(keyBase[best], keyBase[at]);
        }
    }

    PlyRecord& record;
    int side;
    ScoredMove* keyBase;
    bool historyPhase = false;
};

// The ordering scores of the hash move and the killers (assignments; the hash move first).
inline void ApplyOrderingScores(ScoredMove* begin, ScoredMove* end, const PlyRecord& record) {
    for (ScoredMove* entry = begin; entry < end; ++entry) {
        if (entry->move == record.hashMove) entry->score = HashMoveScore;
        else if (entry->move == record.killer1) entry->score = Killer1Score;
        else if (entry->move == record.killer2) entry->score = Killer2Score;
    }
}

// A cut-off move becomes the first killer of its ply (the old first one the second).
inline void RememberKiller(PlyRecord& record, Move move) {
    if (move == record.killer1) return;
    record.killer2 = record.killer1;
    record.killer1 = move;
}

// The main and root searches remember only quiet moves and castlings as killers.
inline bool IsKillerCandidate(Move move) { return KindOf(move) == Quiet || IsCastling(move); }

} // namespace velkor
