// Master and the other engine as the game sees them: a thinker that is asked,
// answers later through the one way in, and may misbehave.

#include <gtest/gtest.h>

#include "support/fake_transport.h"
#include "support/fakes.h"

namespace brindle::testing {
namespace {

// Keeps every question; the test answers them by hand.
class HandThinker final : public Thinker {
public:
    void ask(const Question& question, std::function<void(const Answer&)> answer) override
    {
        questions.push_back(question);
        answer_ = std::move(answer);
    }
    void cancel() override { ++cancels; }
    std::string name(bool otherEngine) const override { return otherEngine ? "Fake 1.0" : "Master"; }

    // The answer to the last question, handed in as the window's event loop would.
    void reply(int row, int col, std::string failure = {})
    {
        Answer a;
        a.row = row, a.col = col, a.failure = std::move(failure);
        ASSERT_TRUE(answer_) << "no question is open";
        answer_(a);
    }

    std::vector<Question> questions;
    int cancels = 0;

private:
    std::function<void(const Answer&)> answer_;
};

struct Thinking : FakeWorld, ::testing::Test {
    Thinking() : game(globals, portsWithThinker()) { bindViewCommands(game); }
    Ports portsWithThinker()
    {
        Ports p = ports(peer);
        p.thinker = &thinker;
        p.dialogs = &dialogs;
        return p;
    }
    const GameState& s() const { return game.state(); }
    void startAtMaster(char starter = 'H')
    {
        startUp(game, random, starter);
        game.command(Menu_Master);
    }

    HandThinker thinker;
    RecordingDialogs dialogs;
    RecordingPeer peer;
    Game game;
};

TEST_F(Thinking, MasterIsAskedWithTheMovesSoFarAndItsAnswerIsPlayedWhileTheBoardRefusesClicks)
{
    startAtMaster();
    clickCell(game, 9, 9);
    ASSERT_EQ(thinker.questions.size(), 1u);
    EXPECT_EQ(thinker.questions[0].moves, (std::vector<std::array<int32_t, 2>>{{9, 9}}));
    EXPECT_FALSE(thinker.questions[0].otherEngine);
    EXPECT_TRUE(game.thinking() && game.ui.MousePointer == PointerHourglass && game.ui.Enabled)
        << "the window stays live while Master thinks";
    clickCell(game, 3, 3);
    EXPECT_EQ(game.Board(3, 3), Empty) << "a click while the computer thinks plays nothing";

    thinker.reply(10, 10);
    EXPECT_TRUE(game.Board(10, 10) == MarkO && s().MoveCount == 2 && !game.thinking());
    EXPECT_TRUE(game.ui.MousePointer == PointerDefault && game.ui.Menu[Menu_Undo].Enabled);
    EXPECT_EQ(game.ui.lblHvisTur.BackColor, Red) << "the human's turn again";

    // Master opens when the toss gives it the first move.
    random.push({0.75f}), game.command(Menu_New);
    ASSERT_EQ(thinker.questions.size(), 2u);
    EXPECT_TRUE(thinker.questions[1].moves.empty() && game.thinking());
}

TEST_F(Thinking, AnAnswerForABoardThatHasChangedIsDropped)
{
    startAtMaster();
    clickCell(game, 9, 9);
    random.push({0.25f}), game.command(Menu_New);
    EXPECT_GE(thinker.cancels, 1);
    EXPECT_FALSE(game.thinking());
    thinker.reply(10, 10);
    EXPECT_EQ(s().MoveCount, 0) << "the old game's answer";

    // Undo while Master thinks takes back the move it was thinking about.
    clickCell(game, 9, 9), thinker.reply(10, 10), clickCell(game, 8, 8);
    ASSERT_TRUE(game.thinking());
    game.command(Menu_Undo);
    EXPECT_TRUE(s().MoveCount == 2 && game.Board(8, 8) == Empty && !game.thinking());
    EXPECT_EQ(game.ui.lblHvisTur.BackColor, Red) << "the human moves again";
    thinker.reply(11, 11);
    EXPECT_EQ(game.Board(11, 11), Empty);

    // Autodraw plays the human's side through Master too, and is ignored while it thinks.
    const size_t asked = thinker.questions.size();
    game.command(Menu_Autodraw), game.command(Menu_Autodraw);
    EXPECT_EQ(thinker.questions.size(), asked + 1);
    thinker.reply(0, 7);
    EXPECT_TRUE(game.Board(0, 7) == MarkX && game.thinking()) << "and then Master answers itself";
}

TEST_F(Thinking, ComputerAgainstComputerChainsAnswersArmsTheNextGameAndStopsMidThought)
{
    startAtMaster();
    game.command(Menu_ComputerComputer);
    for (int k = 0; k < 4; ++k) {
        ASSERT_EQ(thinker.questions.size(), size_t(k * 2 + 1));
        thinker.reply(5, k); // red's row
        thinker.reply(6, k);
    }
    thinker.reply(5, 4);
    EXPECT_TRUE(s().GameOver && game.ui.Timer3.Enabled && game.ui.Timer3.Interval == 1000) << "red's five";

    game.timerFired(3);
    ASSERT_TRUE(game.thinking());
    const size_t asked = thinker.questions.size();
    game.command(Menu_Stop);
    EXPECT_TRUE(!game.thinking() && s().Stopped && !game.ui.Timer3.Enabled);
    thinker.reply(9, 9);
    EXPECT_TRUE(s().MoveCount == 0 && thinker.questions.size() == asked) << "no move after Stop";
}

struct Misbehaviour {
    int row, col;
    std::string failure, message;
};

TEST_F(Thinking, AMisbehavingEngineStopsTheGameWithTheBoardAsItWasAndHardTakesOver)
{
    const Misbehaviour cases[] = {
        {-1, -1, "exited.", "The engine Fake 1.0 exited."},
        {20, 3, "", "The engine Fake 1.0 played off the board (row 21, column 4)."},
        {9, 9, "", "The engine Fake 1.0 played on a taken cell (row 10, column 10)."},
    };
    startUp(game, random, 'H');
    for (const Misbehaviour& m : cases) {
        dialogs.boxes.clear();
        game.otherEngineChosen();
        random.push({0.25f}), game.command(Menu_New);
        clickCell(game, 9, 9);
        ASSERT_TRUE(thinker.questions.back().otherEngine);
        thinker.reply(m.row, m.col, m.failure);
        EXPECT_TRUE(s().GameOver && s().MoveCount == 1 && game.Board(9, 9) == MarkX) << m.message;
        EXPECT_FALSE(game.clock().running()) << m.message;
        EXPECT_TRUE(game.checked(Menu_Hard) && !game.checked(Menu_OtherEngine)) << m.message;
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].rfind("Brindle (i): " + m.message, 0), 0u) << dialogs.boxes[0];
    }

    // In automatic play the menus come back as after Stop.
    game.otherEngineChosen();
    game.command(Menu_ComputerComputer);
    thinker.reply(0, 0, "answered late: no move within 1300 ms.");
    EXPECT_TRUE(s().Stopped && game.ui.Menu[Menu_Game].Visible && !game.ui.Menu[Menu_Stop].Visible);
}

TEST(WithoutAThinker, MasterPlaysAsHardDoes)
{
    GameFixture master, hard;
    for (GameFixture* f : {&master, &hard}) {
        f->random.fallback = ClockRandom{77};
        f->startUp('C');
        f->choose(Menu_HumanComputer);
    }
    master.choose(Menu_Master);
    EXPECT_TRUE(master.game.checked(Menu_Master) && !master.game.checked(Menu_Hard));
    EXPECT_EQ(master.s().History[1], hard.s().History[1]);
    EXPECT_EQ(master.game.ui.MousePointer, PointerDefault);
}

} // namespace
} // namespace brindle::testing
