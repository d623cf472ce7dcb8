// The computer's skill levels and the weight tables drawn for every game.

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "support/fakes.h"

namespace brindle::testing {
namespace {

struct LevelCase {
    const char* name;
    void (Game::*choose)();
    MenuId item;
    int32_t margin;
};
const LevelCase Levels[] = {{"Stupid", &Game::Menu_Stupid_Click, Menu_Stupid, 1},
                            {"Easy", &Game::Menu_Easy_Click, Menu_Easy, 2},
                            {"Medium", &Game::Menu_Normal_Click, Menu_Normal, 3},
                            {"Hard", &Game::Menu_Hard_Click, Menu_Hard, 4}};

int CheckedLevels(const Game& game)
{
    int n = 0;
    for (const LevelCase& level : Levels)
        n += game.Checked(level.item) ? 1 : 0;
    return n;
}

bool Near(const Game& game, int32_t row, int32_t col) { return game.NearPiece[size_t(row)][size_t(col)]; }

TEST(LevelAtStartUp, IsHardWithItsMargin)
{
    GameFixture f;
    f.StartUp('H');
    EXPECT_TRUE(f.game.Checked(Menu_Hard));
    EXPECT_EQ(CheckedLevels(f.game), 1);
    EXPECT_EQ(f.game.SearchMargin, 4);
}

class LevelItem : public GameFixture, public ::testing::TestWithParam<LevelCase> {
protected:
    void SetUp() override { StartHumanHuman(); }
};

TEST_P(LevelItem, ChecksOnlyItselfSetsItsMarginAndLastsUntilChanged)
{
    ClickCell(9, 9);
    for (const LevelCase& before : Levels) {
        (game.*before.choose)();
        (game.*GetParam().choose)();
        EXPECT_TRUE(game.Checked(GetParam().item)) << "after " << before.name;
        EXPECT_EQ(CheckedLevels(game), 1) << "after " << before.name;
        EXPECT_EQ(game.SearchMargin, GetParam().margin) << "after " << before.name;
    }
    EXPECT_EQ(game.MoveCount, 1) << "a level change does not start a new game";
    game.Menu_New_Click();
    game.Menu_HumanComputer_Click();
    EXPECT_TRUE(game.Checked(GetParam().item));
    EXPECT_EQ(game.SearchMargin, GetParam().margin);
}

INSTANTIATE_TEST_SUITE_P(Levels, LevelItem, ::testing::ValuesIn(Levels),
                         [](const auto& info) { return std::string(info.param.name); });

struct LevelChangeMidGame : GameFixture, ::testing::Test {
    LevelChangeMidGame()
    {
        StartHumanHuman(); // at Hard
        ClickCell(10, 10);
    }
};

TEST_F(LevelChangeMidGame, KeepsEarlierMarksAndNarrowsTheSearchFromTheNextMove)
{
    game.Menu_Easy_Click();
    EXPECT_EQ(game.SearchMaxRow, 14);
    ClickCell(0, 0);
    EXPECT_TRUE(Near(game, 14, 14) && Near(game, 6, 6)) << "marks made at Hard stay";
    EXPECT_TRUE(Near(game, 2, 2));
    EXPECT_FALSE(Near(game, 3, 3) || Near(game, 0, 3)) << "the new piece marks only within 2";
    EXPECT_EQ(game.SearchMaxRow, 12);
    EXPECT_EQ(game.SearchMaxCol, 12);

    // Stupid plays at random from the very next move, over every marked cell:
    // (6, 6), marked at Hard and inside the rectangle, is still a candidate;
    // (14, 14) is marked too but outside it now.
    game.Menu_Stupid_Click();
    std::set<std::pair<int32_t, int32_t>> chosen;
    for (int i = 0; i < 3000; ++i) {
        const Game::Choice choice = game.ChooseMove();
        chosen.insert({choice.row, choice.col});
        ASSERT_EQ(choice.score, 1);
        ASSERT_TRUE(choice.row <= 12 && choice.col <= 12) << choice.row << "," << choice.col;
    }
    EXPECT_TRUE(chosen.count({6, 6}));
    game.Menu_Normal_Click();
    EXPECT_GT(game.ChooseMove().score, 1) << "and back to scoring from the very next move";
}

struct LevelWeights : GameFixture, ::testing::Test {
    LevelWeights() { StartHumanHuman(); }
};

TEST_F(LevelWeights, TakeTheirRandomEntriesInOrderFromTwoReseeds)
{
    random.Push({0.0f, 0.99999994f, 0.99999994f, 0.0f});
    const int reseeds = random.randomizes;
    game.DrawWeights();
    EXPECT_EQ(game.CurrentWeights().Own, (std::array<int32_t, 5>{0, 8, 27, 400, 10000}));
    EXPECT_EQ(game.CurrentWeights().Opp, (std::array<int32_t, 5>{0, 7, 20, 140, 3000}));
    EXPECT_EQ(game.CurrentWeights().Bonus, 0);
    EXPECT_EQ(random.randomizes - reseeds, 2);
}

TEST_F(LevelWeights, VaryAcrossGamesOverTheirWholeRangesWhileTheOtherEntriesStay)
{
    std::set<int32_t> own1, own2, opp1, opp2;
    for (int g = 0; g < 300; ++g) {
        game.Menu_New_Click();
        const Weights& w = game.CurrentWeights();
        own1.insert(w.Own[1]);
        own2.insert(w.Own[2]);
        opp1.insert(w.Opp[1]);
        opp2.insert(w.Opp[2]);
        ASSERT_TRUE(w.Own[0] == 0 && w.Own[3] == 400 && w.Own[4] == 10000 && w.Bonus == 0);
        ASSERT_TRUE(w.Opp[0] == 0 && w.Opp[3] == 140 && w.Opp[4] == 3000);
    }
    EXPECT_EQ(own1, (std::set<int32_t>{8, 9, 10, 11}));
    EXPECT_EQ(own2, (std::set<int32_t>{18, 19, 20, 21, 22, 23, 24, 25, 26, 27}));
    EXPECT_EQ(opp1, (std::set<int32_t>{4, 5, 6, 7}));
    EXPECT_EQ(opp2, (std::set<int32_t>{20, 21, 22, 23, 24, 25, 26, 27, 28, 29}));
}

} // namespace
} // namespace brindle::testing
