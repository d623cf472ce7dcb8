// Two complete copies of the game, host and joiner, playing over an in-memory
// socket: hosting, joining, the turns, leaving, and every input a peer could
// send that must leave no trace.

#include <algorithm>
#include <functional>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/network_pair.h"

namespace brindle::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Copy = NetworkPair::Copy;
using Result = NetSession::JoinResult;
const std::string LeftBox = "Brindle: Your opponent has left the board.";
const std::string Leave = "~-~Your opponent has left the board.";
const std::string Names = "Brindle.   Ann(red) - Bob(blue)";

// A copy as its player finds it: caption, pointer, time box, the items that
// can be chosen, the clock, the score (red, blue, draws), the pieces, and
// "live" while the session counts an opponent.
std::string seen(const Copy& c)
{
    const Ui& ui = c.game.ui;
    std::string s = ui.Caption + (ui.MousePointer == PointerHourglass ? " | wait | " : " | arrow | ") + ui.txtTime.Caption + " |";
    for (const auto& [item, name] : {std::pair{Menu_New, " New"}, {Menu_Undo, " Undo"}, {Menu_Autodraw, " Autodraw"},
                                     {Menu_Send, " Send"}, {Menu_Stop, " Stop"}})
        if (ui.Menu[item].Enabled && ui.Menu[item].Visible && ui.Menu[TopMenuOf(item)].Visible)
            s += name;
    const auto& score = c.globals.Score;
    return s + (ui.Timer1.Enabled ? " | clock | " : " | ") + std::to_string(score[1]) + "-" + std::to_string(score[2]) +
           "-" + std::to_string(score[3]) + " | pieces " + std::to_string(c.pieces()) + (c.session.live() ? " | live" : "");
}

class NetworkGame : public ::testing::Test, protected NetworkPair {};

TEST_F(NetworkGame, HostingWaitsWithOnlyStopAndConnectingShowsBothNamesInLatin1ClearsTheScoresAndTheTossOpens)
{
    host.globals.Score = {0, 4, 2, 1};
    joiner.globals.Score = {0, 1, 1, 1};
    host.game.enable(Menu_New, false); // as an opponent's leaving leaves it
    host.session.openDialog = [this] {
        EXPECT_FALSE(host.game.ui.Timer1.Enabled);
        host.game.ui.Timer1.Enabled = true; // hosting stops it too, whatever ran in between
    };
    ASSERT_EQ(startHosting(1), Transport::ListenError::None); // the shortest limit the wire can carry
    EXPECT_EQ(seen(host), "Brindle. | wait | Waiting for player... | Stop | 4-2-1 | pieces 0");
    host.clickCell(3, 3);
    EXPECT_EQ(host.sound.beeps(), 1);

    // Whatever connects shows no text until its probe says it is a copy of the game.
    host.transport.arrive("GET / HTTP/1.1\r\n\r\n");
    host.settings.write("HostAm", "Ann 猫"); // a toss of exactly one half lets blue open
    ASSERT_EQ(join(0.5f), Result::Connected);
    joiner.session.sendChat("Zoë says hi ");
    joiner.session.sendChat("");
    deliverAll();
    EXPECT_THAT(host.transport.sent, ElementsAre("~-~0001NEWGAMEOAnn ?"));
    EXPECT_THAT(joiner.transport.sent, ElementsAre("~-~Check if connectedBob", "Zo\xEB says hi "));
    EXPECT_THAT(host.dialogs.boxes, ElementsAre("Brindle: Zoë says hi"));
    EXPECT_EQ(seen(host), "Brindle.   Ann 猫(red) - Bob(blue) | wait |  | New Send | clock | 0-0-0 | pieces 0 | live");
    EXPECT_EQ(seen(joiner), "Brindle.   Ann ?(red) - Bob(blue) | arrow |  | Send | clock | 0-0-0 | pieces 0 | live");
    EXPECT_EQ(host.game.ui.lblComp.Caption + joiner.game.ui.lblComp.Caption, "Red: 0 - Blue: 0\r\nDraw: 0Red: 0 - Blue: 0\r\nDraw: 0");
    EXPECT_TRUE(joiner.globals.TimeLimitSec == 1 && joiner.globals.TimeLimitOn && joiner.s().NextMark == MarkO);
    EXPECT_EQ(joiner.settings.read("JoinIP", "") + " " + joiner.settings.read("PlayerAm", ""), "host.example Bob");
    // A second joiner is not taken.
    host.transport.joinerWaiting = true;
    host.session.Winsock1_ConnectionRequest();
    EXPECT_THAT(host.transport.calls, ElementsAre("listen 1002", "accept"));
}

// A move counts only on the peer's turn, on an empty cell, in a game under
// way; each side ignores what only the other may send; only the host starts
// a game, and never while the peer's move may be on its way.
TEST_F(NetworkGame, WhatAPeerSendsCountsOnlyOnItsTurnAndFromTheSideThatMaySendIt)
{
    connect();
    host.clickCell(4, 4), deliverAll();
    EXPECT_TRUE(host.game.command(Menu_New)); // blue's move may be on its way: a new game could take it in
    EXPECT_EQ(host.sound.beeps() * 10 + host.pieces(), 11);
    joiner.clickCell(7, 7), deliverAll();
    EXPECT_FALSE(joiner.game.command(Menu_New));
    std::string markers; // a flood, each marker ending the one before, read in a loop and not a recursion as deep
    for (int i = 0; i < 100000; ++i)
        markers += protocol::Marker;
    for (const auto& [side, bytes] :
         {std::pair{&host, "~-~0505"}, {&joiner, "~-~0404"}, {&joiner, "~-~2005"}, {&joiner, "~-~TimeWinnerQ"},
          {&joiner, "~-~0000NEWGAMEZ"}, {&host, "~-~0060NEWGAMEXMallory"}, {&host, "~-~TimeWinnerB"},
          {&joiner, "~-~Check if connectedX"}, {&joiner, markers.c_str()}}) {
        const std::string before = seen(*side);
        receive(*side, bytes);
        EXPECT_EQ(seen(*side), before) << std::string_view(bytes).substr(0, 40);
    }
    // The last marker waits half a second at most; a move in two pieces is placed once, whole.
    joiner.now += 501;
    receive(joiner, "0505~-~12");
    EXPECT_THAT(joiner.dialogs.boxes, ElementsAre("Brindle: 0505"));
    receive(joiner, "13");
    EXPECT_EQ(joiner.game.Board(12, 13), MarkX);
    receive(joiner, "~-~TimeWinnerB~-~TimeWinnerB");
    EXPECT_EQ(seen(joiner), Names + " | arrow | Red 00:00:00 - Blue 00:00:00 | Send | 0-1-0 | pieces 3 | live");

    joiner.globals.TimeLimitOn = true;
    host.random.push({0.25f});
    EXPECT_TRUE(host.game.command(Menu_New));
    deliverAll();
    EXPECT_EQ(seen(joiner), Names + " | arrow |  | Send | clock | 0-1-0 | pieces 0 | live");
    EXPECT_FALSE(joiner.globals.TimeLimitOn) << "a new game without a limit ends an earlier one's";
    // Half a move, then the socket closes: what comes after counts for nothing.
    receive(host, "~-~03");
    host.session.Close();
    host.transport.state = Transport::Connected;
    receive(host, "07~-~0101");
    EXPECT_EQ(host.pieces(), 0);
}

// What arrives is handled in order: behind an open box, or a move being
// judged, what comes next waits.
TEST_F(NetworkGame, MessagesWaitTheirTurnBehindAnOpenBoxOrAMoveBeingJudged)
{
    connect();
    joiner.events.duringNextPass([this] {
        receive(joiner, "mid-move~-~0808");
        EXPECT_THAT(joiner.dialogs.boxes, IsEmpty()) << "what comes while a move is placed waits";
    });
    joiner.dialogs.whileOpen = [this] {
        receive(joiner, "second");
        EXPECT_EQ(joiner.dialogs.boxes.size(), 1u);
    };
    receive(joiner, "~-~0303Good luck!");
    EXPECT_THAT(joiner.dialogs.boxes, ElementsAre("Brindle: Good luck!", "Brindle: mid-move", "Brindle: second"));
    EXPECT_EQ(joiner.pieces(), 1) << "the second move is out of turn";
}

// However the game ends early, the one left behind is told once, after what
// came before; its game is aborted with the board kept, and the socket
// closing later is no second end.
TEST(NetworkGameEnd, IsToldOnceAndAbortsTheOtherSide)
{
    const struct { const char* how; bool hostStays, leaverTold; int pieces; std::function<void(NetworkPair&)> act; } ways[] = {
        {"the joiner chooses another mode", true, true, 1, [](NetworkPair& p) { p.joiner.game.command(Menu_HumanHuman); }},
        {"the host chooses another mode", false, true, 1, [](NetworkPair& p) { p.host.game.command(Menu_ComputerComputer); }},
        {"the socket vanishes after a move", true, false, 2, [](NetworkPair& p) {
             p.host.transport.arrive("~-~0909"), p.host.transport.state = Transport::Closed, p.host.session.connectionLost();
         }},
        {"a send fails", false, false, 2, [](NetworkPair& p) { p.joiner.transport.brokenSends = true, p.joiner.clickCell(6, 6); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        NetworkPair pair;
        pair.connect();
        pair.host.clickCell(1, 1), pair.deliverAll();
        way.act(pair), pair.deliverAll();
        Copy& stays = way.hostStays ? pair.host : pair.joiner;
        Copy& leaves = way.hostStays ? pair.joiner : pair.host;

        EXPECT_THAT(stays.dialogs.boxes, ElementsAre(LeftBox));
        EXPECT_EQ(seen(stays), Names + " | arrow | Game aborted. | | 0-0-0 | pieces " + std::to_string(way.pieces));
        if (way.leaverTold) {
            EXPECT_TRUE(leaves.transport.sent.back() == Leave && leaves.transport.state == Transport::Closed);
            EXPECT_THAT(leaves.dialogs.boxes,
                        ElementsAre("Brindle: You have left the game.\r\n\r\nYou both have to reconnect to play again."));
        }
        const size_t sent = stays.transport.sent.size();
        stays.session.sendChat("anyone?");
        stays.session.connectionLost();
        stays.clickCell(2, 2);
        EXPECT_EQ(stays.sound.beeps() * 10 + stays.transport.sent.size(), 10 + sent) << "a click beeps, nothing goes out";
        // Another mode after the opponent left closes without telling the player.
        stays.game.command(Menu_HumanComputer);
        EXPECT_EQ(stays.transport.state, Transport::Closed);
        EXPECT_EQ(stays.dialogs.boxes.size(), 1u);
        // A new connection plays as the first did.
        pair.joiner.transport.brokenSends = false;
        pair.connect();
        pair.host.clickCell(3, 3), pair.deliverAll(), pair.joiner.clickCell(4, 4), pair.deliverAll();
        EXPECT_EQ(seen(pair.host), Names + " | arrow |  | New Send | clock | 0-0-0 | pieces 2 | live");
    }
}

TEST_F(NetworkGame, LeavingWaitsForTimer4OnceAndShutsTheBoardAndTheDoorMeanwhile)
{
    connect(/*hostOpens=*/false);
    ASSERT_TRUE(joiner.game.ui.Timer1.Enabled);
    joiner.events.duringNextPass([this] {
        EXPECT_TRUE(joiner.game.ui.txtTime.Caption == "Disconnecting..." && !joiner.game.ui.Timer1.Enabled);
        joiner.game.timerFired(4); // the tick ends the wait before its time is up
        joiner.clickCell(0, 0);    // the joiner's turn, but it is leaving
        joiner.session.Disconnect(true);
        receive(joiner, "~-~0030NEWGAMEXAnn" + Leave);
    });
    const int paused = joiner.events.pausedMilliseconds;
    joiner.session.Disconnect(true);
    EXPECT_THAT(joiner.events.waits, ElementsAre(1000, 2000));
    EXPECT_EQ(joiner.events.pausedMilliseconds, paused);
    EXPECT_TRUE(!joiner.game.ui.Timer4.Enabled && joiner.game.ui.txtTime.Caption.empty() && joiner.pieces() == 0);
    EXPECT_EQ(std::count(joiner.transport.sent.begin(), joiner.transport.sent.end(), Leave), 1);
    EXPECT_EQ(joiner.dialogs.boxes.size(), 1u);
    EXPECT_TRUE(joiner.globals.TimeLimitSec == 0 && joiner.s().NextMark == MarkO) << "the late new game was not taken";
}

// A refused connection or an address that cannot be one fails at once, a
// silent one after thirty tries a second apart; each may be tried again.
TEST(NetworkGameJoin, FailsAtOnceOrAfterThirtySecondsOfSilenceOrWhenGivenUp)
{
    const struct { const char* field; int32_t outcome; Result result; std::vector<std::string> calls; int waits; } cases[] = {
        {"10.0.0.9:2000", Transport::Failed, Result::Failed, {"connect 10.0.0.9 2000", "close"}, 0},
        {"[::1]", Transport::Connecting, Result::Failed, {"connect ::1 1002", "close"}, 30},
        {"host:99999", Transport::Connected, Result::Failed, {}, 0},
        {"given up", Transport::Connecting, Result::Cancelled, {"connect given up 1002", "close"}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        NetworkPair pair;
        Copy& joiner = pair.joiner;
        pair.joinerPicksJoin(c.outcome);
        if (c.result == Result::Cancelled) // given up while it waits
            joiner.events.duringNextPass([&] { joiner.session.joining() ? joiner.session.cancelJoin() : void(); });
        EXPECT_EQ(joiner.session.join(c.field, "Bob"), c.result);
        EXPECT_EQ(joiner.transport.calls, c.calls);
        EXPECT_EQ(joiner.events.waits, std::vector<int>(c.waits, 1000));
        EXPECT_EQ(joiner.events.pausedMilliseconds, c.result == Result::Failed ? 1000 * c.waits : 0);
        EXPECT_TRUE(!joiner.session.joining() && !joiner.session.live() && joiner.settings.values.empty());

        joiner.transport.connectOutcome = Transport::Connected;
        pair.startHosting();
        EXPECT_EQ(pair.join(), Result::Connected);
    }
}

TEST_F(NetworkGame, TheJoinerWaitsForTheHostsFirstGameBeforeItMayMove)
{
    // The probe gets through but no game has come yet (a slow host).
    joinerPicksJoin(Transport::Connected);
    EXPECT_EQ(joiner.session.join("host.example", "Bob"), Result::Connected);
    EXPECT_TRUE(joiner.globals.NetPending && !joiner.session.live() && joiner.game.ui.Caption == "Brindle.");
    joiner.clickCell(3, 3);
    EXPECT_EQ(joiner.sound.beeps(), 1);
    // Moves before the first game are nobody's, and text from whatever answered is not shown.
    receive(joiner, "~-~0303HTTP/1.1 400 Bad Request\r\n");
    EXPECT_THAT(joiner.dialogs.boxes, IsEmpty());
    receive(joiner, "~-~0060NEWGAMEOAnn");
    EXPECT_EQ(seen(joiner), Names + " | arrow |  | Send | clock | 0-0-0 | pieces 0 | live");
    EXPECT_THAT(joiner.transport.sent, ElementsAre("~-~Check if connectedBob"));

    // A join made anew keeps nothing of that game, not even its having been one.
    joiner.transport.calls.clear();
    EXPECT_EQ(joiner.session.join("other.example", "Bob"), Result::Connected);
    EXPECT_THAT(joiner.transport.calls, ElementsAre("close", "connect other.example 1002"));
    receive(joiner, "HTTP/1.1 400 Bad Request");
    EXPECT_THAT(joiner.dialogs.boxes, IsEmpty());

    // A host that leaves right after its first game has joined all the same, and left: one box.
    startHosting();
    host.random.push({0.75f});
    joiner.events.duringNextPass([this] {
        hostAccepts();
        joiner.transport.state = Transport::Closed, joiner.session.connectionLost();
    });
    EXPECT_EQ(joiner.session.join("host.example", "Bob"), Result::Connected);
    EXPECT_THAT(joiner.dialogs.boxes, ElementsAre(LeftBox));
    EXPECT_EQ(seen(joiner), Names + " | arrow | Game aborted. | | 0-0-0 | pieces 0");
}

} // namespace
} // namespace brindle::testing
