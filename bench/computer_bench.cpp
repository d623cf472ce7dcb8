// How long the computer takes to choose a move, and how many whole automatic
// games the program plays per second when nothing is drawn.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "allocation_counter.h"
#include "game/game.h"
#include "game/random.h"

namespace brindle::bench {
namespace {

class NullCanvas final : public Canvas {
public:
    void Cls() override {}
    void Line(double, double, double, double) override {}
    void FillBox(double, double, double, double, Colour) override {}
    void SetPersistentDrawing(bool on) override { persistent_ = on; }
    bool PersistentDrawing() const override { return persistent_; }

private:
    bool persistent_ = true;
};

class NullHost final : public Host {
public:
    void DoEvents() override {}
    void Pause(int) override {}
    void Beep() override {}
    void PlaySound(std::string_view) override {}
    void Send(std::string_view) override {}
    void ShowIntro() override {}
};

// The program's generator with a fixed seed. While a board is being built it
// is not stirred with the clock, so every run builds the same board; while
// measuring it behaves exactly as in the game.
class BoardRandom final : public RandomSource {
public:
    explicit BoardRandom(uint64_t seed) : numbers_(seed) {}
    void Randomize() override
    {
        if (stirWithClock)
            numbers_.Randomize();
    }
    float Rnd() override { return numbers_.Rnd(); }
    bool stirWithClock = false;

private:
    ClockRandom numbers_;
};

struct Table {
    Globals globals;
    NullCanvas canvas;
    NullHost host;
};

// True when the mark at (row, col) would complete five or more in a line.
bool CompletesFive(const Game& game, int32_t row, int32_t col, char mark)
{
    static constexpr int32_t directions[4][2] = {{0, 1}, {1, 0}, {1, 1}, {1, -1}};
    for (const auto& d : directions) {
        int32_t line = 1;
        for (int32_t sign : {-1, 1})
            for (int32_t t = 1; t < 5 && OnBoard(row + sign * t * d[0], col + sign * t * d[1]) &&
                                game.Board(row + sign * t * d[0], col + sign * t * d[1]) == mark;
                 ++t)
                ++line;
        if (line >= 5)
            return true;
    }
    return false;
}

// A Human vs. Human game at Hard brought to the given number of pieces by the
// computer playing both sides; a move that would end the game is replaced by
// the first quiet candidate, so that the position stays open.
bool BuildBoard(Game& game, int32_t pieces)
{
    game.Form_Load();
    game.Form_Activate();
    game.Menu_Hard_Click();
    game.Menu_HumanHuman_Click();
    while (game.MoveCount < pieces && !game.GameOver) {
        Game::Choice choice = game.ChooseMove();
        if (!choice.found)
            return false;
        if (CompletesFive(game, choice.row, choice.col, game.NextMark)) {
            choice.found = false;
            for (int32_t r = game.SearchMinRow; r <= game.SearchMaxRow && !choice.found; ++r)
                for (int32_t c = game.SearchMinCol; c <= game.SearchMaxCol && !choice.found; ++c)
                    if (game.Board(r, c) == Empty && game.NearPiece[static_cast<size_t>(r)][static_cast<size_t>(c)] &&
                        !CompletesFive(game, r, c, game.NextMark))
                        choice = {r, c, 0, true};
            if (!choice.found)
                return false;
        }
        game.PlacePiece(choice.row, choice.col, choice.score);
    }
    return game.MoveCount == pieces && !game.GameOver;
}

void BM_ComputerMove(benchmark::State& state)
{
    Table table;
    BoardRandom random(20240601);
    Game game(table.globals, table.canvas, table.host, random);
    const auto pieces = static_cast<int32_t>(state.range(0));
    if (!BuildBoard(game, pieces)) {
        state.SkipWithError("the board could not be built");
        return;
    }
    random.stirWithClock = true;

    // The choice must not touch the heap; first make sure the count works.
    const std::size_t start = Allocations();
    std::vector<int> probe(100);
    benchmark::DoNotOptimize(probe.data());
    if (Allocations() == start) {
        state.SkipWithError("allocations are not being counted");
        return;
    }
    constexpr int probes = 1000;
    const std::size_t before = Allocations();
    for (int i = 0; i < probes; ++i)
        benchmark::DoNotOptimize(game.ChooseMove());
    const std::size_t allocations = Allocations() - before;

    int64_t candidates = 0;
    for (int32_t r = game.SearchMinRow; r <= game.SearchMaxRow; ++r)
        for (int32_t c = game.SearchMinCol; c <= game.SearchMaxCol; ++c)
            candidates += game.Board(r, c) == Empty && game.NearPiece[static_cast<size_t>(r)][static_cast<size_t>(c)];

    for (auto _ : state)
        benchmark::DoNotOptimize(game.ChooseMove());

    state.counters["allocs_per_move"] = static_cast<double>(allocations) / probes;
    state.counters["candidates"] = static_cast<double>(candidates);
}
BENCHMARK(BM_ComputerMove)->Arg(0)->Arg(20)->Arg(60)->Arg(150);

void BM_ComputerVsComputer(benchmark::State& state)
{
    Table table;
    ClockRandom random;
    Game game(table.globals, table.canvas, table.host, random);
    game.Form_Load();
    game.Form_Activate();
    game.Menu_Normal_Click();
    game.Menu_ComputerComputer_Click();

    int64_t games = 0;
    int64_t moves = 0;
    for (auto _ : state) {
        // The one-second pause is over: the timer starts the next game.
        game.Timer3_Timer();
        if (!game.GameOver || !game.ui.Timer3.Enabled) {
            state.SkipWithError("a game did not end with the next one scheduled");
            break;
        }
        ++games;
        moves += game.MoveCount;
    }
    state.SetItemsProcessed(games);
    if (games > 0)
        state.counters["moves_per_game"] = static_cast<double>(moves) / static_cast<double>(games);
}
BENCHMARK(BM_ComputerVsComputer)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace brindle::bench

BENCHMARK_MAIN();
