// The manager's side of the Gomocup protocol as text: what it says to a
// brain, and how it judges every line that comes back.

#include <gtest/gtest.h>

#include "engine/gomocup_manager.h"

namespace brindle::engine {
namespace {

using Lines = std::vector<std::string>;

struct Manager : ::testing::Test {
    // Started, told OK and ABOUT: ready for questions.
    void ready(BrainManager::Options options = {})
    {
        options.folder = "/tmp/brains";
        manager = BrainManager(options, "pbrain-x");
        EXPECT_EQ(manager.start(0).send, Lines{"START 20"});
        EXPECT_EQ(manager.deadline(), 5000);
        EXPECT_EQ(manager.received("OK\r\n", 10).send,
                  (Lines{"INFO timeout_turn " + std::to_string(options.turnMilliseconds), "INFO timeout_match 0",
                         "INFO max_memory 0", "INFO thread_num 1", "INFO game_type 1", "INFO rule 0", "INFO folder /tmp/brains", "ABOUT"}));
        const BrainManager::Step about = manager.received("name=\"Fake\x01 brain\", version=\"1.0\"\n", 20);
        EXPECT_TRUE(about.ready && about.failure.empty());
        EXPECT_EQ(manager.name(), "Fake? brain");
        EXPECT_EQ(manager.deadline(), std::nullopt);
    }

    BrainManager manager{{}, ""};
    // Red at (2, 7) and (4, 9), blue at (3, 8): red to move, so red's stones are the brain's "1".
    const BrainManager::Moves position = {{2, 7}, {3, 8}, {4, 9}, {0, 19}};
};

TEST_F(Manager, SendsTheWholePositionAndTakesTheAnswersCellAfterItsMessages)
{
    ready();
    EXPECT_EQ(manager.ask(position, 100).send, (Lines{"BOARD", "7,2,1", "8,3,2", "9,4,1", "19,0,2", "DONE"}));
    EXPECT_EQ(manager.deadline(), 100 + 300 + 1000);
    const BrainManager::Step step = manager.received("MESSAGE depth 3\r\nDEBUG x\r\n\r\n  5,", 150);
    EXPECT_FALSE(step.answer || !step.failure.empty()) << "half a line is no answer yet";
    const BrainManager::Step moved = manager.received("6  \n", 340);
    ASSERT_TRUE(moved.answer);
    EXPECT_EQ(std::pair(moved.answer->row, moved.answer->col), std::pair(6, 5));
    EXPECT_EQ(manager.slowestMilliseconds(), 240);
    EXPECT_EQ(manager.deadline(), std::nullopt) << "nothing is awaited";
    // Blue to move: blue's stones are the brain's own now.
    EXPECT_EQ(manager.ask({{9, 9}}, 400).send, (Lines{"BOARD", "9,9,2", "DONE"}));
}

TEST_F(Manager, JudgesEveryAnswerOnceAndAsksABrainThatFailedNothingMore)
{
    const struct {
        std::string said;
        std::string failure;
    } cases[] = {
        {"0,0\n", ""},
        {"9,4\n", "played on a taken cell (row 5, column 10)."},
        {"20,3\n", "played off the board (row 4, column 21)."},
        {"3,20\n", "played off the board (row 21, column 4)."},
        {"banana split\n", "answered something that is not a move: \"banana split\""},
        {"1,2,3\n", "answered something that is not a move: \"1,2,3\""},
        {"1234,5\n", "answered something that is not a move: \"1234,5\""},
        {"7\n", "answered something that is not a move: \"7\""},
        {",5\n", "answered something that is not a move: \",5\""},
        {"5,\n", "answered something that is not a move: \"5,\""},
        {"ERROR out of memory\n", "reported an error: out of memory"},
        {std::string(5000, '7'), "answered a line of over 4096 characters."},
        {std::string(100, 'z') + "\n", "answered something that is not a move: \"" + std::string(60, 'z') + "...\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said.substr(0, 20));
        ready();
        manager.ask(position, 0);
        const BrainManager::Step step = manager.received(c.said, 10);
        EXPECT_EQ(step.failure, c.failure);
        EXPECT_EQ(step.answer.has_value(), c.failure.empty());
        EXPECT_EQ(manager.broken(), !c.failure.empty());
        if (manager.broken()) {
            EXPECT_EQ(manager.ask(position, 20).failure, "stopped working earlier.");
            EXPECT_TRUE(manager.received("1,1\n", 30).failure.empty() && manager.ended("exited.").failure.empty())
                << "a brain fails once";
            EXPECT_EQ(manager.deadline(), std::nullopt);
        }
    }
}

TEST_F(Manager, ABrainThatIsSilentOrRefusesTheBoardFailsWithItsReason)
{
    const auto started = [this] { manager = BrainManager({}, "b"), manager.start(1000); };
    started();
    EXPECT_TRUE(manager.timeUp(5999).failure.empty()) << "before its time";
    EXPECT_EQ(manager.timeUp(6000).failure, "did not answer START within 5 s.");
    started();
    EXPECT_EQ(manager.received("OK\n", 1100).send.back(), "ABOUT");
    EXPECT_EQ(manager.timeUp(6000).failure, "did not answer START within 5 s.") << "ABOUT within START's time too";
    started();
    EXPECT_EQ(manager.received("NO THANKS\n", 1100).failure, "did not accept a 20 x 20 board: \"NO THANKS\"");
    started();
    EXPECT_EQ(manager.ended("exited.").failure, "exited.");

    BrainManager::Options quick;
    quick.turnMilliseconds = 100, quick.lateMargin = 200;
    ready(quick);
    manager.ask(position, 1000);
    EXPECT_TRUE(manager.timeUp(1299).failure.empty());
    EXPECT_EQ(manager.timeUp(1300).failure, "answered late: no move within 300 ms.");
    ready(quick);
    EXPECT_EQ(manager.received("0,0\n", 0).failure, "answered something that is not a move: \"0,0\"") << "nobody asked";
}

TEST_F(Manager, AForgottenQuestionsAnswerIsDroppedAndTheNextQuestionWaitsForIt)
{
    manager = BrainManager({}, "b");
    manager.start(0);
    EXPECT_TRUE(manager.ask(position, 1).send.empty()) << "not before the brain is ready";
    manager.received("OK\n", 2);
    EXPECT_EQ(manager.received("about\n", 3).send.front(), "BOARD") << "sent once it is";

    manager.forget();
    EXPECT_TRUE(manager.ask({{1, 1}}, 4).send.empty()) << "the brain still answers the forgotten one";
    const BrainManager::Step dropped = manager.received("0,0\n", 5);
    EXPECT_FALSE(dropped.answer);
    EXPECT_EQ(dropped.send, (Lines{"BOARD", "1,1,2", "DONE"}));
    const BrainManager::Step answered = manager.received("1,1\r", 6);
    EXPECT_FALSE(answered.answer) << "the new question's taken cell is judged";
    EXPECT_EQ(answered.failure, "played on a taken cell (row 2, column 2).");

    ready();
    manager.ask(position, 0);
    manager.ask({{5, 5}}, 1); // a new question before the first answer: that answer is not for it
    EXPECT_FALSE(manager.received("0,0\n", 2).answer);
    EXPECT_EQ(manager.received("3,3\n", 3).answer->row, 3);
}

} // namespace
} // namespace brindle::engine
