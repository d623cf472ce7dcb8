// The game clock: its time text, the chess clock of a network game, and the
// time win that only the host's clock decides.

#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace brindle::testing {
namespace {

TEST(SekToTime, WritesHoursMinutesAndSecondsTwoDigitsEachKeepingTheLastTwoOfTheHours)
{
    for (const auto& [seconds, text] :
         {std::pair(0, "00:00:00"), {59, "00:00:59"}, {60, "00:01:00"}, {61, "00:01:01"}, {3599, "00:59:59"},
          {3600, "01:00:00"}, {45296, "12:34:56"}, {359999, "99:59:59"}, {360000, "00:00:00"}})
        EXPECT_EQ(GameClock::SekToTime(seconds), text) << seconds;
}

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
        Ui ui;
        GameClock clock(ui);
        clock.start(0);
        clock.GameSeconds = 7;
        std::tie(clock.RedTime, clock.BlueTime) = std::tuple(red, blue);
        EXPECT_EQ(clock.tick(network, mover, limit, host), winner) << shown;
        clock.show(network);
        EXPECT_EQ(std::tuple(clock.GameSeconds, clock.RedTime, clock.BlueTime), std::tuple(8, redAfter, blueAfter));
        EXPECT_EQ(ui.txtTime.Caption, shown);
    }
}

TEST(GameClock, OnTheHostTheMoversLastSecondEndsTheGameAndTellsTheJoiner)
{
    GameFixture f;
    f.globals.TimeLimitOn = true;
    f.globals.TimeLimitSec = 30;
    f.globals.NetRole = "HOST";
    f.startUp();
    f.game.check(Menu_HumanComputer, false);
    f.game.check(Menu_Network, true);
    for (int second = 1; second <= 30; ++second)
        f.game.timerFired(1);
    EXPECT_TRUE(f.s().GameOver && !f.game.clock().running() && f.globals.Score[2] == 1);
    EXPECT_EQ(f.peer.sent, std::vector<std::string>{"time winner B"});
    EXPECT_EQ(f.game.ui.txtTime.Caption, "Red 00:00:00 - Blue 00:00:30");
    f.game.timerFired(1); // the clock has stopped
    EXPECT_EQ(f.game.clock().GameSeconds, 30);
}

} // namespace
} // namespace brindle::testing
