// Starting games: the wipe, the menus after a new game, the coin toss, play
// against the computer, automatic play with Stop, and Autodraw.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/fakes.h"

namespace brindle::testing {
namespace {

bool MenuBarShows(const Game& game, bool topMenus, bool stop)
{
    bool same = game.ui.Menu[Menu_Stop].Visible == stop;
    for (MenuId top : {Menu_Game, Menu_Players, Menu_Computer, Menu_Helpmenu})
        same = same && game.ui.Menu[top].Visible == topMenus;
    return same;
}
bool OnlyStop(const Game& game) { return MenuBarShows(game, false, true); }
bool NormalMenus(const Game& game) { return MenuBarShows(game, true, false); }

int32_t GamesCounted(const Globals& g) { return g.Score[1] + g.Score[2] + g.Score[3]; }

std::string Column(const Game& game, int32_t col)
{
    std::string cells;
    for (int32_t r = 0; r < BoardSize; ++r)
        cells += game.Board(r, col);
    return cells;
}

TEST(ControlNewGame, WipeSweepsABarAColumnPerEventPassAndLeavesEveryCellBlank)
{
    GameFixture f;
    f.StartHumanHuman();
    for (int32_t c = 0; c < 6; ++c)
        f.ClickCell(c, c);
    int column = 0;
    f.host.DuringPassesUntil([&f, &column] {
        ++column;
        EXPECT_EQ(Column(f.game, column - 1), std::string(20, WipeTrail)) << column;
        const std::string bar = column < BoardSize ? Column(f.game, column) : std::string(20, WipeBar);
        EXPECT_EQ(bar, std::string(20, WipeBar)) << column;
        EXPECT_FALSE(f.game.ui.Enabled);
        EXPECT_FALSE(f.canvas.PersistentDrawing());
        return column == BoardSize;
    });
    f.canvas.ops.clear();
    const int paused = f.host.pausedMilliseconds;
    f.game.Menu_New_Click();

    EXPECT_EQ(column, 20);
    EXPECT_EQ(f.host.pausedMilliseconds - paused, 20 * 15);
    int magenta = 0;
    for (const CanvasOp& op : f.canvas.Fills()) {
        magenta += op.colour == Magenta;
        EXPECT_TRUE(op.colour != Magenta || op.x1 > 2 * f.game.CellWidth) << "column 0 is never magenta";
    }
    EXPECT_EQ(magenta, 19 * 20);
    for (int32_t c = 0; c < BoardSize; ++c)
        EXPECT_EQ(Column(f.game, c), std::string(20, Empty));
    EXPECT_TRUE(f.game.ui.Enabled);
    EXPECT_TRUE(f.canvas.PersistentDrawing());
}

struct StartCase {
    const char* name;
    std::function<void(GameFixture&)> start;
};

class ControlMenusAfterNewGame : public GameFixture, public ::testing::TestWithParam<StartCase> {};

TEST_P(ControlMenusAfterNewGame, OfferNewAndAutodrawButNoUndo)
{
    StartHumanHuman();
    for (int32_t c = 0; c < 5; ++c) {
        ClickCell(0, c);
        ClickCell(1, c);
    }
    game.Menu_Undo_Click(); // both undo items enabled now
    GetParam().start(*this);
    EXPECT_TRUE(game.ui.Menu[Menu_New].Enabled && game.ui.Menu[Menu_Autodraw].Enabled);
    EXPECT_FALSE(game.ui.Menu[Menu_Undo].Enabled || game.ui.Menu[Menu_RejectUndo].Enabled);
    EXPECT_FALSE(game.ui.Menu[Menu_Send].Enabled);
    EXPECT_TRUE(NormalMenus(game));
    EXPECT_EQ(game.ui.txtMoves.Caption, "");
    for (const Control* c : {&game.ui.lblHvisTur, &game.ui.lblPlacer, &game.ui.txtTime, &game.ui.lblTraek,
                             &game.ui.lblComp})
        EXPECT_TRUE(c->Visible);
}

INSTANTIATE_TEST_SUITE_P(
    Starts, ControlMenusAfterNewGame,
    ::testing::Values(StartCase{"NewGame", [](GameFixture& f) { f.game.Menu_New_Click(); }},
                      StartCase{"AfterStoppedAutomaticPlay", [](GameFixture& f) {
                                    f.game.Menu_ComputerComputer_Click();
                                    f.game.Menu_Stop_Click();
                                    f.random.Push({0.25f});
                                    f.game.Menu_HumanComputer_Click();
                                }}),
    [](const auto& info) { return std::string(info.param.name); });

struct TossCase {
    float rnd;
    bool sound;
    char starter;
    std::vector<std::string> sounds;
};

class ControlCoinToss : public GameFixture, public ::testing::TestWithParam<TossCase> {};

TEST_P(ControlCoinToss, AtEachNewGameDecidesWhoOpensAndAnnouncesItOnlyWithSoundOn)
{
    const TossCase& t = GetParam();
    StartUp(t.starter == 'H' ? 'C' : 'H'); // the previous game's toss does not matter
    if (!t.sound)
        game.Menu_Sound_Click();
    host.sounds.clear();
    random.Push({t.rnd});
    game.Menu_HumanComputer_Click();
    EXPECT_EQ(game.Starter, t.starter);
    EXPECT_EQ(host.sounds, t.sounds);
    if (t.starter == 'H') {
        EXPECT_EQ(game.MoveCount, 0) << "the computer waits for the human";
        return;
    }
    ASSERT_EQ(game.MoveCount, 1);
    EXPECT_EQ(game.NextMark, MarkO);
    const int32_t row = game.History[1][1], col = game.History[1][2];
    EXPECT_EQ(game.Board(row, col), MarkX);
    EXPECT_TRUE(row >= 5 && row <= 14 && col >= 5 && col <= 14) << row << "," << col;
}

INSTANTIATE_TEST_SUITE_P(Tosses, ControlCoinToss,
                         ::testing::Values(TossCase{0.0f, true, 'H', {"YouStart.wav"}},
                                           TossCase{0.4999f, true, 'H', {"YouStart.wav"}},
                                           TossCase{0.5f, true, 'C', {"CpuStart.wav"}},
                                           TossCase{0.99f, true, 'C', {"CpuStart.wav"}},
                                           TossCase{0.25f, false, 'H', {}}, TossCase{0.75f, false, 'C', {}}));

struct ControlHumanVsComputer : GameFixture, ::testing::Test {
    ControlHumanVsComputer() { StartUp('H'); }
};

TEST_F(ControlHumanVsComputer, TheComputerRepliesWithinTheSameClickAndUndoTakesBothBack)
{
    std::vector<std::pair<bool, int32_t>> passes; // window enabled, pointer
    host.DuringPassesUntil([this, &passes] {
        passes.push_back({game.ui.Enabled, game.ui.MousePointer});
        return false;
    });
    ClickCell(9, 9);
    ASSERT_EQ(game.MoveCount, 2);
    const int32_t replyRow = game.History[2][1], replyCol = game.History[2][2];
    EXPECT_EQ(game.Board(replyRow, replyCol), MarkO);
    EXPECT_GT(game.History[2][3], 0) << "the computer's move carries its score";
    EXPECT_EQ(passes, (std::vector<std::pair<bool, int32_t>>{{true, PointerDefault}, {false, PointerHourglass}}));
    EXPECT_TRUE(game.ui.Enabled);
    EXPECT_EQ(game.ui.MousePointer, PointerDefault);

    game.Menu_Undo_Click();
    EXPECT_EQ(game.MoveCount, 0);
    EXPECT_EQ(game.Board(9, 9), Empty);
    EXPECT_EQ(game.Board(replyRow, replyCol), Empty);
    EXPECT_EQ(game.NextMark, MarkX);
    EXPECT_FALSE(game.ui.Menu[Menu_Undo].Enabled);
}

struct ControlAutomaticPlay : GameFixture, ::testing::Test {
    ControlAutomaticPlay() { StartUp('H'); }

    // Chooses Stop in the event pass after the given move of the running game.
    void StopAfterMove(int32_t move)
    {
        host.DuringPassesUntil([this, move] {
            if (game.MoveCount < move)
                return false;
            game.Menu_Stop_Click();
            return true;
        });
    }
};

TEST_F(ControlAutomaticPlay, PlaysGameAfterGameOneTimerTickApartWithOnlyStopOnTheMenuBar)
{
    bool onlyStop = true, enabled = true;
    int paused = host.pausedMilliseconds;
    host.DuringPassesUntil([&] {
        const bool move = host.pausedMilliseconds == paused; // not a column of the wipe
        paused = host.pausedMilliseconds;
        onlyStop = onlyStop && (!move || OnlyStop(game));
        enabled = enabled && (!move || game.ui.Enabled);
        return false;
    });
    game.Menu_ComputerComputer_Click();
    for (int32_t games = 1; games <= 3; ++games) {
        EXPECT_TRUE(game.GameOver);
        EXPECT_GE(game.MoveCount, 9);
        EXPECT_EQ(GamesCounted(globals), games);
        EXPECT_TRUE(game.ui.Timer3.Enabled && game.ui.Timer3.Interval == 1000) << "the one-second pause";
        EXPECT_TRUE(OnlyStop(game));
        TimerState atWipe;
        host.DuringNextPass([this, &atWipe] { atWipe = game.ui.Timer3; });
        game.Timer3_Timer();
        EXPECT_FALSE(atWipe.Enabled || atWipe.Interval != 0) << "the tick turns the timer off";
    }
    EXPECT_TRUE(onlyStop);
    EXPECT_TRUE(enabled) << "the window stays enabled while the computers play";
}

TEST_F(ControlAutomaticPlay, StopInTheMiddleOfAGamePlacesNothingMoreAndSchedulesNothingUntilNewGame)
{
    StopAfterMove(6);
    game.Menu_ComputerComputer_Click();
    EXPECT_EQ(game.MoveCount, 6);
    EXPECT_TRUE(game.GameOver && game.Stopped);
    EXPECT_FALSE(game.ui.Timer3.Enabled || game.ui.Timer3.Interval != 0);
    EXPECT_FALSE(game.ui.Timer1.Enabled);
    EXPECT_EQ(GamesCounted(globals), 0);
    EXPECT_TRUE(NormalMenus(game));
    EXPECT_TRUE(game.Checked(Menu_ComputerComputer));
    game.Menu_Autodraw_Click();
    EXPECT_EQ(game.MoveCount, 6) << "the stopped game takes no further move";

    game.Menu_New_Click();
    EXPECT_FALSE(game.Stopped);
    EXPECT_EQ(GamesCounted(globals), 1);
    EXPECT_TRUE(game.ui.Timer3.Enabled);
    EXPECT_TRUE(OnlyStop(game));
}

TEST_F(ControlAutomaticPlay, StopDuringThePauseCancelsTheNextGame)
{
    game.Menu_ComputerComputer_Click();
    const int32_t moves = game.MoveCount;
    game.Menu_Stop_Click();
    EXPECT_FALSE(game.ui.Timer3.Enabled || game.ui.Timer3.Interval != 0);
    EXPECT_TRUE(NormalMenus(game));
    EXPECT_TRUE(game.Checked(Menu_ComputerComputer));
    EXPECT_EQ(game.MoveCount, moves) << "the board keeps the last position";
    EXPECT_EQ(GamesCounted(globals), 1);
}

struct ControlAutodraw : GameFixture, ::testing::Test {};

TEST_F(ControlAutodraw, InHumanVsHumanPlaysExactlyOneMoveAndPassesTheTurn)
{
    StartHumanHuman();
    ClickCell(9, 9);
    game.Menu_Autodraw_Click();
    EXPECT_EQ(game.MoveCount, 2);
    EXPECT_EQ(game.ui.lblHvisTur.BackColor, Red);
    ClickCell(0, 0);
    EXPECT_EQ(game.Board(0, 0), MarkX) << "the human opponent moves next";
}

TEST_F(ControlAutodraw, ASecondAutodrawWhileTheFirstRunsDoesNothing)
{
    StartHumanHuman();
    host.DuringNextPass([this] { game.Menu_Autodraw_Click(); });
    game.Menu_Autodraw_Click();
    EXPECT_EQ(game.MoveCount, 1);
    game.Menu_Autodraw_Click();
    EXPECT_EQ(game.MoveCount, 2) << "once the first is done, Autodraw works again";
}

TEST_F(ControlAutodraw, AfterTheGameEndedPlacesNothing)
{
    StartHumanHuman();
    for (int32_t c = 0; c < 4; ++c) {
        ClickCell(5, c);
        ClickCell(6, c);
    }
    ClickCell(5, 4);
    ASSERT_TRUE(game.GameOver);
    game.Menu_Autodraw_Click();
    EXPECT_EQ(game.MoveCount, 9);
}

} // namespace
} // namespace brindle::testing
