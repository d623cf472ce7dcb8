// Brains as child processes, as the window and brindle-match start them: one
// game of questions for each kind of brain, and a brain ended with END, or
// killed a second later when it does not listen.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "platform/engine_process.h"
#include "platform/thinkers.h"
#include "support/pass_intro.h"

namespace brindle {
namespace {

const QString FakeBrain = QStringLiteral(BRINDLE_FAKE_BRAIN);

TEST(EngineProcessTest, AnswersAMoveOrSaysHowTheBrainMisbehaved)
{
    const struct {
        QString program;
        const char* mode;
        int row, col;        // the answer to a board of three stones
        const char* failure; // the start of what went wrong, or "" for nothing
    } cases[] = {
        {FakeBrain, "good", 0, 0, ""},
        {FakeBrain, "taken", -1, -1, "played on a taken cell (row 5, column 10)."},
        {FakeBrain, "late", -1, -1, "answered late: no move within 300 ms."},
        {FakeBrain, "garbage", -1, -1, "answered something that is not a move: \"banana split\""},
        {FakeBrain, "crash", -1, -1, "exited."},
        {QStringLiteral("/nonexistent/brain"), "", -1, -1, "did not start: "},
    };
    BrainEnder ender;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        EngineProcess::Options options;
        options.turnMilliseconds = 100, options.lateMargin = 200;
        EngineProcess engine(c.program, {c.mode}, options, ender);
        std::string started = "not yet";
        engine.start([&](const std::string& failure) { started = failure; });
        ASSERT_TRUE(waitFor([&] { return started != "not yet"; }, "the brain to start"));
        if (!started.empty()) {
            EXPECT_EQ(started.rfind(c.failure, 0), 0u) << started;
            continue;
        }
        EXPECT_EQ(engine.name(), std::string("Fake ") + c.mode);
        // A question forgotten is answered all the same, and the next waits for it.
        int forgotten = 0;
        engine.askMove({}, [&](const Answer&) { ++forgotten; });
        engine.forget();
        Answer answer;
        bool answered = false;
        // Blue to move: red's stones are the brain's "2".
        engine.askMove({{2, 7}, {3, 8}, {4, 9}}, [&](const Answer& a) { answer = a, answered = true; });
        ASSERT_TRUE(waitFor([&] { return answered; }, "an answer or a failure"));
        EXPECT_EQ(forgotten, 0);
        EXPECT_EQ(answer.failure, c.failure);
        EXPECT_EQ(std::pair(answer.row, answer.col), std::pair(c.row, c.col));
        EXPECT_EQ(engine.broken(), *c.failure != '\0');
    }
    EXPECT_EQ(ender.ending(), 0) << "the brains that failed were killed at once";
}

TEST(EngineProcessTest, ABrainIsEndedWithEndAndKilledASecondLaterIfItLingers)
{
    BrainEnder ender;
    for (const char* mode : {"good", "stubborn"}) {
        auto engine = std::make_unique<EngineProcess>(FakeBrain, QStringList{mode}, EngineProcess::Options{}, ender);
        bool ready = false;
        engine->start([&](const std::string& failure) { ready = failure.empty(); });
        ASSERT_TRUE(waitFor([&] { return ready; }, "the brain to start"));
        QElapsedTimer ending;
        ending.start();
        engine.reset();
        EXPECT_EQ(ender.ending(), 1) << mode;
        ASSERT_TRUE(waitFor([&] { return ender.ending() == 0; }, "the brain to end", 3000)) << mode;
        EXPECT_EQ(ending.elapsed() >= BrainEnder::GraceMilliseconds, std::string(mode) == "stubborn") << ending.elapsed();
    }
    // One still ending when the ender goes is waited for then, and killed.
    auto engine = std::make_unique<EngineProcess>(FakeBrain, QStringList{"stubborn"}, EngineProcess::Options{}, ender);
    engine->start([](const std::string&) {});
    engine.reset();
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
    q.otherEngine = true; // none chosen yet
    thinker.ask(q, [&](const Answer& a) { answer = a, ++answers; });
    ASSERT_TRUE(waitFor([&] { return answers == 2; }, "the answer that no engine is chosen"));
    EXPECT_EQ(answer.failure, "is not chosen.");
}

} // namespace
} // namespace brindle
