// The book builder: a tree of the games' opening moves with a game count per node; every path
// whose nodes all reach the minimum and that cannot be extended becomes a book line.
#include "tools/book_builder.h"

#include <algorithm>
#include <fstream>
#include <vector>

#include "book/book.h"
#include "control/setup.h"
#include "movegen/legal.h"
#include "position/make_move.h"
#include "tools/game_file.h"

namespace velkor {

namespace {

struct OpeningNode {
    Move move = NoMove;
    int games = 0;
    std::vector<int> children;
};

class OpeningTree {
  public:
    OpeningTree() : nodes(1) {}

    // Adds a game's first plies, as far as they are legal.
    void Add(const GameRecord& record, int plies) {
        int count = std::min({record.MoveCount(), plies, MaxBookLineMoves});
        int node = 0;
        int made = 0;
        nodes[0].games += 1;
        for (int i = 1; i <= count; ++i) {
            Move move = record.words[static_cast<std::size_t>(i)];
            if (!IsLegalMove(move)) break;
            node = Child(node, move);
            nodes[static_cast<std::size_t>(node)].games += 1;
            SaveSnapshot(GameMoveRecords[static_cast<std::size_t>(made)]);
            MakeMove(move, GameMoveRecords[static_cast<std::size_t>(made++)]);
        }
        while (made > 0) {
            --made;
            UnmakeMove(record.words[static_cast<std::size_t>(made + 1)], GameMoveRecords[static_cast<std::size_t>(made)]);
        }
    }

    // The lines whose every node has at least minGames games and that no such child extends.
    std::vector<std::vector<Move>> Lines(int minGames) const {
        std::vector<std::vector<Move>> lines;
        std::vector<Move> path;
        Collect(0, minGames, path, lines);
        return lines;
    }

  private:
    int Child(int node, Move move) {
        for (int child : nodes[static_cast<std::size_t>(node)].children)
            if (nodes[static_cast<std::size_t>(child)].move == move) return child;
        nodes.push_back({move, 0, {}});
        int child = static_cast<int>(nodes.size()) - 1;
        nodes[static_cast<std::size_t>(node)].children.push_back(child);
        return child;
    }

    void Collect(int node, int minGames, std::vector<Move>& path, std::vector<std::vector<Move>>& lines) const {
        std::vector<int> shared;
        for (int child : nodes[static_cast<std::size_t>(node)].children)
            if (nodes[static_cast<std::size_t>(child)].games >= minGames) shared.push_back(child);
        if (shared.empty()) {
            if (!path.empty()) lines.push_back(path);
            return;
        }
        std::stable_sort(shared.begin(), shared.end(), [this](int a, int b) {
            return nodes[static_cast<std::size_t>(a)].games > nodes[static_cast<std::size_t>(b)].games;
        });
        for (int child : shared) {
            path.push_back(nodes[static_cast<std::size_t>(child)].move);
            Collect(child, minGames, path, lines);
            path.pop_back();
        }
    }

    std::vector<OpeningNode> nodes;
};

} // namespace

int BuildBook(const char* gamePath, const char* bookPath, int plies, int minGames) {
    std::ifstream games(gamePath, std::ios::binary);
    if (!games) return -1;
    SetupPosition(StartPositionFen, false);
    OpeningTree tree;
    static GameRecord record;
    try {
        while (ReadGameRecord(record, games)) tree.Add(record, plies);
    } catch (const GameFileError&) {
        return -1;
    }
    std::vector<std::vector<Move>> lines = tree.Lines(std::max(minGames, 1));
    std::ofstream book(bookPath, std::ios::binary | std::ios::trunc);
    if (!book) return -1;
    book << lines.size() << '\n';
    for (const std::vector<Move>& line : lines) {
        book.put(static_cast<char>(line.size()));
        for (Move move : line) {
            book.put(static_cast<char>(move & 0xFF));
            book.put(static_cast<char>(move >> 8));
        }
    }
    return book ? static_cast<int>(lines.size()) : -1;
}

} // namespace velkor
