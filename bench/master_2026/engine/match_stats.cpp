#include "engine/match_stats.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "game/types.h"

namespace brindle::engine {

namespace {

constexpr int32_t Side = BoardSize;

double eloOfScore(double p)
{
    return -400.0 * std::log10(1.0 / p - 1.0);
}

} // namespace

double Tally::score() const
{
    return games() == 0 ? 0.5 : (wins + 0.5 * draws) / games();
}

Elo eloOf(const Tally& t)
{
    Elo e;
    const int n = t.games();
    const double p = t.score();
    if (n == 0)
        return e;
    if (p <= 0.0 || p >= 1.0) {
        e.bounded = false;
        e.difference = p >= 1.0 ? INFINITY : -INFINITY;
        return e;
    }
    e.difference = eloOfScore(p);
    // The spread of one game's points about the mean gives the mean's error.
    const double variance =
        (t.wins * (1 - p) * (1 - p) + t.draws * (0.5 - p) * (0.5 - p) + t.losses * p * p) / n;
    const double error = std::sqrt(variance / n);
    const double low = std::max(p - 1.959964 * error, 1e-9), high = std::min(p + 1.959964 * error, 1 - 1e-9);
    e.margin = (eloOfScore(high) - eloOfScore(low)) / 2;
    return e;
}

std::string toText(const Elo& e)
{
    if (!e.bounded)
        return std::string(e.difference > 0 ? "+inf" : "-inf") + " (one side took every point)";
    const long difference = std::lround(e.difference);
    return (difference > 0 ? "+" : "") + std::to_string(difference) + " +/- " + std::to_string(std::lround(e.margin)) +
           " (95 %)";
}

bool makesFive(const std::vector<Stone>& moves, size_t last)
{
    if (last >= moves.size())
        return false;
    std::array<int8_t, Side * Side> own{};
    for (size_t i = last % 2; i <= last; i += 2)
        own[static_cast<size_t>(moves[i][1] * Side + moves[i][0])] = 1;
    // A stone is {x, y}: the column, then the row.
    return inLineOfFive(moves[last][1], moves[last][0],
                        [&own](int32_t row, int32_t col) { return own[static_cast<size_t>(row * Side + col)] != 0; });
}

std::vector<Stone> randomOpening(std::mt19937& random)
{
    const auto cell = [&random] { return Stone{8 + int32_t(random() % 4), 8 + int32_t(random() % 4)}; };
    const Stone a = cell();
    Stone b = cell();
    while (b == a)
        b = cell();
    return {a, b};
}

std::optional<std::vector<Stone>> parseOpening(const std::string& text)
{
    std::istringstream in(text);
    std::vector<Stone> stones;
    std::string word;
    while (in >> word) {
        int32_t x = -1, y = -1;
        char comma = 0, extra = 0;
        std::istringstream w(word);
        if (!(w >> x >> comma >> y) || comma != ',' || (w >> extra) || x < 0 || y < 0 || x >= Side || y >= Side)
            return std::nullopt;
        if (std::find(stones.begin(), stones.end(), Stone{x, y}) != stones.end())
            return std::nullopt;
        stones.push_back({x, y});
    }
    return stones;
}

} // namespace brindle::engine
