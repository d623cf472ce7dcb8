// The Gomocup brain as a manager drives it: lines in any ending, a session of
// commands, and bad input that gets an ERROR and leaves the brain in step.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "engine/gomocup.h"

namespace brindle::engine {
namespace {

using Lines = std::vector<std::string>;

TEST(LineReader, EndsALineAtCrLfLfOrCrEvenAcrossReadsAndCutsOverlongOnes)
{
    LineReader reader;
    const auto texts = [&](std::string_view bytes) {
        Lines out;
        for (const auto& line : reader.feed(bytes))
            out.push_back((line.tooLong ? "LONG:" : "") + line.text.substr(0, 8));
        return out;
    };
    EXPECT_EQ(texts("START 20\r\nBEGIN\nTURN 1,2\rEND"), (Lines{"START 20", "BEGIN", "TURN 1,2"}));
    EXPECT_EQ(texts("\r"), (Lines{"END"}));
    EXPECT_EQ(texts("\nABOUT\r\r\n"), (Lines{"ABOUT", ""})) << "the LF of a CR LF cut between reads ends nothing";
    EXPECT_EQ(texts(std::string(LineReader::MaxLine + 10, 'x') + "\nOK\n"), (Lines{"LONG:xxxxxxxx", "OK"}));
    EXPECT_EQ(texts(std::string(LineReader::MaxLine, 'y') + "\n"), (Lines{"yyyyyyyy"}));
}

struct Session : ::testing::Test {
    Brain brain{*levelOfWord("hard"), 7, "1.4.0"};
    int stones(char mark) const
    {
        int n = 0;
        for (int y = 0; y < brain.size(); ++y)
            for (int x = 0; x < brain.size(); ++x)
                n += brain.at(x, y) == mark;
        return n;
    }
    // The answer to a move request: a MESSAGE, then a free cell of the board, now the brain's.
    std::pair<int, int> move(std::string_view command)
    {
        const int before = stones(MarkX);
        const Lines answer = brain.command(command);
        EXPECT_EQ(answer.size(), 2u) << command;
        if (answer.size() != 2)
            return {-1, -1};
        EXPECT_EQ(answer[0].rfind("MESSAGE ", 0), 0u) << answer[0];
        int x = -1, y = -1;
        EXPECT_EQ(std::sscanf(answer[1].c_str(), "%d,%d", &x, &y), 2) << answer[1];
        EXPECT_EQ(answer[1], std::to_string(x) + "," + std::to_string(y));
        EXPECT_TRUE(x >= 0 && y >= 0 && x < brain.size() && y < brain.size() && brain.at(x, y) == MarkX) << answer[1];
        EXPECT_EQ(stones(MarkX), before + 1);
        return {x, y};
    }
};

TEST_F(Session, PlaysAGameFromStartToEndAsTheManagerLeadsIt)
{
    EXPECT_EQ(brain.command("ABOUT"), Lines{R"(name="Brindle", version="1.4.0", author="the Brindle team", country="Unknown")"});
    EXPECT_EQ(brain.command("TURN 1,1"), Lines{"ERROR no board yet: START comes first"});
    EXPECT_EQ(brain.command("START 20"), Lines{"OK"});
    // Master's time for a move: the turn's less a tenth (20 ms at least), an eighth of the match's left, 5 ms at least.
    for (const auto& [info, ms] : {std::pair("", 300), {"INFO timeout_turn 1000", 900}, {"INFO timeout_turn 100", 80}, {"INFO time_left 4000", 80},
                                   {"INFO time_left 400", 50}, {"INFO timeout_turn -5", 50}, {"INFO time_left 0", 300}, {"INFO timeout_turn 10", 5},
                                   {"INFO rule 0", 5}, {"INFO folder /tmp", 5}, {"INFO colour red", 5}}) {
        EXPECT_EQ(brain.command(info), Lines{}) << info;
        EXPECT_EQ(brain.turnMilliseconds(), ms) << info;
    }
    const auto [x, y] = move("BEGIN");
    EXPECT_TRUE(x >= 5 && x <= 14 && y >= 5 && y <= 14) << "the opening lands in the middle half";
    // The other's moves, each answered with a free cell (Hard may build its own line rather than block).
    for (const auto& [tx, ty] : {std::pair(2, 2), {3, 2}, {4, 2}})
        if (brain.at(tx, ty) == Empty)
            move("TURN " + std::to_string(tx) + "," + std::to_string(ty));
    EXPECT_EQ(brain.command(" \tTAKEBACK  2 , 2\t "), Lines{"OK"}) << "spaces and tabs around words and numbers";
    EXPECT_EQ(brain.at(2, 2), Empty);

    // A new position: the brain's stones are 1, the other's 2; it plays after DONE.
    EXPECT_EQ(brain.command("restart"), Lines{"OK"});
    EXPECT_EQ(stones(MarkX) + stones(MarkO), 0);
    for (const char* row : {"BOARD", "10,10,1", "11,11,2", "12,12,2", "13,13,2", "14,14,2"})
        EXPECT_EQ(brain.command(row), Lines{}) << row;
    EXPECT_EQ(move("DONE"), std::pair(15, 15)) << "the only cell that stops the five";
    EXPECT_EQ(brain.command("START 16"), Lines{"OK"});
    EXPECT_EQ(move("BEGIN"), std::pair(8, 8)) << "a smaller board opens in its centre";
    EXPECT_EQ(brain.at(16, 0), WipeBar) << "and nothing lies beyond its edge";
    EXPECT_TRUE(brain.command("END").empty() && brain.ended());
}

TEST_F(Session, BadInputGetsAnErrorAndTheNextCommandIsAnsweredNormally)
{
    const struct {
        const char* line;
        std::string answer;
    } cases[] = {
        {"START 4", R"(ERROR Brindle plays square boards from 5 to 20, not "4")"},
        {"START 21", R"(ERROR Brindle plays square boards from 5 to 20, not "21")"},
        {"START x", R"(ERROR Brindle plays square boards from 5 to 20, not "x")"},
        {"RECTSTART 20,19", R"(ERROR Brindle plays square boards from 5 to 20, not "20,19")"},
        {"TURN 20,0", "ERROR 20,0 is off the board"},
        {"TURN 0,-1", "ERROR 0,-1 is off the board"},
        {"TURN 0,20", "ERROR 0,20 is off the board"},
        {"TURN 3", R"(ERROR expected x,y, not "3")"},
        {"TURN 3,4,5", R"(ERROR expected x,y, not "3,4,5")"},
        {"TURN a,b", R"(ERROR expected x,y, not "a,b")"},
        {"TURN 10,10", "ERROR 10,10 is taken"},
        {"TAKEBACK 0,0", "ERROR 0,0 holds no stone"},
        {"PLAY 1,1", "UNKNOWN PLAY"},
        {"\x01\x02\xff", "ERROR the line holds bytes that are not text"},
    };
    ASSERT_EQ(brain.command("RECTSTART 20,20"), Lines{"OK"});
    brain.command("BOARD"), brain.command("10,10,2"), move("DONE");
    for (const auto& c : cases) {
        const int stonesBefore = stones(MarkX) + stones(MarkO);
        EXPECT_EQ(brain.command(c.line), Lines{c.answer}) << c.line;
        EXPECT_EQ(stones(MarkX) + stones(MarkO), stonesBefore) << c.line;
    }
    EXPECT_EQ(brain.command(LineReader::Line{"TURN 1,1", true}), Lines{"ERROR a line of more than 4096 bytes"});
    // Inside BOARD a bad row is refused alone; DONE still plays.
    brain.command("BOARD");
    for (const auto& [row, answer] : {std::pair("1,1,4", "ERROR field 4 is neither 1, 2 nor 3"), {"1,1", R"(ERROR expected x,y,field, not "1,1")"},
                                      {"2,2,2", ""}, {"2,2,1", "ERROR 2,2 is taken"}, {"2,3,3", ""}})
        EXPECT_EQ(brain.command(row), *answer ? Lines{answer} : Lines{}) << row;
    move("DONE");
    // An exact-five, renju or caro game is refused rather than played by the wrong rule.
    for (const char* rule : {"1", "4", "8", "9"}) {
        brain.command(std::string("INFO rule ") + rule);
        const Lines refused = {"ERROR rule " + std::string(rule) + " is not supported: Brindle plays five or more in a row"};
        EXPECT_EQ(brain.command("BEGIN"), refused);
        EXPECT_EQ(brain.command("TURN 0,19"), refused);
        EXPECT_EQ(brain.at(0, 19), Empty);
    }
    brain.command("INFO rule 2"); // continuous play is freestyle's business
    move("TURN 0,19");
    brain.command("BOARD"); // a full board, in pairs of each colour that leave no five
    for (int i = 0; i < 400; ++i)
        brain.command(std::to_string(i % 20) + "," + std::to_string(i / 20) + "," + ((i % 20 + 2 * (i / 20)) % 4 < 2 ? "1" : "2"));
    EXPECT_EQ(brain.command("DONE"), Lines{"ERROR the board is full"});
}

TEST(Brain, MasterSaysItsThinkingAtOnceAndAnswersTheLinesFirstMove)
{
    Brain brain{*levelOfWord("master"), 7, "1.4.0"};
    std::atomic<bool> stop{false};
    Lines heard;
    brain.stopWhen(&stop);
    // The first line comes at once, after depth 1; the manager then says END.
    brain.sayWhileThinking([&](const std::string& line) { heard.push_back(line), stop = true; });
    ASSERT_EQ(brain.command("START 20"), Lines{"OK"});
    const Lines answer = brain.command("TURN 9,9");
    ASSERT_EQ(heard.size(), 1u);
    const std::regex message("MESSAGE depth 1 value [+-][0-9]+\\.[0-9] nodes [1-9][0-9]* line( [0-9]+,[0-9]+)+");
    EXPECT_TRUE(std::regex_match(heard[0], message)) << heard[0];
    ASSERT_EQ(answer.size(), 2u);
    // Stopped during depth 2, it ends with what depth 1 said, and plays the line's first move.
    const auto withoutNodes = [](const std::string& m) { return m.substr(0, m.find(" nodes ")) + m.substr(m.find(" line ")); };
    EXPECT_EQ(withoutNodes(answer[0]), withoutNodes(heard[0]));
    EXPECT_EQ(answer[0].substr(answer[0].find(" line ") + 6, answer[1].size()), answer[1]);
}

TEST(Brain, AStepOfStrengthPlaysFreeCellsAndMaxMemoryBoundsMastersTables)
{
    Brain step{*levelOfWord("strength2"), 5, ""};
    step.command("START 20"), step.command("INFO timeout_turn 100");
    for (const auto& [x, y] : {std::pair(9, 9), {10, 10}, {8, 11}, {12, 9}}) {
        const Lines answer = step.command("TURN " + std::to_string(x) + "," + std::to_string(y));
        int ax = -1, ay = -1;
        ASSERT_TRUE(answer.size() == 1 && std::sscanf(answer[0].c_str(), "%d,%d", &ax, &ay) == 2 && step.at(ax, ay) == MarkX)
            << ::testing::PrintToString(answer);
    }
    // The table is made at the first search, within the manager's bound, and
    // made again when the bound changes; 0 is the brain's own size.
    const int64_t failures = (1 << 16) * 8, leastTable = (1 << Search::MinTableBits) * 16;
    const struct {
        const char* info;
        int64_t least, most;
    } bounds[] = {
        {"INFO max_memory 3000000", 1000000, 3000000},
        {"INFO max_memory 1", failures + leastTable, failures + leastTable},
        {"INFO max_memory 0", 16 << 20, 64 << 20},
        {"INFO max_memory 70000000", 16 << 20, 64 << 20},
    };
    Brain master{*levelOfWord("master"), 7, ""};
    master.command("START 20"), master.command("INFO timeout_turn 40");
    EXPECT_EQ(master.searchMemory(), 0) << "nothing is held before the first search";
    int turn = 0;
    for (const auto& b : bounds) {
        master.command(b.info);
        master.command("TURN " + std::to_string(turn * 5) + ",0"), ++turn;
        EXPECT_GE(master.searchMemory(), b.least) << b.info;
        EXPECT_LE(master.searchMemory(), b.most) << b.info;
    }
    // Three threads share one table within the bound, each with its own failed wins.
    master.command("INFO thread_num 3"), master.command("INFO max_memory 3000000");
    const auto answer = master.command("TURN 9,9");
    EXPECT_LE(master.searchMemory(), 3000000);
    EXPECT_GE(master.searchMemory(), 3 * failures + 1000000);
    ASSERT_FALSE(answer.empty());
    int ax = -1, ay = -1;
    EXPECT_TRUE(std::sscanf(answer.back().c_str(), "%d,%d", &ax, &ay) == 2 && ax >= 0 && ay >= 0 && ax < 20 && ay < 20 &&
                !(ax == 9 && ay == 9))
        << answer.back();
}

TEST(Levels, EachNameAMenuLevelThatOpensInTheMiddleHalfAndPlaysOnlyFreeCells)
{
    std::set<std::pair<int, int>> openings;
    for (const Level& level : Levels) {
        ASSERT_EQ(levelOfWord(level.word), &level);
        Brain brain(level, 3, "");
        brain.command("START 20"), brain.command("INFO timeout_turn 30"), brain.command("INFO time_left 100000");
        std::set<std::pair<int, int>> played;
        for (int i = 0; i < 150; ++i) { // it opens, then the other plays along the rows, wherever it is free
            const int x = (i * 7) % 20, y = (i * 3) % 20;
            const Lines answer = brain.command(i > 0 && brain.at(x, y) == Empty ? "TURN " + std::to_string(x) + "," + std::to_string(y) : "BEGIN");
            int ax = -1, ay = -1;
            ASSERT_TRUE(answer.size() == 2 && std::sscanf(answer[1].c_str(), "%d,%d", &ax, &ay) == 2 && brain.at(ax, ay) == MarkX &&
                        played.insert({ax, ay}).second)
                << level.word << " " << i << ": " << ::testing::PrintToString(answer);
            if (i == 0) {
                openings.insert({ax, ay});
                EXPECT_TRUE(ax >= 5 && ax <= 14 && ay >= 5 && ay <= 14) << level.word << " opened at " << answer[1];
            }
        }
    }
    EXPECT_GT(openings.size(), 1u) << "the openings in the middle half are drawn, not always the centre";
    EXPECT_FALSE(levelOfWord("Hard") || levelOfWord("grandmaster"));
}

} // namespace
} // namespace brindle::engine
