// brindle-openings: candidate balanced openings for brindle-match, one a line
// as "x,y x,y ...", Red's stone first. Each is 3 to 5 stones near the centre,
// every stone within two cells of one before it, with no four and no open
// three for either side, and a fixed-depth search that finds neither side far
// ahead. scripts/make-openings then plays them and keeps the balanced ones.
//   brindle-openings [count] [seed]   (default 300 candidates, seed 2026)

#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/search.h"

using brindle::engine::Search;
using brindle::engine::ShapeBoard;

namespace {

// The depth of the look that judges a candidate, and how far from even it may be.
constexpr int32_t JudgeDepth = 4;
constexpr int32_t EvenWithin = 200;

struct Candidate {
    std::vector<std::pair<int32_t, int32_t>> stones;
    std::string text() const
    {
        std::string t;
        for (const auto& [x, y] : stones) {
            if (!t.empty())
                t += ' ';
            t += std::to_string(x);
            t += ',';
            t += std::to_string(y);
        }
        return t;
    }
};

bool quiet(const ShapeBoard& board)
{
    for (const int16_t cell : board.cells())
        if (board.stone(cell) == 0)
            for (int32_t p = 1; p <= 2; ++p)
                if (board.threat(p, cell) & (brindle::engine::MakesFive | brindle::engine::MakesWin))
                    return false;
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 300;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 2026u;
    if (count < 1) {
        std::fprintf(stderr, "usage: brindle-openings [count] [seed]\n");
        return 2;
    }
    std::mt19937 random(seed);
    std::set<std::string> seen;
    Search search;
    int made = 0;
    for (int tries = 0; made < count && tries < count * 1000; ++tries) {
        const int32_t stones = 3 + static_cast<int32_t>(random() % 3);
        Candidate c;
        search.reset(ShapeBoard::Side);
        bool ok = true;
        for (int32_t i = 0; i < stones && ok; ++i) {
            int32_t x = 10, y = 10;
            for (int32_t attempt = 0; attempt < 50; ++attempt) {
                if (i == 0) {
                    x = 8 + static_cast<int32_t>(random() % 5), y = 8 + static_cast<int32_t>(random() % 5);
                } else {
                    const auto& [px, py] = c.stones[random() % c.stones.size()];
                    x = px + static_cast<int32_t>(random() % 5) - 2, y = py + static_cast<int32_t>(random() % 5) - 2;
                }
                if (search.at(x, y) == 0 && x >= 6 && y >= 6 && x <= 13 && y <= 13)
                    break;
            }
            ok = search.at(x, y) == 0;
            c.stones.push_back({x, y});
            search.set(x, y, i % 2 == 0 ? 1 : 2);
        }
        if (!ok || !quiet(search.board()))
            continue;
        const int32_t toMove = stones % 2 == 0 ? 1 : 2;
        const brindle::engine::Thinking t = search.analyse(toMove, Search::Limits{{}, JudgeDepth, 0, nullptr}, 1);
        if (t.eval.winIn != 0 || std::abs(t.eval.score) > EvenWithin)
            continue;
        // The same opening in another order, or reflected, is still another line here: keep the first.
        if (!seen.insert(c.text()).second)
            continue;
        std::printf("%s\n", c.text().c_str());
        ++made;
    }
    return made == count ? 0 : 1;
}
