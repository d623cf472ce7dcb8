// Master and other engines in the real window: a game goes on while they
// think, Stop cuts a thought short, and a brain that misbehaves stops the game
// where it stands, with Hard playing on.
#include <gtest/gtest.h>

#include <algorithm>

#include <QLabel>
#include <QSettings>

#include "platform/settings.h"
#include "support/box_answerer.h"
#include "support/pass_intro.h"

namespace brindle {
namespace {

const QString FakeBrain = QStringLiteral(BRINDLE_FAKE_BRAIN);

class Engines : public ::testing::Test {
protected:
    void SetUp() override
    {
        QSettings(QStringLiteral("Brin"), QStringLiteral("Brin")).setValue("Settings/MasterMs", "100");
        ASSERT_TRUE(passIntro(window));
    }
    void TearDown() override { QSettings(QStringLiteral("Brin"), QStringLiteral("Brin")).remove("Settings/MasterMs"); }

    Game& game() { return window.game(); }
    const GameState& s() { return window.game().state(); }
    // A new Human vs. Computer game that the human opens.
    ::testing::AssertionResult humanToMove()
    {
        for (int tries = 0; tries < 20; ++tries) {
            window.action(Menu_HumanComputer)->trigger();
            if (!waitFor([this] { return !game().thinking() && s().MoveCount <= 1 && !s().GameOver; }, "the new game"))
                return ::testing::AssertionFailure() << "no new game";
            if (s().MoveCount == 0)
                return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "the computer opened twenty times";
    }
    void engineChosen(const char* mode)
    {
        window.startEngine(FakeBrain, {mode});
        ASSERT_TRUE(waitFor([this] { return game().checked(Menu_OtherEngine); }, "the engine to start"));
    }

    Globals globals;
    MainWindow window{globals};
    BoxAnswerer boxes;
    Strings& seen = boxes.seen;
};

TEST_F(Engines, MasterThinksWhileTheWindowStaysLiveAndAnswersThroughTheGame)
{
    window.action(Menu_Master)->trigger();
    ASSERT_TRUE(humanToMove());
    clickCell(window, 9, 9);
    ASSERT_TRUE(game().thinking());
    EXPECT_EQ(window.cursor().shape(), Qt::WaitCursor);
    const QSize before = window.board().size();
    window.resize(window.width() + 40, window.height() + 40);
    ASSERT_TRUE(waitFor([&] { return window.board().size() != before; }, "the resize while Master thinks"));
    ASSERT_TRUE(waitFor([this] { return s().MoveCount == 2; }, "Master's answer"));
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(game().Board(s().LastRow, s().LastCol), MarkO);
    // Within two cells each way: a reply two cells off along a diagonal is
    // one Master picks when its time is short.
    EXPECT_LE(std::max(std::abs(s().LastRow - 9), std::abs(s().LastCol - 9)), 2) << "Master answers near the stone";
}

TEST_F(Engines, AStepOfStrengthIsChosenOnItsSliderKeptInTheSettingsAndPlaysWhileTheWindowStaysLive)
{
    boxes.strength = 6;
    window.action(Menu_Strength)->trigger();
    EXPECT_TRUE(game().checked(Menu_Strength) && !game().checked(Menu_Hard) && game().strength() == 6);
    EXPECT_EQ(window.action(Menu_Strength)->text(), "S&trength: 6...");
    EXPECT_EQ(boxes.strengthTitle, "Strength");
    EXPECT_EQ(QtSettings().read("Strength", ""), "6");
    boxes.strength = 0; // Cancel changes nothing
    window.action(Menu_Master)->trigger(), window.action(Menu_Strength)->trigger();
    EXPECT_TRUE(game().checked(Menu_Master) && game().strength() == 6);
    boxes.strength = 3;
    window.action(Menu_Strength)->trigger();
    ASSERT_TRUE(humanToMove());
    clickCell(window, 9, 9);
    ASSERT_TRUE(game().thinking()) << "the step thinks on its own thread";
    ASSERT_TRUE(waitFor([this] { return s().MoveCount == 2; }, "the step's answer"));
    EXPECT_EQ(game().Board(s().LastRow, s().LastCol), MarkO);
    EXPECT_EQ(game().record("").blue, "Computer (Strength 3)");
    // The next run opens at Hard, with the slider where it was left.
    Globals other;
    MainWindow next{other};
    EXPECT_TRUE(next.game().checked(Menu_Hard) && next.game().strength() == 3);
    EXPECT_EQ(next.action(Menu_Strength)->text(), "S&trength: 3...");
}

TEST_F(Engines, MastersHintAndAnalysisSayWhenAWinIsCertain)
{
    window.action(Menu_Master)->trigger();
    window.action(Menu_HumanHuman)->trigger();
    ASSERT_TRUE(waitFor([this] { return game().ui.Enabled && s().MoveCount == 0; }, "the new game"));
    for (const auto& [row, col] : {std::pair(9, 9), {0, 0}, {9, 10}, {0, 19}, {9, 11}, {19, 0}})
        clickCell(window, row, col);
    window.action(Menu_Hint)->trigger();
    const HintMark& hint = game().ui.hint;
    ASSERT_TRUE(waitFor([&] { return hint.Shown; }, "Master's hint"));
    EXPECT_TRUE(hint.Row == 9 && (hint.Col == 8 || hint.Col == 12)) << hint.Row << "," << hint.Col;
    EXPECT_EQ(hint.verdict, "Red wins in 2 moves");
    // The analysis finds the same at once, and a screen reader hears it.
    window.action(Menu_Analysis)->trigger();
    const QLabel& verdict = window.analysisPanel().verdictLabel();
    ASSERT_TRUE(waitFor([&] { return !verdict.text().isEmpty(); }, "the analysis"));
    EXPECT_EQ(verdict.text(), "Red wins in 2 moves   Win in 2");
    EXPECT_EQ(verdict.accessibleName(), QStringLiteral("Red wins in 2 moves. Best move row 10, column %1").arg(hint.Col + 1));
}

TEST_F(Engines, AnOtherEnginePlaysFromTheWindowAndACrashLeavesTheBoardAndHardTakesOver)
{
    engineChosen("good");
    EXPECT_EQ(window.action(Menu_OtherEngine)->text(), "&Other engine: Fake good...");
    ASSERT_TRUE(humanToMove());
    clickCell(window, 9, 9);
    ASSERT_TRUE(waitFor([this] { return s().MoveCount == 2; }, "the engine's answer"));
    EXPECT_EQ(game().Board(0, 0), MarkO);
    EXPECT_EQ(game().record("").blue, "Computer (Fake good)") << "a saved game names the engine";
    EXPECT_EQ(QSettings(QStringLiteral("Brin"), QStringLiteral("Brin")).value("Settings/Engine").toString(), FakeBrain);
    // Hints come from a second copy of the engine, started at the first, and carry no verdict.
    const HintMark& hint = game().ui.hint;
    for (int n = 0; n < 2; ++n) {
        window.action(Menu_Hint)->trigger();
        ASSERT_TRUE(waitFor([&] { return hint.Shown; }, n == 0 ? "the first hint" : "the hint of the copy already started"));
        EXPECT_TRUE(game().Board(hint.Row, hint.Col) == Empty && hint.verdict.empty());
        clickCell(window, 12, 12 + n);
        ASSERT_TRUE(waitFor([&] { return s().MoveCount == 4 + 2 * n; }, "the engine's answer after the hint"));
    }

    engineChosen("crash");
    ASSERT_TRUE(humanToMove());
    clickCell(window, 9, 9);
    ASSERT_TRUE(waitFor([this] { return s().MoveCount == 2; }, "the first answer"));
    clickCell(window, 5, 5);
    ASSERT_TRUE(waitFor([this] { return !seen.empty(); }, "the crash's message"));
    EXPECT_EQ(seen[0].rfind("Brindle: The engine Fake crash exited.", 0), 0u) << seen[0];
    EXPECT_TRUE(s().GameOver && s().MoveCount == 3 && game().Board(5, 5) == MarkX);
    EXPECT_TRUE(window.action(Menu_Hard)->isChecked() && !game().thinking());
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);

    seen.clear();
    window.startEngine(QStringLiteral("/nonexistent/brain"));
    ASSERT_TRUE(waitFor([this] { return !seen.empty(); }, "the failure's message"));
    EXPECT_EQ(seen[0].rfind("Brindle: The engine brain did not start", 0), 0u) << seen[0];
    EXPECT_TRUE(window.action(Menu_Hard)->isChecked()) << "the level stays as it was";
}

} // namespace
} // namespace brindle
