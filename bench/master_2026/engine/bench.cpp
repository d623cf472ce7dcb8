#include "engine/bench.h"

#include <chrono>
#include <memory>

#include "engine/match_stats.h"
#include "engine/search.h"

namespace brindle::engine {

namespace {

// Stones as "x,y" from 0, the first mover's first, from games between the
// levels: an opening, middle games, and fights where fours decide.
constexpr const char* Positions[] = {
    "9,9",
    "9,11 8,11 9,12 9,10 7,12 8,12",
    "9,11 9,8 10,12 8,10 10,10 8,12 8,11 7,11",
    "9,11 8,11 9,12 9,10 8,12 7,12 10,9 6,13 5,14 7,13",
    "9,11 8,11 9,12 9,10 7,12 8,12 8,13 10,11 9,14 10,15 9,13 9,15 5,10 6,11",
    "9,11 9,8 8,11 7,11 8,10 8,12 9,13 9,12 10,12 7,9 11,13 12,14 7,10 6,10",
    "9,11 8,11 9,12 9,10 8,12 7,12 10,9 6,13 5,14 7,13 7,14 8,13 9,13 4,13 5,13 9,14 6,11 10,15 11,16 10,14 10,12 "
    "11,12",
    "9,11 9,8 8,11 7,11 8,10 8,12 9,13 9,12 10,12 7,9 11,13 12,14 7,10 6,10 5,9 8,8 5,11 9,7 10,6 11,11 10,8 10,10 9,9 "
    "11,7 10,7 10,5",
};

} // namespace

BenchResult runBench(int32_t depth, const std::function<void(const std::string&)>& report)
{
    BenchResult result;
    int number = 0;
    for (const char* text : Positions) {
        const std::vector<Stone> stones = parseOpening(text).value_or(std::vector<Stone>{});
        // Each position starts from empty tables, so that the count is its own.
        auto search = std::make_unique<Search>();
        for (size_t i = 0; i < stones.size(); ++i)
            search->set(stones[i][0], stones[i][1], i % 2 == 0 ? 1 : 2);
        Search::Limits limits;
        limits.depth = depth;
        const auto start = std::chrono::steady_clock::now();
        const Search::Move m = search->best(stones.size() % 2 == 0 ? 1 : 2, limits);
        result.seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        result.nodes += m.nodes;
        report("position " + std::to_string(++number) + ": " + std::to_string(stones.size()) + " stones, best " +
               std::to_string(m.x) + "," + std::to_string(m.y) + ", depth " + std::to_string(m.depth) + ", nodes " +
               std::to_string(m.nodes));
    }
    return result;
}

} // namespace brindle::engine
