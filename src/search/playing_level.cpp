// The levels below full strength: the node budget, the choice among the best lines, and the
// levels' measured Elo.
#include "search/playing_level.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <random>

#include "search/search.h"

namespace velkor {

double PlayingLevel = FullStrengthLevel;

namespace {

// Budget: LowestLevelNodes at level 0, doubling every LevelsPerDoubling levels. The first
// iteration always completes, so the weakest level still sees every capture a move ahead.
inline constexpr double LowestLevelNodes = 128.0;
inline constexpr double LevelsPerDoubling = 1.6;

// The choice: a line that scores loss centipawns below the best is weighed exp(-loss / T), where
// T is WidestTemperature at level 0 and falls with the cube of the distance to full strength
// (44 at level 10, 5.5 at 15); a line more than LossCutTemperatures * T below the best is never
// played.
inline constexpr double WidestTemperature = 350.0;
inline constexpr double LossCutTemperatures = 3.0;

struct EloPoint {
    int elo;
    double level;
};
// From Stockfish's floor up, levels that scored between 40 and 60 % against Stockfish limited to the
// same Elo; below it, each level's Elo measured against the level above it, and the level that
// UCI_Elo 800 was measured at. tests/e2e/calibrate_levels.sh measures them again.
inline constexpr std::array<EloPoint, 11> EloScale = {{
    {660, 0.0}, {702, 2.0}, {800, 4.255}, {813, 4.5}, {961, 7.206}, {1100, 8.518}, {1400, 9.905}, {1413, 10.0},
    {1700, 14.0}, {1850, 17.21}, {1960, FullStrengthLevel},
}};

double Temperature(double level) {
    double share = (FullStrengthLevel - std::clamp(level, 0.0, FullStrengthLevel)) / FullStrengthLevel;
    return WidestTemperature * share * share * share;
}

std::mt19937_64& Random() {
    static std::mt19937_64 generator(std::random_device{}() ^
                                     static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    return generator;
}

} // namespace

bool Weakened(double level) { return level < FullStrengthLevel; }

int CandidateLines(double level) {
    if (!Weakened(level)) return 1;
    return level < CloseLinesLevel ? LevelCandidateLines : CloseCandidateLines;
}

std::uint64_t LevelNodeBudget(double level) {
    if (!Weakened(level)) return NoNodeLimit;
    return static_cast<std::uint64_t>(LowestLevelNodes * std::exp2(std::max(level, 0.0) / LevelsPerDoubling));
}

ScoredMove ChooseLevelLine(std::span<const ScoredMove> lines, double level) {
    int best = lines[0].score;
    // Mates are played as found, and a lost game is defended as well as the search can.
    if (!Weakened(level) || lines.size() == 1 || MateMoves(best) != 0 || best <= -MateScore) return lines[0];
    double temperature = Temperature(level);
    std::array<double, MaxPrincipalLines> weights{};
    std::size_t count = 0;
    for (const ScoredMove& line : lines) {
        double loss = best - line.score;
        if (count == weights.size() || MateMoves(line.score) != 0 || loss > LossCutTemperatures * temperature) break;
        weights[count++] = std::exp(-loss / temperature);
    }
    if (count <= 1) return lines[0];
    std::discrete_distribution<std::size_t> pick(weights.begin(), weights.begin() + static_cast<std::ptrdiff_t>(count));
    return lines[pick(Random())];
}

double LevelForElo(int elo) {
    if (elo <= EloScale.front().elo) return EloScale.front().level;
    for (std::size_t i = 1; i < EloScale.size(); ++i) {
        const EloPoint& low = EloScale[i - 1];
        const EloPoint& high = EloScale[i];
        if (elo < high.elo) return low.level + (high.level - low.level) * (elo - low.elo) / (high.elo - low.elo);
    }
    return FullStrengthLevel;
}

int FullStrengthElo() { return EloScale.back().elo; }

} // namespace velkor
