// The game clock: its time text, the chess clock of a network game, and the
// time win that only the host's clock decides.

#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "support/fakes.h"
#include "support/network_pair.h"

namespace brindle::testing {
namespace {

TEST(SekToTime, WritesHoursMinutesAndSecondsTwoDigitsEachKeepingTheLastTwoOfTheHours)
{
    for (const auto& [seconds, text] :
         {std::pair(0, "00:00:00"), {59, "00:00:59"}, {60, "00:01:00"}, {61, "00:01:01"}, {3599, "00:59:59"},
          {3600, "01:00:00"}, {45296, "12:34:56"}, {359999, "99:59:59"}, {360000, "00:00:00"}})
        EXPECT_EQ(GameClock::SekToTime(seconds), text) << seconds;
}

// A clock on its own, with the monotonic clock in the test's hand.
struct LoneClock {
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
        c.clock.start(0);
        c.tick(7000);
        c.clock.GameSeconds = 7;
        std::tie(c.clock.RedTime, c.clock.BlueTime) = std::tuple(red, blue);
        EXPECT_EQ(c.tick(1000, network, mover, limit, host), winner) << shown;
        c.clock.show(network);
        EXPECT_EQ(std::tuple(c.clock.GameSeconds, c.clock.RedTime, c.clock.BlueTime),
                  std::tuple(8, redAfter, blueAfter));
        EXPECT_EQ(c.ui.txtTime.Caption, shown);
    }
}

TEST(GameClock, CountsTheSecondsThatHavePassedNotTheTicks)
{
    LoneClock c;
    c.clock.start(0);
    // Ticks a little early or late each count their second.
    for (const int64_t interval : {990, 1012, 995, 1003})
        c.tick(interval);
    EXPECT_EQ(c.clock.GameSeconds, 4);
    // A busy window delivers the next tick 3.4 seconds late: it catches up,
    // and the tick that follows soon after counts nothing.
    c.tick(4400);
    EXPECT_EQ(c.clock.GameSeconds, 8);
    c.tick(600);
    EXPECT_EQ(c.clock.GameSeconds, 9) << "9.0 s have passed";
    EXPECT_EQ(c.tick(300, true, MarkX, true), 0) << "an early tick counts nothing and decides nothing";
    EXPECT_EQ(c.clock.GameSeconds, 9);
    // Five minutes of ticks that each come 7 ms late: no drift at all.
    c.clock.start(0);
    for (int i = 0; i < 300; ++i)
        c.tick(1007);
    EXPECT_EQ(c.clock.GameSeconds, 302) << "302.1 s have passed";
}

TEST(GameClock, ALateTickChargesTheMoverAndTheHostsRunsOutEvenPastZero)
{
    LoneClock host;
    host.clock.start(30);
    host.tick(25000, true, MarkO, true, true);
    EXPECT_EQ(host.clock.BlueTime, 5);
    EXPECT_EQ(host.tick(7000, true, MarkO, true, true), 'R');
    EXPECT_EQ(host.clock.BlueTime, 0) << "never below zero";
    EXPECT_EQ(host.clock.RedTime, 30);

    LoneClock joiner;
    joiner.clock.start(30);
    EXPECT_EQ(joiner.tick(31000, true, MarkX, true, false), 0);
    EXPECT_EQ(joiner.clock.RedTime, 0);

    LoneClock noLimit;
    noLimit.clock.start(0);
    noLimit.tick(3000, true, MarkX);
    noLimit.tick(2000, true, MarkO);
    EXPECT_EQ(std::pair(noLimit.clock.RedTime, noLimit.clock.BlueTime), std::pair(3, 2));
}

TEST(GameClock, TheTimeItStoodStillDoesNotCountAndEachFreshStartRestartsTheTimer)
{
    LoneClock c;
    c.clock.start(0);
    EXPECT_EQ(c.ui.Timer1.Restarts, 1u);
    c.tick(2000);
    c.now += 400;
    c.clock.stop();
    EXPECT_FALSE(c.clock.running());
    c.now += 60000;
    c.clock.resume();
    EXPECT_TRUE(c.clock.running());
    EXPECT_EQ(c.ui.Timer1.Restarts, 2u);
    c.tick(1000);
    EXPECT_EQ(c.clock.GameSeconds, 3);

    // Resuming a clock that runs (an undo in the middle of a game) keeps its
    // second under way and the timer as it is.
    c.now += 700;
    c.clock.resume();
    EXPECT_EQ(c.ui.Timer1.Restarts, 2u);
    c.tick(300);
    EXPECT_EQ(c.clock.GameSeconds, 4);

    c.clock.start(60);
    EXPECT_EQ(c.ui.Timer1.Restarts, 3u);
    EXPECT_EQ(std::tuple(c.clock.GameSeconds, c.clock.RedTime, c.clock.BlueTime), std::tuple(0, 60, 60));
    EXPECT_EQ(c.ui.txtTime.Caption, "");
}

TEST(GameClock, RunsInEveryGameAndStopsWithItsEnd)
{
    GameFixture f;
    f.startHumanHuman();
    EXPECT_TRUE(f.game.clock().running());
    f.tick();
    EXPECT_EQ(f.game.ui.txtTime.Caption, "00:00:01");
    f.play({{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 2}, {1, 2}, {0, 3}, {1, 3}, {0, 4}});
    EXPECT_TRUE(f.s().GameOver);
    EXPECT_FALSE(f.game.clock().running());
    f.tick(5000);
    EXPECT_EQ(f.game.ui.txtTime.Caption, "00:00:01");
    // Undo opens the game again and the clock goes on from where it stood.
    f.choose(Menu_Undo);
    EXPECT_TRUE(f.game.clock().running());
    f.tick();
    EXPECT_EQ(f.game.ui.txtTime.Caption, "00:00:02");
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
        f.tick();
    EXPECT_TRUE(f.s().GameOver && !f.game.clock().running() && f.globals.Score[2] == 1);
    EXPECT_EQ(f.peer.sent, std::vector<std::string>{"time winner B"});
    EXPECT_EQ(f.game.ui.txtTime.Caption, "Red 00:00:00 - Blue 00:00:30");
    f.tick(); // the clock has stopped
    EXPECT_EQ(f.game.clock().GameSeconds, 30);
}

// Host and joiner with a 30-second limit; the host opens.
class TimedNetworkGame : public ::testing::Test, protected NetworkPair {
protected:
    void SetUp() override { connect(true, 30); }

    // Both copies' clocks tick after the same time.
    void seconds(int n)
    {
        for (Copy* c : {&host, &joiner}) {
            c->now += 1000 * n;
            c->game.timerFired(1);
        }
    }
    void expectSameOutcome(int moves)
    {
        for (Copy* c : {&host, &joiner}) {
            SCOPED_TRACE(c == &host ? "host" : "joiner");
            EXPECT_TRUE(c->s().GameOver);
            EXPECT_EQ(c->s().MoveCount, moves);
            EXPECT_EQ(c->pieces(), moves);
            EXPECT_EQ(c->game.ui.lblHvisTur.BackColor, Red);
            EXPECT_EQ(c->game.ui.lblPlacer.Caption, "'s a winner!!!");
            EXPECT_EQ(c->game.ui.lblComp.Caption, "Red: 1 - Blue: 0\r\nDraw: 0");
            EXPECT_EQ(c->game.clock().BlueTime, 0);
            EXPECT_FALSE(c->game.clock().running());
        }
        EXPECT_EQ(host.game.ui.txtTime.Caption, joiner.game.ui.txtTime.Caption);
        EXPECT_EQ(joiner.game.ui.txtMoves.Caption, host.game.ui.txtMoves.Caption);
        for (const Control Ui::*marker : {&Ui::imgLeft, &Ui::imgUp})
            EXPECT_EQ(std::pair((joiner.game.ui.*marker).Left, (joiner.game.ui.*marker).Top),
                      std::pair((host.game.ui.*marker).Left, (host.game.ui.*marker).Top));
    }

    // The pieces drawn on the joiner's board since it was last cleared.
    int piecesDrawnSinceClear() const
    {
        int n = 0;
        for (const CanvasOp& op : joiner.canvas.ops) {
            if (op.kind == CanvasOp::Clear)
                n = 0;
            else if (op.kind == CanvasOp::Fill && (op.colour == Red || op.colour == Blue))
                ++n;
        }
        return n;
    }

    using Copy = NetworkPair::Copy;
};

TEST_F(TimedNetworkGame, TheJoinersClockWaitsAtZeroForTheHostsWord)
{
    host.clickCell(0, 0);
    deliverAll();
    seconds(29);
    EXPECT_EQ(joiner.game.ui.txtTime.Caption, "Red 00:00:30 - Blue 00:00:01");
    // The joiner's clock is a little ahead: it stops at zero and waits.
    joiner.now += 2000;
    joiner.game.timerFired(1);
    EXPECT_EQ(joiner.game.ui.txtTime.Caption, "Red 00:00:30 - Blue 00:00:00");
    EXPECT_FALSE(joiner.s().GameOver);
    seconds(1);
    deliverAll();
    EXPECT_EQ(host.transport.sent.back(), "~-~TimeWinnerR");
    expectSameOutcome(1);
    // A move the joiner could still send arrives after the end and is ignored.
    joiner.transport.arrive("~-~0505");
    host.transport.arrive("~-~0505");
    deliverAll();
    expectSameOutcome(1);
}

TEST_F(TimedNetworkGame, AFiveThatCrossesTheHostsTimeWinIsTakenBackOnTheJoiner)
{
    // Blue builds four in row 1 while red plays row 0 apart.
    for (int c = 0; c < 4; ++c) {
        host.clickCell(0, 2 * c);
        deliverAll();
        joiner.clickCell(1, c);
        deliverAll();
    }
    host.clickCell(5, 5);
    deliverAll();
    // Blue's fifth stone and the host's time win pass each other on the wire.
    seconds(30);
    joiner.clickCell(1, 4);
    EXPECT_TRUE(joiner.s().GameOver);
    EXPECT_EQ(joiner.globals.Score[2], 1) << "the joiner saw its five";
    deliverAll();
    expectSameOutcome(9);
    EXPECT_EQ(joiner.game.Board(1, 4), Empty);
    EXPECT_FALSE(joiner.s().wonByLine);
    EXPECT_EQ(piecesDrawnSinceClear(), 9) << "the board is drawn again without the five";
}

TEST_F(TimedNetworkGame, AnOrdinaryMoveThatCrossesItIsTakenBackAndASecondTimeWinChangesNothing)
{
    host.clickCell(0, 0);
    deliverAll();
    seconds(30);
    joiner.clickCell(9, 9);
    deliverAll();
    expectSameOutcome(1);
    joiner.transport.arrive("~-~TimeWinnerR~-~TimeWinnerB");
    deliverAll();
    expectSameOutcome(1);
}

// Blue opens on a board where no five is possible any more.
class TimedNetworkDraw : public TimedNetworkGame {
protected:
    void SetUp() override
    {
        connect(/*hostOpens=*/false, 30);
        // Pairs of a colour along each row, the colours swapping from row
        // to row: no line of five has room for one colour alone.
        for (Copy* c : {&host, &joiner})
            for (int r = 0; r < BoardSize; ++r)
                for (int col = 0; col < BoardSize; ++col)
                    if ((r != 0 || col != 0) && (r != 10 || col != 10))
                        c->game.setBoard(r, col, (col / 2 + r) % 2 == 0 ? MarkX : MarkO);
    }
};

TEST_F(TimedNetworkDraw, ADrawingFirstMoveThatCrossesItIsTakenBackWithTheDraw)
{
    seconds(30);
    joiner.clickCell(0, 0);
    ASSERT_TRUE(joiner.s().drawn);
    EXPECT_EQ(joiner.game.ui.lblComp.Caption, "Red: 0 - Blue: 0\r\nDraw: 1");
    deliverAll();
    EXPECT_EQ(joiner.game.Board(0, 0), Empty);
    EXPECT_EQ(joiner.s().MoveCount, 0);
    EXPECT_FALSE(joiner.s().drawn);
    EXPECT_EQ(joiner.game.ui.lblDraw.Top, Parked);
    EXPECT_TRUE(joiner.game.ui.lblHvisTur.Visible);
    for (Copy* c : {&host, &joiner}) {
        EXPECT_EQ(c->game.ui.lblComp.Caption, "Red: 1 - Blue: 0\r\nDraw: 0");
        EXPECT_EQ(c->game.ui.lblHvisTur.BackColor, Red);
    }
}

} // namespace
} // namespace brindle::testing
