// The computer player: scoring cells, picking among the best, the opening, the
// random level, and what its move leaves behind.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <stdexcept>
#include <tuple>
#include <utility>
#include <vector>

#include "support/fakes.h"

namespace brindle::testing {
namespace {

using Cell = std::pair<int32_t, int32_t>;
constexpr float JustBelowOne = 0.99999994f;

bool Near(const Game& g, Cell cell) { return g.NearPiece[size_t(cell.first)][size_t(cell.second)]; }
Cell Played(const Game& g) { return {g.History[size_t(g.MoveCount)][1], g.History[size_t(g.MoveCount)][2]}; }
Cell Chosen(Game& g)
{
    const Game::Choice choice = g.ChooseMove();
    return {choice.row, choice.col};
}

// A cell's score the plain way: the twenty windows of five through it, one by one.
int32_t PlainScore(const Game& g, int32_t row, int32_t col)
{
    static constexpr int32_t directions[4][2] = {{0, 1}, {1, 0}, {1, 1}, {-1, 1}};
    const Weights& w = g.CurrentWeights();
    int32_t score = 0;
    for (const auto& d : directions) {
        for (int32_t k = -4; k <= 0; ++k) {
            size_t own = 0, opp = 0;
            bool onBoard = true;
            for (int32_t t = k; t <= k + 4 && onBoard; ++t) {
                const int32_t r = row + t * d[0], c = col + t * d[1];
                onBoard = OnBoard(r, c);
                own += onBoard && g.Board(r, c) == g.NextMark;
                opp += onBoard && g.Board(r, c) == OtherMark(g.NextMark);
            }
            if (onBoard && opp == 0)
                score += w.Own[own] + w.Bonus;
            if (onBoard && own == 0)
                score += w.Opp[opp] + w.Bonus;
        }
    }
    return score;
}

struct Best {
    int32_t score = 0;
    std::vector<Cell> cells; // in scan order
};

Best PlainBest(const Game& g)
{
    Best best;
    for (int32_t r = g.SearchMinRow; r <= g.SearchMaxRow; ++r) {
        for (int32_t c = g.SearchMinCol; c <= g.SearchMaxCol; ++c) {
            if (g.Board(r, c) != Empty || !Near(g, {r, c}))
                continue;
            const int32_t s = PlainScore(g, r, c);
            if (s > best.score)
                best = {s, {}};
            if (s == best.score)
                best.cells.push_back({r, c});
        }
    }
    return best;
}

std::vector<Cell> Collected(const Game& g)
{
    std::vector<Cell> cells;
    for (int32_t k = 1; k <= g.BestCount; ++k)
        cells.push_back({g.BestCells[size_t(k)][0], g.BestCells[size_t(k)][1]});
    return cells;
}

Weights MakeWeights(std::array<int32_t, 5> own, std::array<int32_t, 5> opp, int32_t bonus = 0)
{
    Weights w;
    w.Own = own;
    w.Opp = opp;
    w.Bonus = bonus;
    return w;
}

// A Human vs. Human game at Hard whose positions are written straight onto the board.
struct Position : GameFixture {
    Position() { StartHumanHuman(); }

    // Every cell of the rectangle becomes a candidate, as if pieces lay around it.
    void SearchArea(int32_t r0 = 0, int32_t c0 = 0, int32_t r1 = 19, int32_t c1 = 19)
    {
        std::tie(game.SearchMinRow, game.SearchMinCol, game.SearchMaxRow, game.SearchMaxCol) = std::tie(r0, c0, r1, c1);
        for (int32_t r = r0; r <= r1; ++r)
            for (int32_t c = c0; c <= c1; ++c)
                game.NearPiece[size_t(r)][size_t(c)] = true;
        game.MoveCount = std::max(game.MoveCount, 1);
    }

    // The score of one empty cell, read by making it the only candidate.
    int32_t ScoreOf(int32_t row, int32_t col)
    {
        const auto near = game.NearPiece;
        const auto bounds = std::tuple(game.SearchMinRow, game.SearchMinCol, game.SearchMaxRow, game.SearchMaxCol);
        for (auto& r : game.NearPiece)
            r.fill(false);
        SearchArea(row, col, row, col);
        game.ChooseMove();
        game.NearPiece = near;
        std::tie(game.SearchMinRow, game.SearchMinCol, game.SearchMaxRow, game.SearchMaxCol) = bounds;
        return game.BestScore;
    }

    // Every window of five holds both colours; the holes lie five apart, so no
    // window holds two of them and nobody can win any more.
    std::vector<Cell> NoFivePossible(int32_t rowOffset, int32_t colOffset)
    {
        std::vector<Cell> holes;
        game.MoveCount = 0;
        for (int32_t r = 0; r < BoardSize; ++r) {
            for (int32_t c = 0; c < BoardSize; ++c) {
                if (r % 5 == rowOffset && c % 5 == colOffset) {
                    holes.push_back({r, c});
                } else {
                    game.SetBoard(r, c, (r + 2 * c) % 4 < 2 ? MarkX : MarkO);
                    ++game.MoveCount;
                }
            }
        }
        SearchArea();
        return holes;
    }
};

struct ComputerScoring : Position, ::testing::Test {};

TEST_F(ComputerScoring, AFourIsWorthItsWindowWeightToTheWinnerAndToTheBlocker)
{
    for (int32_t c = 5; c <= 8; ++c)
        game.SetBoard(5, c, MarkX);
    SearchArea();
    for (const auto& [mover, weights, expected] :
         {std::tuple(MarkX, MakeWeights({0, 0, 0, 0, 10000}, {}), 10000),
          std::tuple(MarkO, MakeWeights({}, {0, 0, 0, 0, 3000}), 3000)}) {
        game.NextMark = mover;
        game.SetWeights(weights);
        EXPECT_TRUE(game.ChooseMove().found);
        EXPECT_EQ(game.BestScore, expected);
        EXPECT_EQ(Collected(game), (std::vector<Cell>{{5, 4}, {5, 9}}));
    }
}

TEST_F(ComputerScoring, WindowsWithBothColoursAddNothingAndTheBonusComesWithEachWeight)
{
    // Along the row through (10, 11): one window with red only, one with blue
    // only, three with both; the fifteen windows of the other lines are empty.
    game.SetBoard(10, 10, MarkX);
    game.SetBoard(10, 12, MarkO);
    game.NextMark = MarkX;
    game.SetWeights(MakeWeights({0, 100, 0, 0, 0}, {0, 1, 0, 0, 0}));
    EXPECT_EQ(ScoreOf(10, 11), 101);
    game.SetWeights(MakeWeights({0, 100, 0, 0, 0}, {0, 1, 0, 0, 0}, 1000));
    EXPECT_EQ(ScoreOf(10, 11), 100 + 1000 + 1 + 1000 + 15 * 2 * 1000);
}

class ComputerWindowsOffTheBoard : public Position, public ::testing::TestWithParam<std::tuple<Cell, int32_t>> {};

TEST_P(ComputerWindowsOffTheBoard, AddNothing)
{
    game.SetWeights(MakeWeights({1, 0, 0, 0, 0}, {})); // each empty window on the board adds 1
    const auto [cell, windowsOnBoard] = GetParam();
    EXPECT_EQ(ScoreOf(cell.first, cell.second), windowsOnBoard);
}

INSTANTIATE_TEST_SUITE_P(Cells, ComputerWindowsOffTheBoard,
                         ::testing::Values(std::tuple(Cell{10, 10}, 20), std::tuple(Cell{4, 4}, 20),
                                           std::tuple(Cell{3, 3}, 15), std::tuple(Cell{2, 2}, 10),
                                           std::tuple(Cell{0, 10}, 8), std::tuple(Cell{19, 5}, 8),
                                           std::tuple(Cell{1, 18}, 6), std::tuple(Cell{0, 0}, 3),
                                           std::tuple(Cell{0, 19}, 3), std::tuple(Cell{19, 19}, 3)));

TEST(ComputerTies, EachIsPickedByItsOwnShareOfTheRandomRange)
{
    Position p;
    p.ClickCell(10, 10); // blue to move: the eight neighbours of the red piece tie
    p.game.ChooseMove();
    const std::vector<Cell> tied = Collected(p.game);
    ASSERT_EQ(tied.size(), 8u);
    for (size_t k = 0; k < tied.size(); ++k) {
        p.random.Push({(float(k) + 0.5f) / 8.0f});
        EXPECT_EQ(Chosen(p.game), tied[k]);
    }
    p.random.Push({0.0f, JustBelowOne});
    EXPECT_EQ(Chosen(p.game), tied.front());
    EXPECT_EQ(Chosen(p.game), tied.back());
}

struct LevelCase {
    const char* name;
    void (Game::*choose)();
};
const LevelCase Levels[] = {{"Stupid", &Game::Menu_Stupid_Click},
                            {"Easy", &Game::Menu_Easy_Click},
                            {"Medium", &Game::Menu_Normal_Click},
                            {"Hard", &Game::Menu_Hard_Click}};
const auto LevelName = [](const auto& info) { return std::string(info.param.name); };

class ComputerOpening : public Position, public ::testing::TestWithParam<LevelCase> {};

TEST_P(ComputerOpening, LandsInTheMiddleHalfOfTheBoardAtEveryLevel)
{
    (game.*GetParam().choose)();
    random.Push({0.0f, 0.0f, 0.0f, JustBelowOne, JustBelowOne, 0.0f});
    EXPECT_EQ(Chosen(game), Cell(5, 5));
    EXPECT_EQ(Chosen(game), Cell(14, 14));
    EXPECT_EQ(game.BestScore, 1);
    game.Menu_Autodraw_Click();
    ASSERT_EQ(game.MoveCount, 1);
    const auto [row, col] = Played(game);
    EXPECT_TRUE(row >= 5 && row <= 14 && col >= 5 && col <= 14) << row << "," << col;
}

INSTANTIATE_TEST_SUITE_P(Levels, ComputerOpening, ::testing::ValuesIn(Levels), LevelName);

struct ComputerRandomLevel : Position, ::testing::Test {
    ComputerRandomLevel()
    {
        game.Menu_Stupid_Click();
        game.Menu_New_Click();
        ClickCell(10, 10);
        ClickCell(12, 13); // the search area is rows 9..13, columns 9..14
    }
};

TEST_F(ComputerRandomLevel, PicksAnyEmptyCellNextToAPieceWithoutScoringAndRecordsScoreOne)
{
    // Drawn: occupied (10, 10), then (13, 9) next to no piece, then (11, 11).
    random.Push({0.3f, 0.25f, 0.9f, 0.08f, 0.5f, 0.42f, 0.0f});
    EXPECT_EQ(Chosen(game), Cell(11, 11));
    ASSERT_TRUE(random.script.empty());

    std::set<Cell> expected, seen;
    for (const Cell& piece : {Cell{10, 10}, Cell{12, 13}})
        for (int32_t r = piece.first - 1; r <= piece.first + 1; ++r)
            for (int32_t c = piece.second - 1; c <= piece.second + 1; ++c)
                if (game.Board(r, c) == Empty)
                    expected.insert({r, c});
    for (int i = 0; i < 2000; ++i) {
        EXPECT_EQ(game.ChooseMove().score, 1);
        seen.insert({game.BestCells[1][0], game.BestCells[1][1]});
    }
    EXPECT_EQ(seen, expected);
    game.Menu_Autodraw_Click();
    EXPECT_EQ(game.History[3][3], 1);
}

struct ComputerAfterItsMove : Position, ::testing::Test {};

TEST_F(ComputerAfterItsMove, GameOverMeansTheComputerChangesNothing)
{
    for (int32_t c = 0; c < 4; ++c) {
        ClickCell(0, c);
        ClickCell(1, c);
    }
    ClickCell(0, 4);
    ASSERT_TRUE(game.GameOver);
    game.ui.Enabled = false;
    game.ui.MousePointer = PointerHourglass;
    game.Enable(Menu_RejectUndo, true);
    const int draws = random.draws;
    game.ComputerMove();
    EXPECT_EQ(game.MoveCount, 9);
    EXPECT_FALSE(game.ui.Enabled);
    EXPECT_EQ(game.ui.MousePointer, PointerHourglass);
    EXPECT_TRUE(game.ui.Menu[Menu_RejectUndo].Enabled);
    EXPECT_EQ(random.draws, draws);
}

TEST(ComputerFastScorer, ChoosesExactlyThePlainScorersCellsOnThousandsOfRandomBoards)
{
    Position p;
    Game& game = p.game;
    std::mt19937 rng(2024);
    const auto below = [&rng](uint32_t n) { return int32_t(rng() % n); };
    for (int board = 0; board < 3000; ++board) {
        if (board % 25 == 0) // start again from an empty board, so every density occurs
            for (int32_t i = 0; i < CellCount; ++i)
                game.SetBoard(i / BoardSize, i % BoardSize, Empty);
        if (board % 50 == 0 && below(3) == 0)
            game.SetWeights(MakeWeights({below(5), below(50), below(90), below(900), below(20000)},
                                        {below(5), below(50), below(90), below(900), below(9000)}, below(4)));
        else if (board % 50 == 0)
            game.DrawWeights();
        // The same board keeps changing, so the counts are kept up in place.
        for (int32_t i = below(60); i > 0; --i)
            game.SetBoard(below(20), below(20), below(6) == 0 ? Empty : below(2) == 0 ? MarkX : MarkO);
        for (auto& row : game.NearPiece)
            for (auto& near : row)
                near = below(4) != 0;
        game.SearchMinRow = below(20);
        game.SearchMinCol = below(20);
        game.SearchMaxRow = game.SearchMinRow + below(uint32_t(20 - game.SearchMinRow));
        game.SearchMaxCol = game.SearchMinCol + below(uint32_t(20 - game.SearchMinCol));
        game.MoveCount = 1 + below(300);
        game.NextMark = below(2) == 0 ? MarkX : MarkO;

        const Best plain = PlainBest(game);
        ASSERT_EQ(game.ChooseMove().found, !plain.cells.empty()) << "board " << board;
        ASSERT_EQ(game.BestScore, plain.score) << "board " << board;
        ASSERT_EQ(Collected(game), plain.cells) << "board " << board;
    }
}

// Seeded numbers that give up when one move draws too many, so a computer that
// never finds its cell fails the test instead of hanging it.
class GuardedRandom final : public RandomSource {
public:
    explicit GuardedRandom(uint64_t seed) : numbers_(seed) {}
    void Randomize() override {}
    float Rnd() override
    {
        if (++drawsThisMove > 100000)
            throw std::runtime_error("the computer keeps drawing random numbers");
        return numbers_.Rnd();
    }
    int drawsThisMove = 0;

private:
    ClockRandom numbers_;
};

struct GuardedGame {
    explicit GuardedGame(uint64_t seed) : random(seed)
    {
        game.Form_Load();
        game.Form_Activate();
    }
    Globals globals;
    RecordingCanvas canvas;
    FakeHost host;
    GuardedRandom random;
    Game game{globals, canvas, host, random};
};

TEST(ComputerProperty, AlwaysPlaysABestEmptyCandidateThroughLevelChangesHumanMovesAndUndo)
{
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        GuardedGame g(seed);
        Game& game = g.game;
        std::mt19937 rng(seed);
        (game.*Levels[seed % 4].choose)();
        game.Menu_HumanHuman_Click();
        while (!game.GameOver) {
            const uint32_t action = rng() % 20;
            if (action == 0)
                (game.*Levels[rng() % 4].choose)();
            if (action == 1 && game.ui.Menu[Menu_Undo].Enabled) {
                game.Menu_Undo_Click();
                continue;
            }
            std::vector<Cell> empty;
            for (int32_t i = 0; i < CellCount; ++i)
                if (game.Board(i / BoardSize, i % BoardSize) == Empty)
                    empty.push_back({i / BoardSize, i % BoardSize});
            if (action == 2) { // a human move anywhere
                const Cell cell = empty[rng() % empty.size()];
                game.PlacePiece(cell.first, cell.second, 0);
                continue;
            }
            const int32_t moves = game.MoveCount;
            const auto near = game.NearPiece;
            const int32_t area[4] = {game.SearchMinRow, game.SearchMinCol, game.SearchMaxRow, game.SearchMaxCol};
            const bool scoring = moves > 0 && !game.Checked(Menu_Stupid);
            const Best plain = scoring ? PlainBest(game) : Best{};
            g.random.drawsThisMove = 0;
            game.Menu_Autodraw_Click();
            ASSERT_EQ(game.MoveCount, moves + 1) << "seed " << seed;
            const Cell cell = Played(game);
            EXPECT_NE(std::find(empty.begin(), empty.end(), cell), empty.end()) << "seed " << seed;
            if (moves > 0) {
                EXPECT_TRUE(near[size_t(cell.first)][size_t(cell.second)]);
                EXPECT_TRUE(cell.first >= area[0] && cell.second >= area[1]);
                EXPECT_TRUE(cell.first <= area[2] && cell.second <= area[3]);
            }
            if (scoring) {
                EXPECT_NE(std::find(plain.cells.begin(), plain.cells.end(), cell), plain.cells.end());
            }
            EXPECT_FALSE(game.ui.Menu[Menu_RejectUndo].Enabled);
            EXPECT_EQ(game.ui.MousePointer, PointerDefault);
            EXPECT_TRUE(game.ui.Enabled);
        }
    }
}

class ComputerNearlyFullBoard : public Position, public ::testing::TestWithParam<LevelCase> {};

TEST_P(ComputerNearlyFullBoard, WhereNobodyCanWinTheComputerStillFillsAHole)
{
    for (int32_t offset = 0; offset < 5; ++offset) {
        game.Menu_HumanHuman_Click();
        (game.*GetParam().choose)();
        const std::vector<Cell> holes = NoFivePossible(offset, offset * 3 % 5);
        ASSERT_FALSE(game.ErFemMulig());
        if (!game.Checked(Menu_Stupid)) {
            game.ChooseMove(); // every hole scores 0: all tie, in scan order
            EXPECT_EQ(game.BestScore, 0);
            EXPECT_EQ(Collected(game), holes);
        }
        game.Menu_Autodraw_Click();
        ASSERT_EQ(game.MoveCount, CellCount - 15);
        EXPECT_NE(std::find(holes.begin(), holes.end(), Played(game)), holes.end());
        EXPECT_TRUE(game.GameOver);
        EXPECT_EQ(globals.Score[3], offset + 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, ComputerNearlyFullBoard, ::testing::ValuesIn(Levels), LevelName);

} // namespace
} // namespace brindle::testing
