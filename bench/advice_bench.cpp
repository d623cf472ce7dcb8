// The computer's advice, measured as a player meets it, in the window's own
// Analyst on its worker thread: how long a hint takes at Master's time, how
// soon the analysis panel hears its first figures after a move, how long a
// review of a 60-move game takes at 200 ms a position, how much memory the
// analysis adds, and that its thread rests once it has finished.
//
//   brindle-advice-bench

#include <malloc.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include "engine/search.h"
#include "platform/analyst.h"

using namespace brindle;
using Clock = std::chrono::steady_clock;

namespace {

long residentKb()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
}

// A 60-move game of Master against itself at 30 ms a move, {row, column}.
Analyst::Moves selfPlay(int moves)
{
    engine::Search search;
    Analyst::Moves game;
    for (int n = 0; n < moves; ++n) {
        const engine::Search::Move m = search.best(n % 2 == 0 ? 1 : 2, std::chrono::milliseconds(30));
        if (m.x < 0)
            break;
        search.set(m.x, m.y, n % 2 == 0 ? 1 : 2);
        game.push_back({m.y, m.x});
    }
    return game;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const Analyst::Moves game = selfPlay(60);
    std::printf("a game of %zu moves of Master against itself\n", game.size());

    // What the self-play game left in the allocator goes back first, so
    // that the figure is the analyst's own.
    malloc_trim(0);
    const long before = residentKb();
    Analyst analyst;

    // Hints: Master's 300 ms less the window's 10 ms hand-over, as the window asks.
    double slowestHint = 0;
    for (size_t n = 10; n <= 50 && n < game.size(); n += 10) {
        const Analyst::Moves position(game.begin(), game.begin() + static_cast<long>(n));
        // The window's thinker keeps one search for all its questions.
        static engine::Search search;
        Analyst::setUp(search, position, position.size());
        const auto start = Clock::now();
        search.analyse(n % 2 == 0 ? 1 : 2, {std::chrono::milliseconds(290), engine::Search::MaxDepth, 0, nullptr}, 1);
        slowestHint = std::max(slowestHint, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::printf("hint: slowest answer %.1f ms at a budget of 300 ms (positions after 10, 20 ... 50 moves)\n", slowestHint);

    // The panel's first figures after a move: from the question to the first depth heard on this thread.
    double slowestFirst = 0;
    for (size_t n = 20; n <= 40; n += 5) {
        const Analyst::Moves position(game.begin(), game.begin() + static_cast<long>(n));
        QElapsedTimer timer;
        timer.start();
        bool heard = false;
        analyst.think(position, 3, [&](const engine::Thinking&) { heard = true; });
        if (!QTest::qWaitFor([&] { return heard; }, 5000))
            std::printf("no figures within 5 s after move %zu\n", n);
        slowestFirst = std::max(slowestFirst, timer.nsecsElapsed() / 1e6);
        analyst.stop();
    }
    std::printf("analysis: first figures at most %.1f ms after the move (middle games, 20 to 40 moves)\n", slowestFirst);

    // The analysis left to its cap, then resting.
    // An early middle game, where no win is certain yet.
    const Analyst::Moves middle(game.begin(), game.begin() + 12);
    bool finished = false;
    int depth = 0;
    int64_t searched = 0;
    QElapsedTimer capped;
    capped.start();
    analyst.think(
        middle, 3,
        [&](const engine::Thinking& t) {
            finished = t.finished;
            depth = t.depth;
            searched = t.elapsed.count();
        },
        std::chrono::seconds(10));
    if (!QTest::qWaitFor([&] { return finished; }, 20000))
        std::printf("the analysis did not finish within 20 s\n");
    const double wall = capped.elapsed() / 1000.0;
    // Freed memory the allocator still holds is not the analysis'.
    malloc_trim(0);
    const long during = residentKb();
    const double cpuAtRest = cpuSeconds();
    QTest::qWait(2000);
    std::printf("analysis: finished at depth %d after %.1f s, %.1f s of it searching (a 10 s cap here; the panel's is 60 s); "
                "CPU in the 2 s after: %.3f s\n",
                depth, wall, searched / 1000.0, cpuSeconds() - cpuAtRest);
    std::printf("memory: %ld KB resident before the analyst, %ld KB with it and Master's own search: %.1f MB more\n", before, during,
                (during - before) / 1024.0);

    // The review of the whole game.
    bool reviewed = false;
    QElapsedTimer review;
    review.start();
    analyst.review(game, std::chrono::milliseconds(200), [](int, int) {}, [&](const std::vector<engine::Thinking>&) { reviewed = true; });
    if (!QTest::qWaitFor([&] { return reviewed; }, 120000))
        std::printf("the review did not end within 120 s\n");
    std::printf("review: %zu positions at 200 ms each in %.1f s\n", game.size() + 1, review.elapsed() / 1000.0);
    return 0;
}
