// Master on its worker thread and other engines as child processes, in the
// real window: a game goes on while they think, Stop and a new game cut a
// thought short, and a brain that misbehaves is caught without a hang.
#include <gtest/gtest.h>

#include <algorithm>

#include <QMessageBox>
#include <QSettings>

#include "platform/engine_process.h"
#include "platform/thinkers.h"
#include "support/pass_intro.h"

namespace brindle {
namespace {

const QString FakeBrain = QStringLiteral(BRINDLE_FAKE_BRAIN);

struct EngineCase {
    const char* mode;
    int row, col;         // the answer to a board of three stones
    const char* failure;  // the start of the failure, or "" for none
};

// One question to a fake brain started as the window starts it; the answer
// or failure comes from the event loop.
TEST(EngineProcessTest, AnswersAMoveOrSaysHowTheBrainMisbehaved)
{
    const EngineCase cases[] = {
        {"good", 0, 0, ""},
        {"taken", -1, -1, "played on a taken cell (row 5, column 10)."},
        {"late", -1, -1, "answered late: no move within 300 ms."},
        {"garbage", -1, -1, "answered something that is not a move: \"banana split\""},
    };
    for (const EngineCase& c : cases) {
        EngineProcess::Options options;
        options.turnMilliseconds = 100, options.lateMargin = 200;
        BrainEnder ender;
        EngineProcess engine(FakeBrain, {c.mode}, options, ender);
        std::string started = "not yet";
        engine.start([&](const std::string& failure) { started = failure; });
        ASSERT_TRUE(waitFor([&] { return started != "not yet"; }, "the brain to start"));
        EXPECT_EQ(started, "") << c.mode;
        EXPECT_EQ(engine.name(), std::string("Fake ") + c.mode);
        Answer answer;
        bool answered = false;
        // Blue to move: red's stones are the brain's "2".
        engine.askMove({{2, 7}, {3, 8}, {4, 9}}, [&](const Answer& a) { answer = a, answered = true; });
        ASSERT_TRUE(waitFor([&] { return answered; }, "an answer or a failure")) << c.mode;
        EXPECT_EQ(answer.failure, c.failure) << c.mode;
        EXPECT_EQ(std::pair(answer.row, answer.col), std::pair(c.row, c.col)) << c.mode;
    }
}

TEST(EngineProcessTest, ABrainThatCrashesOrCannotStartIsReportedAndAForgottenAnswerIsDropped)
{
    BrainEnder ender;
    EngineProcess engine(FakeBrain, {"crash"}, {}, ender);
    std::string started = "not yet";
    engine.start([&](const std::string& failure) { started = failure; });
    ASSERT_TRUE(waitFor([&] { return started != "not yet"; }, "the brain to start"));
    // A question forgotten is answered all the same, and the next waits for it.
    int forgotten = 0;
    engine.askMove({}, [&](const Answer&) { ++forgotten; });
    engine.forget();
    Answer second;
    engine.askMove({{0, 0}, {1, 1}, {2, 2}}, [&](const Answer& a) { second = a; });
    ASSERT_TRUE(waitFor([&] { return !second.failure.empty(); }, "the crash to be noticed"));
    EXPECT_EQ(second.failure, "exited.");
    EXPECT_EQ(forgotten, 0);
    EXPECT_TRUE(engine.broken());

    EngineProcess missing(QStringLiteral("/nonexistent/brain"), {}, {}, ender);
    started = "not yet";
    missing.start([&](const std::string& failure) { started = failure; });
    ASSERT_TRUE(waitFor([&] { return started != "not yet"; }, "the start to fail"));
    EXPECT_EQ(started.rfind("did not start", 0), 0u) << started;
}

TEST(MasterThinker, PlaysTheSideToMoveOnTheWorkerThreadAndDropsAForgottenQuestion)
{
    WindowThinker thinker([] { return 100; });
    // Both sides have four in a row; blue is to move and wins at either end of its own.
    Question q;
    q.moves = {{0, 1}, {5, 5}, {0, 2}, {5, 6}, {0, 3}, {5, 7}, {0, 4}, {5, 8}, {19, 19}};
    Answer answer;
    int answers = 0;
    thinker.ask(q, [&](const Answer& a) { answer = a, ++answers; });
    thinker.cancel();
    thinker.ask(q, [&](const Answer& a) { answer = a, ++answers; });
    ASSERT_TRUE(waitFor([&] { return answers > 0; }, "Master's answer"));
    QTest::qWait(150);
    EXPECT_EQ(answers, 1) << "the forgotten question is not answered";
    EXPECT_TRUE(answer.row == 5 && (answer.col == 4 || answer.col == 9)) << answer.row << "," << answer.col;
    EXPECT_EQ(thinker.name(false), "Master");
}

class Engines : public ::testing::Test {
protected:
    void SetUp() override
    {
        QSettings(QStringLiteral("Brin"), QStringLiteral("Brin")).setValue("Settings/MasterMs", "100");
        window.show();
        ASSERT_TRUE(passIntro(window));
        QObject::connect(&boxes, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                seen.push_back(box->text().toStdString()), box->accept();
        });
        boxes.start(10);
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
    QTimer boxes;
    std::vector<std::string> seen;
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

TEST_F(Engines, StopMidThoughtEndsComputerAgainstComputerAtOnce)
{
    window.action(Menu_Master)->trigger();
    window.action(Menu_ComputerComputer)->trigger();
    ASSERT_TRUE(waitFor([this] { return s().MoveCount >= 3 && game().thinking(); }, "Master thinking in automatic play"));
    window.action(Menu_Stop)->trigger();
    const int32_t moves = s().MoveCount;
    EXPECT_TRUE(!game().thinking() && s().Stopped && window.action(Menu_Game)->isVisible());
    QTest::qWait(300);
    EXPECT_EQ(s().MoveCount, moves) << "no move after Stop";
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

    engineChosen("crash");
    ASSERT_TRUE(humanToMove());
    clickCell(window, 9, 9);
    ASSERT_TRUE(waitFor([this] { return s().MoveCount == 2; }, "the first answer"));
    clickCell(window, 5, 5);
    ASSERT_TRUE(waitFor([this] { return !seen.empty(); }, "the crash's message"));
    EXPECT_EQ(seen[0].rfind("The engine Fake crash exited.", 0), 0u) << seen[0];
    EXPECT_TRUE(s().GameOver && s().MoveCount == 3 && game().Board(5, 5) == MarkX);
    EXPECT_TRUE(window.action(Menu_Hard)->isChecked() && !game().thinking());
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(Engines, AnEngineThatCannotStartLeavesTheLevelAsItWas)
{
    window.startEngine(QStringLiteral("/nonexistent/brain"));
    ASSERT_TRUE(waitFor([this] { return !seen.empty(); }, "the failure's message"));
    EXPECT_EQ(seen[0].rfind("The engine brain did not start", 0), 0u) << seen[0];
    EXPECT_TRUE(window.action(Menu_Hard)->isChecked());
}

} // namespace
} // namespace brindle
