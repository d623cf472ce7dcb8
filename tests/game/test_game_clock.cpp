// The game clock, the chess clock of a network game, and the time win that only the host's clock decides.

#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "support/fakes.h"
#include "support/network_pair.h"

namespace brindle::testing {
namespace {

TEST(SekToTime, WritesHoursMinutesAndSecondsTwoDigitsEachKeepingTheLastTwoOfTheHours)
{
    for (const auto& [seconds, text] : {std::pair(59, "00:00:59"), {3599, "00:59:59"}, {3600, "01:00:00"}, {45296, "12:34:56"}, {360061, "00:01:01"}})
        EXPECT_EQ(GameClock::SekToTime(seconds), text) << seconds;
}

struct LoneClock { // a clock on its own, with the monotonic clock in the test's hand
    LoneClock() { ui.Timer1.Interval = 1000; }
    Ui ui;
    int64_t now = 5000; // wherever the monotonic clock happens to stand
    GameClock clock{ui, [this] { return now; }};

    char tick(int64_t milliseconds, bool network = false, char mover = MarkX, bool limit = false, bool host = true)
    {
        now += milliseconds;
        return clock.tick(network, mover, limit, host);
    }
};

TEST(GameClock, CountsTheGameOrTheMoversOwnClockAndStopsAtZeroUnlessItIsTheHostsWhichNamesTheWinner)
{
    // network, time limit, host, mover, red and blue before; winner, red and blue after, the time box.
    for (const auto& [network, limit, host, mover, red, blue, winner, redAfter, blueAfter, shown] :
         {std::tuple(false, false, true, MarkX, 0, 0, 0, 0, 0, "00:00:08"),
          {true, false, true, MarkX, 5, 9, 0, 6, 9, "Red 00:00:06 - Blue 00:00:09"},
          {true, false, false, MarkO, 5, 9, 0, 5, 10, "Red 00:00:05 - Blue 00:00:10"},
          {true, true, true, MarkX, 2, 9, 0, 1, 9, "Red 00:00:01 - Blue 00:00:09"},
          {true, true, true, MarkX, 1, 9, 'B', 0, 9, "Red 00:00:00 - Blue 00:00:09"},
          {true, true, true, MarkO, 9, 1, 'R', 9, 0, "Red 00:00:09 - Blue 00:00:00"},
          {true, true, false, MarkX, 1, 9, 0, 0, 9, "Red 00:00:00 - Blue 00:00:09"},
          {true, true, false, MarkO, 9, 0, 0, 9, 0, "Red 00:00:09 - Blue 00:00:00"}}) {
        LoneClock c;
        c.clock.start(0), c.tick(7000);
        std::tie(c.clock.RedTime, c.clock.BlueTime) = std::tuple(red, blue);
        EXPECT_EQ(c.tick(1000, network, mover, limit, host), winner) << shown;
        c.clock.show(network);
        EXPECT_EQ(std::tuple(c.clock.GameSeconds, c.clock.RedTime, c.clock.BlueTime, c.ui.txtTime.Caption),
                  std::tuple(8, redAfter, blueAfter, std::string(shown)));
    }
}

TEST(GameClock, CountsTheSecondsThatHavePassedNotTheTicksNorTheTimeItStoodStill)
{
    LoneClock c;
    c.clock.start(0);
    for (const int64_t interval : {990, 1012, 995, 1003, 4400}) // a little early or late, then 3.4 s late
        c.tick(interval);
    EXPECT_EQ(c.clock.GameSeconds, 8);
    c.tick(600);
    EXPECT_EQ(c.tick(300, true, MarkX, true), 0) << "an early tick counts nothing and decides nothing";
    EXPECT_EQ(c.clock.GameSeconds, 9) << "9.3 s have passed";
    c.clock.stop(), c.now += 60000, c.clock.resume(); // stood still a minute
    c.tick(700);
    EXPECT_TRUE(c.clock.running() && c.ui.Timer1.Restarts == 2u && c.clock.GameSeconds == 10);
    c.now += 700; // resuming a running clock (an undo mid-game) keeps its second under way and the timer
    c.clock.resume(), c.tick(300);
    EXPECT_TRUE(c.clock.GameSeconds == 11 && c.ui.Timer1.Restarts == 2u);
    c.clock.start(30); // a late tick charges the mover all its seconds, and the host's runs out past zero
    EXPECT_EQ(std::tuple(c.ui.Timer1.Restarts, c.clock.GameSeconds, c.ui.txtTime.Caption), std::tuple(3u, 0, std::string()));
    EXPECT_EQ(c.tick(31000, true, MarkO, true, true), 'R');
    EXPECT_EQ(std::pair(c.clock.RedTime, c.clock.BlueTime), std::pair(30, 0));
    c.clock.start(0); // five minutes of ticks each 7 ms late: no drift
    for (int i = 0; i < 300; ++i)
        c.tick(1007);
    EXPECT_EQ(c.clock.GameSeconds, 302) << "302.1 s have passed";
}

// Host and joiner with a 30-second limit and the move lists shown; the host opens.
struct TimedNetworkGame : ::testing::Test, NetworkPair {
    using Copy = NetworkPair::Copy;
    void SetUp() override { connect(true, 30), host.game.command(Menu_Details), joiner.game.command(Menu_Details); }

    void seconds(int n) // both clocks tick after the same time
    {
        for (Copy* c : {&host, &joiner})
            c->now += 1000 * n, c->game.timerFired(1);
    }
    void expectSameOutcome(int moves) // red won on time on both screens, which agree to the last mark
    {
        for (Copy* c : {&host, &joiner})
            EXPECT_EQ(shown(c->game) + " " + std::to_string(c->pieces()),
                      "Red's a winner!!! Moves: " + std::to_string(moves) + " | Red: 1 - Blue: 0, Draw: 0 | " + std::to_string(moves))
                << (c == &host ? "host" : "joiner");
        EXPECT_EQ(std::tuple(host.game.ui.txtTime.Caption, host.game.ui.txtMoves.Caption, host.game.ui.imgUp.Left),
                  std::tuple(joiner.game.ui.txtTime.Caption, joiner.game.ui.txtMoves.Caption, joiner.game.ui.imgUp.Left));
    }
};

TEST_F(TimedNetworkGame, TheJoinersClockWaitsAtZeroForTheHostsWord)
{
    host.clickCell(0, 0), deliverAll(), seconds(29);
    EXPECT_EQ(joiner.game.ui.txtTime.Caption, "Red 00:00:30 - Blue 00:00:01");
    joiner.now += 2000, joiner.game.timerFired(1); // a little ahead, the joiner's clock stops at zero and waits
    EXPECT_TRUE(joiner.game.ui.txtTime.Caption == "Red 00:00:30 - Blue 00:00:00" && !joiner.s().GameOver);
    seconds(1);
    joiner.clickCell(9, 9); // crosses the host's word, which takes it back
    deliverAll();
    EXPECT_EQ(host.transport.sent.back(), "~-~TimeWinnerR");
    expectSameOutcome(1);
    // A late move or a second time win changes nothing.
    joiner.transport.arrive("~-~0505~-~TimeWinnerR~-~TimeWinnerB");
    receive(host, "~-~0505");
    expectSameOutcome(1);
}

TEST_F(TimedNetworkGame, AFiveThatCrossesTheHostsTimeWinIsTakenBackOnTheJoiner)
{
    for (int c = 0; c < 5; ++c) // blue builds four in row 1 while red plays row 0 apart
        host.clickCell(0, 2 * c), deliverAll(), c < 4 ? (joiner.clickCell(1, c), deliverAll()) : void();
    seconds(30); // blue's fifth stone and the host's time win pass each other on the wire
    joiner.clickCell(1, 4);
    EXPECT_TRUE(joiner.s().GameOver && joiner.globals.Score[2] == 1) << "the joiner saw its five";
    deliverAll();
    expectSameOutcome(9);
    EXPECT_TRUE(joiner.game.Board(1, 4) == Empty && !joiner.s().wonByLine);
}

} // namespace
} // namespace brindle::testing
