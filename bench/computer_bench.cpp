// How long the computer takes to choose a move, and how many whole automatic
// games the program plays per second when nothing is drawn.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "allocation_counter.h"
#include "bench/null_ports.h"
#include "game/game.h"
#include "game/quiet_ports.h"
#include "game/random.h"

namespace brindle::bench {
namespace {

class NullEvents final : public EventLoop {
public:
    void DoEvents() override {}
    void Pause(int) override {}
    void waitFor(int, const std::function<bool()>&) override {}
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

// One game with ports that do nothing.
struct Table {
    explicit Table(RandomSource& random) : game(globals, {canvas, events, sound, peer, random}) {}
    Globals globals;
    NullCanvas canvas;
    NullEvents events;
    SilentSound sound;
    NoPeer peer;
    Game game;
};

// True when the mark at (row, col) would complete five or more in a line.
bool CompletesFive(const Game& game, int32_t row, int32_t col, char mark)
{
    static constexpr int32_t directions[4][2] = {{0, 1}, {1, 0}, {1, 1}, {1, -1}};
    for (const auto& d : directions) {
        int32_t line = 1;
        for (int32_t sign : {-1, 1})
            for (int32_t t = 1; t < 5 && onBoard(row + sign * t * d[0], col + sign * t * d[1]) &&
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
    game.command(Menu_Hard);
    game.command(Menu_HumanHuman);
    const GameState& s = game.state();
    const ComputerPlayer& computer = game.computer();
    while (s.MoveCount < pieces && !s.GameOver) {
        ComputerPlayer::Choice choice = game.chooseMove();
        if (!choice.found)
            return false;
        if (CompletesFive(game, choice.row, choice.col, s.NextMark)) {
            choice.found = false;
            for (int32_t r = computer.SearchMinRow; r <= computer.SearchMaxRow && !choice.found; ++r)
                for (int32_t c = computer.SearchMinCol; c <= computer.SearchMaxCol && !choice.found; ++c)
                    if (computer.candidate(r, c) && !CompletesFive(game, r, c, s.NextMark))
                        choice = {r, c, 0, true};
            if (!choice.found)
                return false;
        }
        game.PlacePiece(choice.row, choice.col, choice.score);
    }
    return s.MoveCount == pieces && !s.GameOver;
}

void BM_ComputerMove(benchmark::State& state)
{
    BoardRandom random(20240601);
    Table table(random);
    Game& game = table.game;
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
        benchmark::DoNotOptimize(game.chooseMove());
    const std::size_t allocations = Allocations() - before;

    const ComputerPlayer& computer = game.computer();
    int64_t candidates = 0;
    for (int32_t r = computer.SearchMinRow; r <= computer.SearchMaxRow; ++r)
        for (int32_t c = computer.SearchMinCol; c <= computer.SearchMaxCol; ++c)
            candidates += computer.candidate(r, c);

    for (auto _ : state)
        benchmark::DoNotOptimize(game.chooseMove());

    state.counters["allocs_per_move"] = static_cast<double>(allocations) / probes;
    state.counters["candidates"] = static_cast<double>(candidates);
}
BENCHMARK(BM_ComputerMove)->Arg(0)->Arg(20)->Arg(60)->Arg(150);

void BM_ComputerVsComputer(benchmark::State& state)
{
    ClockRandom random;
    Table table(random);
    Game& game = table.game;
    game.Form_Load();
    game.Form_Activate();
    game.command(Menu_Normal);
    game.command(Menu_ComputerComputer);
    const GameState& s = game.state();

    int64_t games = 0;
    int64_t moves = 0;
    for (auto _ : state) {
        // The one-second pause is over: the timer starts the next game.
        game.timerFired(3);
        if (!s.GameOver || !game.ui.Timer3.Enabled) {
            state.SkipWithError("a game did not end with the next one scheduled");
            break;
        }
        ++games;
        moves += s.MoveCount;
    }
    state.SetItemsProcessed(games);
    if (games > 0)
        state.counters["moves_per_game"] = static_cast<double>(moves) / static_cast<double>(games);
}
BENCHMARK(BM_ComputerVsComputer)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace brindle::bench

BENCHMARK_MAIN();
