// The interface's own board, as a GUI keeps it: the set-up and the moves since, checked with the
// library's move generator (the tables must be filled). Every question replays the game.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "control/setup.h"
#include "movegen/legal.h"
#include "notation/coordinate.h"
#include "position/make_move.h"

namespace velkor::test {

class GuiBoard {
  public:
    static constexpr std::size_t MaxPlies = 400;

    explicit GuiBoard(std::string setup = StartPositionFen) : fen(std::move(setup)) {}

    void NewGame(std::string setup = StartPositionFen) {
        fen = std::move(setup);
        moves.clear();
    }
    void Play(const std::string& move) { moves.push_back(move); }
    void TakeBack(std::size_t plies) { moves.resize(moves.size() - std::min(plies, moves.size())); }
    std::size_t Plies() const { return moves.size(); }

    bool IsLegal(const std::string& move) {
        return Replay() && IsLegalMove(ParseCoordinateMove(move.c_str()));
    }

    std::vector<std::string> LegalMoves() {
        std::vector<std::string> texts;
        if (!Replay()) return texts;
        ScoredMove list[MaxMoves];
        for (ScoredMove* entry = list, *end = GenerateLegalMoves(list); entry != end; ++entry) {
            char text[8];
            FormatCoordinateMove(text, entry->move);
            texts.emplace_back(text);
        }
        return texts;
    }

  private:
    bool Replay() {
        static std::array<PlyRecord, MaxPlies> records;
        if (moves.size() > MaxPlies || !SetupPosition(fen.c_str(), false)) return false;
        for (std::size_t i = 0; i < moves.size(); ++i) {
            Move move = ParseCoordinateMove(moves[i].c_str());
            if (!IsLegalMove(move)) return false;
            SaveSnapshot(records[i]);
            MakeMove(move, records[i]);
            RefreshGameSnapshot();
        }
        return true;
    }

    std::string fen;
    std::vector<std::string> moves;
};

} // namespace velkor::test
