// Master and the other engine as the game sees them: a thinker that is asked,
// answers later through the one way in, and may misbehave.

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace brindle::testing {
namespace {

// Keeps every question; the test answers the last one by hand, as the window's event loop would.
struct HandThinker final : Thinker {
    void ask(const Question& question, std::function<void(const Answer&)> answer) override
    {
        questions.push_back(question), answer_ = std::move(answer);
    }
    void cancel() override { ++cancels; }
    std::string name(bool otherEngine) const override { return otherEngine ? "Fake 1.0" : "Master"; }
    void reply(int row, int col, std::string failure = {}, std::string verdict = {})
    {
        answer_({row, col, 0, std::move(failure), std::move(verdict)});
    }

    std::vector<Question> questions;
    int cancels = 0;
    std::function<void(const Answer&)> answer_;
};

struct Thinking : ::testing::Test, GameFixture {
    Thinking() : GameFixture(&thinker) {}
    void startAtMaster() { startUp(), choose(Menu_Master); }
    HandThinker thinker;
};

TEST_F(Thinking, MasterIsAskedWithTheMovesSoFarAndItsAnswerIsPlayedWhileTheBoardRefusesClicks)
{
    startAtMaster();
    clickCell(9, 9);
    ASSERT_EQ(thinker.questions.size(), 1u);
    EXPECT_EQ(thinker.questions[0].moves, (std::vector<std::array<int32_t, 2>>{{9, 9}}));
    EXPECT_FALSE(thinker.questions[0].otherEngine);
    EXPECT_TRUE(game.thinking());
    EXPECT_EQ(shown(), "Blue's turn. Moves: 1 | Red: 0 - Blue: 0, Draw: 0 | hourglass clock") << "the window stays live";
    clickCell(3, 3);
    EXPECT_EQ(game.Board(3, 3), Empty) << "a click while the computer thinks plays nothing";
    thinker.reply(10, 10);
    EXPECT_TRUE(game.Board(10, 10) == MarkO && !game.thinking());
    EXPECT_EQ(shown(), "Red's turn. Moves: 2 | Red: 0 - Blue: 0, Draw: 0 | Undo clock");
    random.push({0.75f}), choose(Menu_New); // Master opens when the toss gives it the first move
    ASSERT_EQ(thinker.questions.size(), 2u);
    EXPECT_TRUE(thinker.questions[1].moves.empty() && game.thinking());
}

TEST_F(Thinking, AStepOfStrengthIsAskedForAndNamedInTheRecordAndTheKeptGame)
{
    startUp();
    game.setStrength(7);
    EXPECT_TRUE(game.checked(Menu_Hard) && !game.checked(Menu_Strength)) << "setting a step alone chooses nothing";
    game.chooseStrength(5);
    EXPECT_TRUE(game.checked(Menu_Strength) && !game.checked(Menu_Hard) && game.strength() == 5);
    clickCell(9, 9);
    ASSERT_EQ(thinker.questions.size(), 1u) << "a step is played by the thinker, as Master is";
    EXPECT_EQ(thinker.questions[0].strength, 5);
    thinker.reply(10, 10);
    const record::Record r = game.record("2026-12-09");
    EXPECT_EQ(r.red, "Human");
    EXPECT_EQ(r.blue, "Computer (Strength 5)");
    game.keepUnfinished();
    EXPECT_NE(kept.text.find("BRLEVEL[Strength 5]"), std::string::npos) << kept.text;
    // Steps out of range are the nearest one; Master asks for no step.
    game.chooseStrength(12);
    EXPECT_EQ(game.strength(), 8);
    choose(Menu_Master), clickCell(3, 3);
    ASSERT_EQ(thinker.questions.size(), 2u);
    EXPECT_EQ(thinker.questions[1].strength, 0);
    EXPECT_FALSE(game.checked(Menu_Strength));
}

TEST_F(Thinking, AnAnswerForABoardThatHasChangedIsDropped)
{
    startAtMaster();
    clickCell(9, 9);
    random.push({0.25f}), choose(Menu_New);
    EXPECT_TRUE(thinker.cancels >= 1 && !game.thinking());
    thinker.reply(10, 10);
    EXPECT_EQ(s().MoveCount, 0) << "the old game's answer";
    // Undo while Master thinks takes back the move it was thinking about.
    clickCell(9, 9), thinker.reply(10, 10), clickCell(8, 8);
    ASSERT_TRUE(game.thinking());
    choose(Menu_Undo);
    EXPECT_TRUE(game.Board(8, 8) == Empty && !game.thinking());
    EXPECT_EQ(shown(), "Red's turn. Moves: 2 | Red: 0 - Blue: 0, Draw: 0 | Undo RejectUndo clock") << "the human moves again";
    thinker.reply(11, 11);
    EXPECT_EQ(game.Board(11, 11), Empty);
    // Autodraw plays the human's side through Master too, and is ignored while it thinks.
    const size_t asked = thinker.questions.size();
    choose(Menu_Autodraw), choose(Menu_Autodraw);
    EXPECT_EQ(thinker.questions.size(), asked + 1);
    thinker.reply(0, 7);
    EXPECT_TRUE(game.Board(0, 7) == MarkX && game.thinking()) << "and then Master answers itself";
}

TEST_F(Thinking, ComputerAgainstComputerChainsAnswersArmsTheNextGameAndStopsMidThought)
{
    startAtMaster();
    choose(Menu_ComputerComputer);
    for (int k = 0; k < 9; ++k)
        thinker.reply(5 + k % 2, k / 2); // red's five on row 5
    EXPECT_EQ(thinker.questions.size(), 9u);
    EXPECT_TRUE(s().GameOver && shown().ends_with("next game only Stop")) << "red's five";
    game.timerFired(3);
    ASSERT_TRUE(game.thinking());
    choose(Menu_Stop);
    EXPECT_TRUE(!game.thinking() && s().Stopped && !game.ui.Timer3.Enabled);
    thinker.reply(9, 9);
    EXPECT_TRUE(s().MoveCount == 0 && thinker.questions.size() == 10u) << "no move after Stop";
}

TEST_F(Thinking, AMisbehavingEngineStopsTheGameWithTheBoardAsItWasAndHardTakesOver)
{
    startUp();
    for (const auto& [row, col, failure, message] :
         {std::tuple(-1, -1, "exited.", "The engine Fake 1.0 exited."),
          {20, 3, "", "The engine Fake 1.0 played off the board (row 21, column 4)."},
          {9, 9, "", "The engine Fake 1.0 played on a taken cell (row 10, column 10)."}}) {
        dialogs.boxes.clear();
        game.otherEngineChosen();
        random.push({0.25f}), choose(Menu_New), clickCell(9, 9);
        ASSERT_TRUE(thinker.questions.back().otherEngine);
        thinker.reply(row, col, failure);
        EXPECT_EQ(shown(), "Blue's turn. Moves: 1 | Red: 0 - Blue: 0, Draw: 0 |") << message;
        EXPECT_TRUE(s().GameOver && game.Board(9, 9) == MarkX && game.checked(Menu_Hard) && !game.checked(Menu_OtherEngine));
        EXPECT_EQ(dialogs.boxes, std::vector<std::string>{std::string("Brindle (i): ") + message +
                                                          "\r\nThe game stops here; the computer plays at Hard from now on."});
    }
    // In automatic play the menus come back as after Stop.
    game.otherEngineChosen();
    choose(Menu_ComputerComputer);
    thinker.reply(0, 0, "answered late: no move within 1300 ms.");
    EXPECT_TRUE(s().Stopped && shown().ends_with(" |")) << "no clock, no next game, every menu but Stop";
}

TEST_F(Thinking, AHintIsMarkedAndSaidUntilTheNextMoveAndGreyedWhereItWouldNotBeFair)
{
    const auto items = [this] {
        game.showAdviceItems();
        return std::string(enabled(Menu_Hint) ? "Hint " : "") + (enabled(Menu_Analysis) ? "Analysis " : "") +
               (enabled(Menu_Review) ? "Review" : "");
    };
    startHumanHuman();
    EXPECT_EQ(items(), "Hint Analysis ") << "nothing to review yet";
    clickCell(9, 9);
    ASSERT_TRUE(choose(Menu_Hint));
    ASSERT_EQ(thinker.questions.size(), 1u);
    EXPECT_TRUE(thinker.questions[0].hint && !thinker.questions[0].otherEngine);
    EXPECT_EQ(thinker.questions[0].moves, (std::vector<std::array<int32_t, 2>>{{9, 9}}));
    EXPECT_EQ(items(), "Analysis Review") << "one hint at a time";
    thinker.reply(10, 11, "", "Blue wins in 4 moves");
    const HintMark& hint = game.ui.hint;
    EXPECT_TRUE(hint.Shown && hint.Row == 10 && hint.Col == 11 && hint.verdict == "Blue wins in 4 moves");
    EXPECT_TRUE(game.ui.cursor.Shown && game.ui.cursor.Row == 10 && game.ui.cursor.Col == 11) << "Enter plays the hint";
    EXPECT_EQ(game.ui.spoken, "Hint: row 11, column 12. Blue wins in 4 moves");
    EXPECT_EQ(items(), "Hint Analysis Review");
    clickCell(3, 3);
    EXPECT_FALSE(hint.Shown) << "the next move takes the mark away";
    // A hint for a board that has changed, or a failed one, shows nothing.
    choose(Menu_Hint), clickCell(4, 4), thinker.reply(5, 5);
    EXPECT_FALSE(hint.Shown);
    choose(Menu_Hint);
    const auto stale = thinker.answer_;
    clickCell(4, 5), choose(Menu_Hint);
    stale({5, 5, 0, "", ""});
    EXPECT_FALSE(hint.Shown) << "the answer to a hint asked before the last move";
    EXPECT_FALSE(hint.Shown);
    choose(Menu_Hint), thinker.reply(4, 4);
    EXPECT_FALSE(hint.Shown) << "a taken cell";
    EXPECT_EQ(dialogs.boxes.back(), "Brindle (i): No hint: the engine Master played on a taken cell (row 5, column 5).");
    // Not while the computer thinks, not after the end, never in a network game.
    choose(Menu_Master), choose(Menu_HumanComputer), clickCell(9, 9);
    const size_t asked = thinker.questions.size();
    choose(Menu_Hint);
    EXPECT_EQ(thinker.questions.size(), asked) << "no hint while the computer thinks, whatever the menu last showed";
    EXPECT_EQ(items(), "Analysis ");
    thinker.reply(0, 0);
    play({{9, 10}}), thinker.reply(0, 1), play({{9, 11}}), thinker.reply(0, 2), play({{9, 12}}), thinker.reply(0, 3);
    play({{9, 13}});
    ASSERT_TRUE(s().GameOver);
    EXPECT_EQ(items(), "Analysis Review");
    choose(Menu_ComputerComputer);
    EXPECT_EQ(items(), "");
    game.check(Menu_Network, true), game.check(Menu_Analysis, true);
    EXPECT_EQ(items(), "");
    EXPECT_FALSE(game.checked(Menu_Analysis)) << "the analysis goes off";
}

} // namespace
} // namespace brindle::testing
