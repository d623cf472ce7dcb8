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
const std::string LeftBox = "Brindle: Your opponent has left the board.";

class NetworkGame : public ::testing::Test, protected NetworkPair {
protected:
    void playAndDeliver(Copy& side, int row, int col) { side.clickCell(row, col), deliverAll(); }
    // The joiner chooses "Network game" and fills in the dialog, without a host to accept.
    void joinerPicksJoin(int32_t connectOutcome)
    {
        joiner.session.Menu_Network_Click();
        joiner.globals.NetRole = "CLIENT", joiner.globals.NetPending = true;
        joiner.transport.connectOutcome = connectOutcome;
    }
};

TEST_F(NetworkGame, HostingStopsTheClockAndWaitsWithOnlyStopUntilAJoinerShowsItIsAGame)
{
    ASSERT_TRUE(host.game.ui.Timer1.Enabled);
    host.session.Menu_Network_Click();
    EXPECT_FALSE(host.game.ui.Timer1.Enabled);
    host.game.ui.Timer1.Enabled = true; // hosting stops it too, whatever ran in between
    host.globals.NetRole = "HOST", host.settings.write("HostAm", "Ann");
    ASSERT_EQ(host.session.host(), Transport::ListenError::None);
    EXPECT_EQ(host.transport.state, Transport::Listening);
    EXPECT_EQ(host.game.ui.MousePointer, PointerHourglass);
    EXPECT_EQ(host.game.ui.txtTime.Caption, "Waiting for player...");
    EXPECT_FALSE(host.game.ui.Timer1.Enabled || host.game.ui.Menu[Menu_Game].Visible);
    EXPECT_TRUE(host.game.ui.Menu[Menu_Stop].Visible && host.game.checked(Menu_Network));
    EXPECT_FALSE(host.game.checked(Menu_HumanComputer));
    host.clickCell(3, 3);
    EXPECT_EQ(host.sound.beeps() * 10 + host.pieces(), 10) << "a click while waiting beeps";

    // Whatever connects shows no text until its probe says it is a copy of the game.
    host.transport.joinerWaiting = true;
    host.random.push({0.75f});
    host.session.Winsock1_ConnectionRequest();
    receive(host, "GET / HTTP/1.1\r\n\r\n");
    EXPECT_THAT(host.dialogs.boxes, IsEmpty());
    receive(host, "~-~Check if connectedBob");
    receive(host, "hello");
    EXPECT_THAT(host.dialogs.boxes, ElementsAre("Brindle: hello"));
    // A second joiner is not taken.
    const auto calls = host.transport.calls;
    host.transport.joinerWaiting = true;
    host.session.Winsock1_ConnectionRequest();
    EXPECT_EQ(host.transport.calls, calls);
    EXPECT_EQ(host.transport.sent.size(), 1u);
}

TEST_F(NetworkGame, StopWhileHostingShutsTheDoor)
{
    startHosting();
    host.random.push({0.25f});
    EXPECT_TRUE(host.game.command(Menu_Stop));
    EXPECT_TRUE(host.game.checked(Menu_HumanComputer) && !host.game.checked(Menu_Network));
    host.transport.joinerWaiting = true;
    host.session.Winsock1_ConnectionRequest();
    EXPECT_FALSE(host.session.live());
    EXPECT_THAT(host.transport.calls, ElementsAre("listen 1002", "close"));
}

TEST_F(NetworkGame, ConnectingShowsBothNamesInLatin1ClearsTheScoresAndTheTossOpens)
{
    host.globals.Score = {0, 4, 2, 1};
    joiner.globals.Score = {0, 1, 1, 1};
    host.game.enable(Menu_New, false); // as an opponent's leaving leaves it
    startHosting(120);
    host.settings.write("HostAm", "Ann 猫"); // a toss of exactly one half lets blue open
    ASSERT_EQ(join(0.5f), NetSession::JoinResult::Connected);

    EXPECT_THAT(host.transport.sent[0], "~-~0120NEWGAMEOAnn ?");
    EXPECT_THAT(joiner.transport.sent, ElementsAre("~-~Check if connectedBob"));
    for (Copy* c : {&host, &joiner}) {
        SCOPED_TRACE(c == &host ? "host" : "joiner");
        EXPECT_EQ(c->game.ui.Caption, "Brindle.   " + c->globals.HostName + "(red) - Bob(blue)");
        EXPECT_EQ(c->game.ui.lblComp.Caption, "Red: 0 - Blue: 0\r\nDraw: 0");
        EXPECT_TRUE(!c->globals.NetPending && c->session.live() && c->s().NextMark == MarkO);
        EXPECT_TRUE(c->game.ui.Menu[Menu_Send].Enabled && c->game.ui.Menu[Menu_Game].Visible);
        for (MenuId item : {Menu_Autodraw, Menu_Undo, Menu_RejectUndo})
            EXPECT_FALSE(c->game.ui.Menu[item].Enabled);
        EXPECT_TRUE(c->globals.TimeLimitSec == 120 && c->globals.TimeLimitOn);
    }
    // Blue opens: the host waits, the joiner may move.
    EXPECT_EQ(host.game.ui.MousePointer, PointerHourglass);
    EXPECT_EQ(joiner.game.ui.MousePointer, PointerDefault);
    EXPECT_TRUE(host.game.ui.Menu[Menu_New].Enabled && !joiner.game.ui.Menu[Menu_New].Enabled);
    EXPECT_EQ(joiner.globals.HostName, "Ann ?") << "names travel in Latin-1";
    EXPECT_EQ(joiner.settings.read("JoinIP", ""), "host.example");
    EXPECT_EQ(joiner.settings.read("PlayerAm", ""), "Bob");
}

TEST_F(NetworkGame, OnlyTheHostStartsAGameAndNeverWhileThePeersMoveMayBeOnItsWay)
{
    host.game.check(Menu_Details, true);
    connect();
    joiner.clickCell(2, 2);
    EXPECT_EQ(joiner.sound.beeps() * 10 + joiner.pieces(), 10) << "a click on the peer's turn beeps";
    playAndDeliver(host, 5, 5);
    EXPECT_TRUE(host.game.command(Menu_New)); // blue's move may be on its way: a new game could take it in
    EXPECT_EQ(host.sound.beeps() * 10 + host.s().MoveCount, 11);
    playAndDeliver(joiner, 9, 5);
    EXPECT_EQ(host.game.ui.txtMoves.Caption.substr(0, 14), "2: (10,6)   \r\n") << "a move from the wire has no score";

    EXPECT_FALSE(joiner.game.command(Menu_New));
    joiner.globals.TimeLimitOn = true, joiner.globals.TimeLimitSec = 30;
    host.random.push({0.25f});
    EXPECT_TRUE(host.game.command(Menu_New));
    deliverAll();
    EXPECT_EQ(host.transport.sent.back(), "~-~0000NEWGAMEOAnn");
    EXPECT_TRUE(joiner.s().MoveCount == 0 && !joiner.s().GameOver && joiner.s().NextMark == MarkO);
    EXPECT_FALSE(joiner.globals.TimeLimitOn) << "a new game without a limit ends an earlier one's";
}

// Bytes a peer might send that must not touch the board or the score.
TEST_F(NetworkGame, AMoveCountsOnlyOnThePeersTurnOnAnEmptyCellAndNothingOnceTheSocketIsClosed)
{
    connect();
    playAndDeliver(host, 4, 4);
    const auto untouched = [this](const char* bytes) {
        SCOPED_TRACE(bytes);
        const int32_t moves = joiner.s().MoveCount;
        const auto score = joiner.globals.Score;
        receive(joiner, bytes);
        EXPECT_EQ(joiner.s().MoveCount, moves);
        EXPECT_EQ(joiner.pieces(), moves);
        EXPECT_EQ(joiner.globals.Score, score);
    };
    // Now the joiner is to move: the host's second move is out of turn.
    untouched("~-~0505");
    untouched("~-~0404"); // occupied, and out of turn
    playAndDeliver(joiner, 7, 7);
    for (const char* bytes : {"~-~0404", "~-~2005", "~-~05-1", "~-~ 5 5", "~-~TimeWinnerQ", "~-~0000NEWGAMEZ", "~-~"})
        untouched(bytes);
    joiner.now += 1000;

    // A proper move on the host's turn is placed once, whole, also in two pieces.
    receive(joiner, "~-~12");
    EXPECT_EQ(joiner.s().MoveCount, 2);
    receive(joiner, "13");
    EXPECT_EQ(joiner.s().MoveCount, 3);
    EXPECT_EQ(joiner.game.Board(12, 13), MarkX);

    // Half a move, then the socket closes: what comes after counts for nothing.
    receive(joiner, "~-~03");
    joiner.session.Close();
    EXPECT_FALSE(joiner.session.live());
    joiner.transport.state = Transport::Connected;
    receive(joiner, "07~-~0101");
    EXPECT_EQ(joiner.pieces(), 3);
}

TEST_F(NetworkGame, EachSideIgnoresWhatOnlyTheOtherMaySendAndTheJoinerTakesATimeWinOnce)
{
    connect();
    host.transport.arrive("~-~0060NEWGAMEXMallory");
    host.transport.arrive("~-~TimeWinnerB");
    joiner.transport.arrive("~-~Check if connectedX"); // the joiner ignores the probe
    deliverAll();
    EXPECT_EQ(host.globals.HostName, "Ann");
    EXPECT_EQ(host.globals.TimeLimitSec, 60); // as it was
    EXPECT_FALSE(host.s().GameOver);
    EXPECT_EQ(host.globals.Score[2], 0);
    EXPECT_EQ(joiner.globals.PlayerName, "Bob");

    receive(joiner, "~-~TimeWinnerB~-~TimeWinnerB");
    EXPECT_TRUE(joiner.s().GameOver && joiner.game.ui.lblHvisTur.BackColor == Blue);
    EXPECT_EQ(joiner.globals.Score[2], 1);
    EXPECT_EQ(joiner.game.clock().RedTime, 0);
}

// What arrives is handled in order: a box open, a move being judged or half a
// message keeps what comes behind waiting, and never longer than it must.
TEST_F(NetworkGame, MessagesWaitTheirTurnBehindAnOpenBoxAMoveBeingJudgedOrHalfAMessage)
{
    connect();
    joiner.events.duringNextPass([this] {
        receive(joiner, "mid-move");
        EXPECT_THAT(joiner.dialogs.boxes, IsEmpty()) << "what comes while a move is placed waits";
    });
    receive(joiner, "~-~0303Good luck!");
    EXPECT_EQ(joiner.game.Board(3, 3), MarkX);
    EXPECT_THAT(joiner.dialogs.boxes, ElementsAre("Brindle: Good luck!", "Brindle: mid-move"));

    size_t shownWhileFirstOpen = 0;
    joiner.dialogs.whileOpen = [&] {
        receive(joiner, "second ~-~0808");
        shownWhileFirstOpen = joiner.dialogs.boxes.size();
        EXPECT_EQ(joiner.s().MoveCount, 1);
    };
    receive(joiner, "   first   ");
    EXPECT_EQ(shownWhileFirstOpen, 3u);
    EXPECT_THAT(joiner.dialogs.boxes, ElementsAre("Brindle: Good luck!", "Brindle: mid-move", "Brindle: first", "Brindle: second"));
    EXPECT_EQ(joiner.game.Board(8, 8), Empty) << "out of turn";

    // The host's reply arrives while its own move is still being placed: it
    // waits until that move has been judged and the turn passed.
    host.events.duringNextPass([this] {
        host.transport.arrive("~-~0202");
        host.transport.deliver();
        host.transport.arrive("well played");
        host.transport.deliver();
        EXPECT_EQ(host.s().MoveCount, 1);
        EXPECT_THAT(host.dialogs.boxes, IsEmpty());
    });
    host.clickCell(1, 1);
    EXPECT_EQ(host.s().MoveCount, 2);
    EXPECT_EQ(host.game.Board(2, 2), MarkO);
    EXPECT_EQ(host.game.ui.MousePointer, PointerDefault);
    EXPECT_THAT(host.dialogs.boxes, ElementsAre("Brindle: well played"));

    // Half a message waits half a second at most.
    receive(host, "~-~03");
    host.now += 501;
    receive(host, "05");
    EXPECT_EQ(host.s().MoveCount, 2);
    EXPECT_THAT(host.dialogs.boxes, ElementsAre("Brindle: well played", "Brindle: 05"));
}

// However the game ends early, the one left behind is told once, its game is
// aborted with the board kept, and the socket closing later is no second end.
TEST(NetworkGameEnd, IsToldOnceAndAbortsTheOtherSide)
{
    const struct {
        const char* how;
        bool hostNotices, leaverTold;
        std::function<void(NetworkPair&)> act;
    } ways[] = {
        {"the joiner chooses another mode", true, true, [](NetworkPair& p) { p.joiner.game.command(Menu_HumanHuman); }},
        {"the host chooses another mode", false, true, [](NetworkPair& p) { p.host.game.command(Menu_ComputerComputer); }},
        {"the socket vanishes", true, false,
         [](NetworkPair& p) { p.host.transport.state = Transport::Closed, p.host.session.connectionLost(); }},
        {"a send fails", false, false,
         [](NetworkPair& p) { p.joiner.transport.brokenSends = true, p.joiner.clickCell(6, 6); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        NetworkPair pair;
        pair.connect();
        pair.host.clickCell(1, 1), pair.deliverAll();
        way.act(pair), pair.deliverAll();
        Copy& stays = way.hostNotices ? pair.host : pair.joiner;
        Copy& leaves = way.hostNotices ? pair.joiner : pair.host;

        EXPECT_THAT(stays.dialogs.boxes, ElementsAre(LeftBox));
        EXPECT_EQ(stays.game.ui.txtTime.Caption, "Game aborted.");
        EXPECT_TRUE(stays.globals.NetPending && !stays.game.ui.Timer1.Enabled);
        EXPECT_FALSE(stays.game.ui.Menu[Menu_Send].Enabled || stays.game.ui.Menu[Menu_New].Enabled);
        EXPECT_EQ(stays.game.ui.MousePointer, PointerDefault);
        EXPECT_GE(stays.pieces(), 1) << "the board stays";
        if (way.leaverTold) {
            EXPECT_EQ(leaves.transport.sent.back(), "~-~Your opponent has left the board.");
            EXPECT_EQ(leaves.transport.state, Transport::Closed);
            EXPECT_EQ(leaves.events.waits.back(), 2000);
            EXPECT_GE(leaves.events.pausedMilliseconds, 2000) << "the goodbye had its time";
            EXPECT_THAT(leaves.dialogs.boxes,
                        ElementsAre("Brindle: You have left the game.\r\n\r\nYou both have to reconnect to play again."));
            EXPECT_FALSE(leaves.game.checked(Menu_Network));
        }

        stays.session.connectionLost();
        stays.clickCell(2, 2);
        EXPECT_EQ(stays.dialogs.boxes.size(), 1u);
        EXPECT_EQ(stays.sound.beeps(), 1) << "clicks are refused";
        // Another mode after the opponent left closes without telling the player.
        stays.game.command(Menu_HumanComputer);
        EXPECT_EQ(stays.transport.state, Transport::Closed);
        EXPECT_EQ(stays.dialogs.boxes.size(), 1u);
    }
}

TEST_F(NetworkGame, LeavingWaitsForTimer4OnceAndShutsTheBoardAndTheDoorMeanwhile)
{
    connect(/*hostOpens=*/false);
    ASSERT_TRUE(joiner.game.ui.Timer1.Enabled);
    const int paused = joiner.events.pausedMilliseconds;
    joiner.events.duringNextPass([this] {
        EXPECT_EQ(joiner.game.ui.txtTime.Caption, "Disconnecting...");
        EXPECT_FALSE(joiner.game.ui.Timer1.Enabled);
        joiner.game.timerFired(4); // the tick ends the wait before its time is up
        joiner.clickCell(0, 0);    // the joiner's turn, but it is leaving
        joiner.session.Disconnect(true);
        joiner.transport.arrive("~-~0030NEWGAMEXAnn~-~Your opponent has left the board.");
        joiner.transport.deliver();
    });
    joiner.session.Disconnect(true);
    EXPECT_THAT(joiner.events.waits, ElementsAre(1000, 2000));
    EXPECT_EQ(joiner.events.pausedMilliseconds, paused);
    EXPECT_FALSE(joiner.game.ui.Timer4.Enabled);
    EXPECT_EQ(joiner.game.ui.txtTime.Caption, "");
    EXPECT_EQ(joiner.pieces(), 0);
    EXPECT_EQ(std::count(joiner.transport.sent.begin(), joiner.transport.sent.end(), "~-~Your opponent has left the board."), 1);
    EXPECT_EQ(joiner.dialogs.boxes.size(), 1u);
    EXPECT_EQ(joiner.globals.TimeLimitSec, 0) << "the late new game was not taken";
    EXPECT_EQ(joiner.s().NextMark, MarkO);
    const size_t sent = joiner.transport.sent.size();
    joiner.session.Disconnect(true);
    EXPECT_EQ(joiner.transport.sent.size(), sent) << "leaving twice does nothing more";

    // A host leaving lets nobody in during its last second.
    host.events.duringNextPass([this] {
        host.transport.state = Transport::Listening;
        host.transport.joinerWaiting = true;
        host.session.Winsock1_ConnectionRequest();
    });
    host.session.Disconnect(false);
    EXPECT_FALSE(host.session.live());
    EXPECT_TRUE(host.transport.joinerWaiting);
}

TEST_F(NetworkGame, ALostConnectionIsNoticedAfterWhatItBrought)
{
    connect();
    joiner.transport.arrive("~-~0909");
    joiner.transport.state = Transport::Closed;
    joiner.session.connectionLost();
    EXPECT_EQ(joiner.game.Board(9, 9), MarkX);
    EXPECT_THAT(joiner.dialogs.boxes, ElementsAre(LeftBox));

    // What arrives while that box is open is read once it is closed.
    host.dialogs.whileOpen = [this] {
        host.transport.arrive("bye");
        host.transport.deliver();
        EXPECT_EQ(host.dialogs.boxes.size(), 1u);
    };
    host.transport.state = Transport::Closed;
    host.session.connectionLost();
    EXPECT_THAT(host.dialogs.boxes, ElementsAre(LeftBox, "Brindle: bye"));
}

TEST_F(NetworkGame, AJoinFailsAtOnceWhenRefusedOrNoAddressAndAfterThirtySecondsOfSilence)
{
    joinerPicksJoin(Transport::Failed);
    EXPECT_EQ(joiner.session.join("10.0.0.9:2000", "Bob"), NetSession::JoinResult::Failed);
    EXPECT_THAT(joiner.transport.calls, ElementsAre("connect 10.0.0.9 2000", "close"));
    EXPECT_THAT(joiner.events.waits, IsEmpty());

    // Nobody answers: the probe is tried once a second for thirty seconds.
    joiner.transport.calls.clear();
    joiner.transport.connectOutcome = Transport::Connecting;
    EXPECT_EQ(joiner.session.join("[::1]", "Bob"), NetSession::JoinResult::Failed);
    EXPECT_EQ(joiner.events.waits.size(), 30u);
    EXPECT_EQ(joiner.events.pausedMilliseconds, 30000);
    EXPECT_THAT(joiner.transport.calls, ElementsAre("connect ::1 1002", "close"));
    EXPECT_FALSE(joiner.session.live());
    EXPECT_EQ(joiner.settings.read("JoinIP", "none"), "none");

    joiner.transport.calls.clear();
    EXPECT_EQ(joiner.session.join("host:99999", "Bob"), NetSession::JoinResult::Failed);
    EXPECT_THAT(joiner.transport.calls, IsEmpty()) << "an address that cannot be one is not tried";
}

TEST_F(NetworkGame, AJoinGivenUpStopsAtOnceAndCanBeTriedAgain)
{
    joinerPicksJoin(Transport::Connecting);
    joiner.events.duringNextPass([this] {
        EXPECT_TRUE(joiner.session.joining());
        joiner.session.cancelJoin();
    });
    EXPECT_EQ(joiner.session.join("somewhere", "Bob"), NetSession::JoinResult::Cancelled);
    EXPECT_EQ(joiner.events.waits.size(), 1u);
    EXPECT_FALSE(joiner.session.joining());
    EXPECT_EQ(joiner.transport.state, Transport::Closed);
    joiner.transport.connectOutcome = Transport::Connected;
    startHosting();
    EXPECT_EQ(join(), NetSession::JoinResult::Connected);
    EXPECT_TRUE(joiner.session.live());
}

TEST_F(NetworkGame, TheJoinerWaitsForTheHostsFirstGameBeforeItMayMove)
{
    // The probe gets through but no game has come yet (a slow host).
    joinerPicksJoin(Transport::Connected);
    EXPECT_EQ(joiner.session.join("host.example", "Bob"), NetSession::JoinResult::Connected);
    EXPECT_TRUE(joiner.globals.NetPending && !joiner.session.live());
    EXPECT_EQ(joiner.game.ui.Caption, "Brindle.");
    joiner.clickCell(3, 3);
    EXPECT_EQ(joiner.sound.beeps(), 1);
    EXPECT_EQ(joiner.transport.sent.size(), 1u); // the probe alone

    // Moves before the first game are nobody's, and text from whatever
    // answered is not shown.
    receive(joiner, "~-~0303HTTP/1.1 400 Bad Request\r\n");
    EXPECT_EQ(joiner.pieces(), 0);
    EXPECT_THAT(joiner.dialogs.boxes, IsEmpty());
    receive(joiner, "~-~0060NEWGAMEOAnn");
    EXPECT_FALSE(joiner.globals.NetPending);
    EXPECT_EQ(joiner.game.ui.Caption, "Brindle.   Ann(red) - Bob(blue)");

    // A join made anew keeps nothing of that game, not even its having been one.
    joiner.transport.calls.clear();
    EXPECT_EQ(joiner.session.join("other.example", "Bob"), NetSession::JoinResult::Connected);
    EXPECT_THAT(joiner.transport.calls, ElementsAre("close", "connect other.example 1002"));
    joiner.transport.arrive("HTTP/1.1 400 Bad Request"), joiner.transport.deliver();
    EXPECT_THAT(joiner.dialogs.boxes, IsEmpty());
}

TEST_F(NetworkGame, AHostThatLeavesRightAfterTheFirstGameGivesOneBox)
{
    startHosting();
    joinerPicksJoin(Transport::Connected);
    host.random.push({0.75f});
    joiner.events.duringNextPass([this] {
        hostAccepts();
        joiner.transport.state = Transport::Closed;
        joiner.session.connectionLost();
    });
    EXPECT_EQ(joiner.session.join("host.example", "Bob"), NetSession::JoinResult::Connected);
    EXPECT_THAT(joiner.dialogs.boxes, ElementsAre(LeftBox));
    EXPECT_EQ(joiner.game.ui.txtTime.Caption, "Game aborted.");
}

TEST_F(NetworkGame, AChatTextGoesOutAsTypedInLatin1)
{
    connect();
    joiner.session.sendChat("Zoë says hi ");
    joiner.session.sendChat("");
    deliverAll();
    EXPECT_EQ(joiner.transport.sent.back(), "Zo\xEB says hi ");
    EXPECT_THAT(host.dialogs.boxes, ElementsAre("Brindle: Zoë says hi"));
    int opened = 0; // Enter in the move list opens "Send a message"
    joiner.game.bindCommand(Menu_Send, [&] { ++opened; });
    joiner.game.txtMoves_KeyDown(32, 0), joiner.game.txtMoves_KeyDown(13, 0);
    EXPECT_EQ(opened, 1);
    const size_t sent = joiner.transport.sent.size();
    joiner.session.Close();
    joiner.session.sendChat("anyone?");
    EXPECT_EQ(joiner.transport.sent.size(), sent);
}

} // namespace
} // namespace brindle::testing
