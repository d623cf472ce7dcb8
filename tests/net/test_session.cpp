// Two complete copies of the game, host and joiner, playing over an in-memory
// socket: the messages, the turns, leaving, and every input a peer could
// send that must leave no trace.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/network_pair.h"

namespace brindle::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using Copy = NetworkPair::Copy;

class NetworkGame : public ::testing::Test, protected NetworkPair {
protected:
    void playAndDeliver(Copy& side, int row, int col)
    {
        side.clickCell(row, col);
        deliverAll();
    }
};

TEST_F(NetworkGame, HostingWaitsForAJoinerWithOnlyStopOnTheMenuBar)
{
    ASSERT_EQ(startHosting(), Transport::ListenError::None);
    EXPECT_EQ(host.transport.state, Transport::Listening);
    EXPECT_THAT(host.transport.calls, ElementsAre("listen 1002"));
    EXPECT_EQ(host.game.ui.MousePointer, PointerHourglass);
    EXPECT_EQ(host.game.ui.txtTime.Caption, "Waiting for player...");
    EXPECT_FALSE(host.game.ui.Timer1.Enabled);
    EXPECT_TRUE(host.game.ui.Menu[Menu_Stop].Visible);
    EXPECT_FALSE(host.game.ui.Menu[Menu_Game].Visible);
    EXPECT_TRUE(host.game.checked(Menu_Network));
    EXPECT_FALSE(host.game.checked(Menu_HumanComputer));

    // A click while waiting beeps.
    host.clickCell(3, 3);
    EXPECT_EQ(host.sound.beeps(), 1);
    EXPECT_EQ(host.pieces(), 0);
}

TEST_F(NetworkGame, ConnectingShowsBothNamesClearsTheScoresAndTheTossOpens)
{
    host.globals.Score = {0, 4, 2, 1};
    joiner.globals.Score = {0, 1, 1, 1};
    connect(/*hostOpens=*/false, 120);

    EXPECT_THAT(host.transport.sent[0], "~-~0120NEWGAMEOAnn");
    EXPECT_THAT(joiner.transport.sent, ElementsAre("~-~Check if connectedBob"));
    for (Copy* c : {&host, &joiner}) {
        SCOPED_TRACE(c == &host ? "host" : "joiner");
        EXPECT_EQ(c->game.ui.Caption, "Brindle.   Ann(red) - Bob(blue)");
        EXPECT_EQ(c->game.ui.lblComp.Caption, "Red: 0 - Blue: 0\r\nDraw: 0");
        EXPECT_FALSE(c->globals.NetPending);
        EXPECT_TRUE(c->session.live());
        EXPECT_EQ(c->s().NextMark, MarkO);
        EXPECT_TRUE(c->game.ui.Menu[Menu_Send].Enabled);
        for (MenuId item : {Menu_Autodraw, Menu_Undo, Menu_RejectUndo})
            EXPECT_FALSE(c->game.ui.Menu[item].Enabled);
        EXPECT_TRUE(c->game.ui.Menu[Menu_Game].Visible);
        EXPECT_EQ(c->globals.TimeLimitSec, 120);
        EXPECT_TRUE(c->globals.TimeLimitOn);
    }
    // Blue opens: the host waits, the joiner may move.
    EXPECT_EQ(host.game.ui.MousePointer, PointerHourglass);
    EXPECT_EQ(joiner.game.ui.MousePointer, PointerDefault);
    EXPECT_TRUE(host.game.ui.Menu[Menu_New].Enabled);
    EXPECT_FALSE(joiner.game.ui.Menu[Menu_New].Enabled);
    EXPECT_EQ(joiner.settings.read("JoinIP", ""), "host.example");
    EXPECT_EQ(joiner.settings.read("PlayerAm", ""), "Bob");
}

TEST_F(NetworkGame, AWholeGameToAFiveEndsTheSameOnBothScreens)
{
    connect();
    EXPECT_EQ(host.game.ui.MousePointer, PointerDefault);
    EXPECT_EQ(joiner.game.ui.MousePointer, PointerHourglass);
    for (int i = 0; i < 4; ++i) {
        playAndDeliver(host, 5, 5 + i);
        EXPECT_EQ(host.game.ui.MousePointer, PointerHourglass);
        EXPECT_EQ(joiner.game.ui.MousePointer, PointerDefault);
        playAndDeliver(joiner, 9, 5 + i);
    }
    playAndDeliver(host, 5, 9);

    EXPECT_THAT(host.transport.sent.back(), "~-~0509");
    for (Copy* c : {&host, &joiner}) {
        SCOPED_TRACE(c == &host ? "host" : "joiner");
        EXPECT_EQ(c->s().MoveCount, 9);
        EXPECT_TRUE(c->s().GameOver);
        EXPECT_EQ(c->game.ui.lblPlacer.Caption, "'s a winner!!!");
        EXPECT_EQ(c->game.ui.lblHvisTur.BackColor, Red);
        EXPECT_EQ(c->game.ui.lblComp.Caption, "Red: 1 - Blue: 0\r\nDraw: 0");
        EXPECT_EQ(c->game.ui.MousePointer, PointerDefault);
    }
    for (int r = 0; r < BoardSize; ++r)
        for (int c = 0; c < BoardSize; ++c)
            ASSERT_EQ(host.game.Board(r, c), joiner.game.Board(r, c)) << r << "," << c;

    // Only the host starts the next game; the joiner follows.
    EXPECT_FALSE(joiner.game.command(Menu_New));
    host.random.push({0.25f});
    EXPECT_TRUE(host.game.command(Menu_New));
    deliverAll();
    EXPECT_EQ(joiner.s().MoveCount, 0);
    EXPECT_FALSE(joiner.s().GameOver);
    EXPECT_EQ(joiner.s().NextMark, MarkO);
    EXPECT_EQ(joiner.game.ui.MousePointer, PointerDefault);
}

TEST_F(NetworkGame, AClickOnThePeersTurnBeepsAndSendsNothing)
{
    connect();
    const size_t sent = joiner.transport.sent.size();
    joiner.clickCell(2, 2);
    EXPECT_EQ(joiner.sound.beeps(), 1);
    EXPECT_EQ(joiner.transport.sent.size(), sent);
    EXPECT_EQ(joiner.pieces(), 0);
}

// Bytes a peer might send that must not touch the board or the score.
TEST_F(NetworkGame, AMoveCountsOnlyOnThePeersTurnOnAnEmptyCell)
{
    connect();
    playAndDeliver(host, 4, 4);
    const auto untouched = [this](const char* bytes) {
        SCOPED_TRACE(bytes);
        const int32_t moves = joiner.s().MoveCount;
        const auto score = joiner.globals.Score;
        joiner.transport.arrive(bytes);
        deliverAll();
        EXPECT_EQ(joiner.s().MoveCount, moves);
        EXPECT_EQ(joiner.pieces(), moves);
        EXPECT_EQ(joiner.globals.Score, score);
    };
    // Now the joiner is to move: the host's second move is out of turn.
    untouched("~-~0505");
    untouched("~-~0404"); // occupied, and out of turn
    joiner.clickCell(7, 7);
    deliverAll();
    untouched("~-~0404"); // occupied
    untouched("~-~2005");
    untouched("~-~05-1");
    untouched("~-~ 5 5");
    untouched("~-~TimeWinnerQ");
    untouched("~-~0000NEWGAMEZ");
    untouched("~-~");
    joiner.now += 1000;

    // A proper move on the host's turn is placed once, whole, also in two pieces.
    joiner.transport.arrive("~-~12");
    deliverAll();
    EXPECT_EQ(joiner.s().MoveCount, 2);
    joiner.transport.arrive("13");
    deliverAll();
    EXPECT_EQ(joiner.s().MoveCount, 3);
    EXPECT_EQ(joiner.game.Board(12, 13), MarkX);
}

TEST_F(NetworkGame, AMoveAndAChatTextInOneReadAreBothHandled)
{
    connect();
    joiner.transport.arrive("~-~0303Good luck!~-~Check if connectedX");
    deliverAll();
    EXPECT_EQ(joiner.game.Board(3, 3), MarkX);
    EXPECT_THAT(joiner.dialogs.boxes, ElementsAre("Brindle: Good luck!"));
    // The joiner ignores the probe.
    EXPECT_EQ(joiner.globals.PlayerName, "Bob");
}

TEST_F(NetworkGame, EachSideIgnoresWhatOnlyTheOtherMaySend)
{
    connect();
    host.transport.arrive("~-~0060NEWGAMEXMallory");
    host.transport.arrive("~-~TimeWinnerB");
    deliverAll();
    EXPECT_EQ(host.globals.HostName, "Ann");
    EXPECT_EQ(host.globals.TimeLimitSec, 60); // as it was
    EXPECT_FALSE(host.s().GameOver);
    EXPECT_EQ(host.globals.Score[2], 0);

    // The joiner takes a time win from the host once.
    joiner.transport.arrive("~-~TimeWinnerB~-~TimeWinnerB");
    deliverAll();
    EXPECT_TRUE(joiner.s().GameOver);
    EXPECT_EQ(joiner.game.ui.lblHvisTur.BackColor, Blue);
    EXPECT_EQ(joiner.globals.Score[2], 1);
    EXPECT_EQ(joiner.game.clock().RedTime, 0);
}

TEST_F(NetworkGame, ANewGameWithoutALimitEndsTheJoinersEarlierLimit)
{
    connect(true, 30);
    EXPECT_TRUE(joiner.globals.TimeLimitOn);
    host.globals.TimeLimitOn = false;
    host.random.push({0.75f});
    host.game.command(Menu_New);
    deliverAll();
    EXPECT_EQ(host.transport.sent.back(), "~-~0000NEWGAMEXAnn");
    EXPECT_FALSE(joiner.globals.TimeLimitOn);
    EXPECT_EQ(joiner.globals.TimeLimitSec, 0);
}

TEST_F(NetworkGame, ChatBoxesWaitForTheOneOpenAndNeverPileUp)
{
    connect();
    size_t shownWhileFirstOpen = 0;
    joiner.dialogs.whileOpen = [&] {
        joiner.transport.arrive("second ~-~0808");
        deliverAll();
        shownWhileFirstOpen = joiner.dialogs.boxes.size();
        EXPECT_EQ(joiner.s().MoveCount, 0);
    };
    joiner.transport.arrive("   first   ");
    deliverAll();
    EXPECT_EQ(shownWhileFirstOpen, 1u);
    EXPECT_THAT(joiner.dialogs.boxes, ElementsAre("Brindle: first", "Brindle: second"));
    EXPECT_EQ(joiner.game.Board(8, 8), MarkX);
}

TEST_F(NetworkGame, LeavingTellsThePeerWhoseGameIsAbortedOnce)
{
    connect();
    playAndDeliver(host, 1, 1);
    joiner.game.command(Menu_HumanHuman);
    deliverAll();

    EXPECT_EQ(joiner.transport.sent.back(), "~-~Your opponent has left the board.");
    EXPECT_EQ(joiner.transport.state, Transport::Closed);
    EXPECT_THAT(joiner.events.waits, ElementsAre(1000, 2000));
    EXPECT_THAT(joiner.dialogs.boxes,
                ElementsAre("Brindle: You have left the game.\r\n\r\nYou both have to reconnect to play again."));
    EXPECT_TRUE(joiner.game.checked(Menu_HumanHuman));
    EXPECT_FALSE(joiner.game.checked(Menu_Network));

    EXPECT_THAT(host.dialogs.boxes, ElementsAre("Brindle: Your opponent has left the board."));
    EXPECT_EQ(host.game.ui.txtTime.Caption, "Game aborted.");
    EXPECT_FALSE(host.game.ui.Timer1.Enabled);
    EXPECT_TRUE(host.globals.NetPending);
    EXPECT_FALSE(host.game.ui.Menu[Menu_Send].Enabled);
    EXPECT_FALSE(host.game.ui.Menu[Menu_New].Enabled);
    EXPECT_EQ(host.game.ui.MousePointer, PointerDefault);
    EXPECT_EQ(host.s().MoveCount, 1); // the board stays

    // The socket closing afterwards is not a second leave, and clicks are refused.
    host.session.connectionLost();
    EXPECT_EQ(host.dialogs.boxes.size(), 1u);
    host.clickCell(2, 2);
    EXPECT_EQ(host.sound.beeps(), 1);

    // Another mode after the opponent left closes without telling the player.
    host.game.command(Menu_HumanComputer);
    EXPECT_EQ(host.transport.state, Transport::Closed);
    EXPECT_EQ(host.dialogs.boxes.size(), 1u);
}

TEST_F(NetworkGame, TheHostLeavingAbortsTheJoinersGameWithoutANewGameCommandToLose)
{
    connect();
    host.game.command(Menu_ComputerComputer);
    deliverAll();
    EXPECT_THAT(joiner.dialogs.boxes, ElementsAre("Brindle: Your opponent has left the board."));
    EXPECT_EQ(joiner.game.ui.txtTime.Caption, "Game aborted.");
    EXPECT_FALSE(joiner.game.ui.Menu[Menu_Send].Enabled);
    EXPECT_EQ(host.dialogs.boxes.size(), 1u);
}

TEST_F(NetworkGame, DisconnectWaitsForTimer4)
{
    connect();
    joiner.events.duringNextPass([this] { joiner.game.timerFired(4); });
    const int paused = joiner.events.pausedMilliseconds;
    joiner.session.Disconnect(false);
    EXPECT_THAT(joiner.events.waits, ElementsAre(1000, 2000));
    // The tick ended the wait before its time was up.
    EXPECT_EQ(joiner.events.pausedMilliseconds, paused);
    EXPECT_FALSE(joiner.game.ui.Timer4.Enabled);
    EXPECT_EQ(joiner.game.ui.txtTime.Caption, "");
    EXPECT_THAT(joiner.dialogs.boxes, IsEmpty());
    // Leaving twice does nothing more.
    const size_t sent = joiner.transport.sent.size();
    joiner.session.Disconnect(true);
    EXPECT_EQ(joiner.transport.sent.size(), sent);
}

TEST_F(NetworkGame, AVanishedPeerIsNoticedOnce)
{
    connect();
    host.transport.state = Transport::Closed;
    host.session.connectionLost();
    host.session.connectionLost();
    EXPECT_THAT(host.dialogs.boxes, ElementsAre("Brindle: Your opponent has left the board."));
    EXPECT_EQ(host.game.ui.txtTime.Caption, "Game aborted.");
    EXPECT_TRUE(host.globals.NetPending);
}

TEST_F(NetworkGame, ASendOnABrokenConnectionEndsTheGame)
{
    connect();
    host.transport.brokenSends = true;
    host.clickCell(6, 6);
    EXPECT_EQ(host.s().MoveCount, 1);
    EXPECT_THAT(host.dialogs.boxes, ElementsAre("Brindle: Your opponent has left the board."));
    EXPECT_TRUE(host.globals.NetPending);
}

TEST_F(NetworkGame, StopWhileHostingClosesTheListeningSocket)
{
    startHosting();
    host.random.push({0.25f});
    EXPECT_TRUE(host.game.command(Menu_Stop));
    EXPECT_EQ(host.transport.state, Transport::Closed);
    EXPECT_TRUE(host.game.checked(Menu_HumanComputer));
    EXPECT_FALSE(host.game.checked(Menu_Network));

    // A joiner that comes now finds nobody.
    host.transport.joinerWaiting = true;
    host.session.Winsock1_ConnectionRequest();
    EXPECT_FALSE(host.session.live());
    EXPECT_THAT(host.transport.calls, ElementsAre("listen 1002", "close"));
}

TEST_F(NetworkGame, AHostShowsNoTextFromAClientThatNeverSaidItIsAGame)
{
    startHosting();
    host.transport.joinerWaiting = true;
    host.random.push({0.75f});
    host.session.Winsock1_ConnectionRequest();
    host.transport.arrive("GET / HTTP/1.1\r\n\r\n");
    host.transport.deliver();
    EXPECT_THAT(host.dialogs.boxes, IsEmpty());
    host.transport.arrive("~-~Check if connectedBob");
    host.transport.deliver();
    host.transport.arrive("hello");
    host.transport.deliver();
    EXPECT_THAT(host.dialogs.boxes, ElementsAre("Brindle: hello"));
}

TEST_F(NetworkGame, ASecondJoinerIsNotTaken)
{
    connect();
    const auto calls = host.transport.calls;
    host.transport.joinerWaiting = true;
    host.session.Winsock1_ConnectionRequest();
    EXPECT_EQ(host.transport.calls, calls);
    EXPECT_EQ(host.s().MoveCount, 0);
    EXPECT_EQ(host.transport.sent.size(), 1u);
}

TEST_F(NetworkGame, AJoinFailsAtOnceWhenRefusedAndAfterThirtySecondsOfSilence)
{
    joiner.session.Menu_Network_Click();
    joiner.transport.connectOutcome = Transport::Failed;
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

    // An address that cannot be one fails without trying.
    joiner.transport.calls.clear();
    EXPECT_EQ(joiner.session.join("host:99999", "Bob"), NetSession::JoinResult::Failed);
    EXPECT_THAT(joiner.transport.calls, IsEmpty());
}

TEST_F(NetworkGame, AJoinCanBeGivenUp)
{
    joiner.session.Menu_Network_Click();
    joiner.transport.connectOutcome = Transport::Connecting;
    joiner.events.duringNextPass([this] {
        EXPECT_TRUE(joiner.session.joining());
        joiner.session.cancelJoin();
    });
    EXPECT_EQ(joiner.session.join("somewhere", "Bob"), NetSession::JoinResult::Cancelled);
    EXPECT_EQ(joiner.events.waits.size(), 1u);
    EXPECT_FALSE(joiner.session.joining());
    EXPECT_EQ(joiner.transport.state, Transport::Closed);
}

TEST_F(NetworkGame, MessagesWaitWhileAMoveIsJudged)
{
    connect();
    // The joiner's reply arrives while the host's own move is still being
    // placed: it waits until that move has been judged and the turn passed.
    host.events.duringNextPass([this] {
        host.transport.arrive("~-~0202");
        host.transport.deliver();
        // What comes behind it stays in the socket until it has been handled.
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
}

TEST_F(NetworkGame, APartMessageWaitsHalfASecondAtMost)
{
    connect();
    joiner.transport.arrive("~-~03");
    deliverAll();
    joiner.now += 501;
    joiner.transport.arrive("03");
    deliverAll();
    EXPECT_EQ(joiner.s().MoveCount, 0);
    EXPECT_THAT(joiner.dialogs.boxes, ElementsAre("Brindle: 03"));
}

TEST_F(NetworkGame, NamesTravelInLatin1)
{
    startHosting();
    host.settings.write("HostAm", "Zoë 猫");
    ASSERT_EQ(join(), NetSession::JoinResult::Connected);
    EXPECT_EQ(host.transport.sent[0], "~-~0000NEWGAMEXZo\xEB ?");
    EXPECT_EQ(joiner.globals.HostName, "Zoë ?");
}

TEST_F(NetworkGame, ATossOfExactlyOneHalfLetsBlueOpen)
{
    startHosting();
    ASSERT_EQ(join(0.5f), NetSession::JoinResult::Connected);
    EXPECT_EQ(host.transport.sent[0], "~-~0000NEWGAMEOAnn");
}

TEST_F(NetworkGame, TheHostStartsANewGameOnItsOwnTurnOnly)
{
    connect();
    playAndDeliver(host, 4, 4);
    // Blue's move may be on its way: a new game now could take it in.
    EXPECT_TRUE(host.game.command(Menu_New));
    EXPECT_EQ(host.sound.beeps(), 1);
    EXPECT_EQ(host.s().MoveCount, 1);
    EXPECT_EQ(host.transport.sent.size(), 2u);

    playAndDeliver(joiner, 5, 5);
    host.random.push({0.25f});
    EXPECT_TRUE(host.game.command(Menu_New));
    deliverAll();
    EXPECT_EQ(host.s().MoveCount, 0);
    EXPECT_EQ(joiner.s().MoveCount, 0);
    EXPECT_EQ(host.transport.sent.back(), "~-~0000NEWGAMEOAnn");
}

TEST_F(NetworkGame, TheJoinerWaitsForTheHostsFirstGameBeforeItMayMove)
{
    // The probe gets through but no game has come yet (a slow host).
    joiner.session.Menu_Network_Click();
    joiner.globals.NetRole = "CLIENT";
    joiner.globals.NetPending = true;
    joiner.transport.connectOutcome = Transport::Connected;
    EXPECT_EQ(joiner.session.join("host.example", "Bob"), NetSession::JoinResult::Connected);
    EXPECT_TRUE(joiner.globals.NetPending);
    EXPECT_FALSE(joiner.session.live());
    EXPECT_EQ(joiner.game.ui.Caption, "Brindle.");
    joiner.clickCell(3, 3);
    EXPECT_EQ(joiner.sound.beeps(), 1);
    EXPECT_EQ(joiner.transport.sent.size(), 1u); // the probe alone

    // Moves before the first game are nobody's, and text from whatever
    // answered is not shown.
    joiner.transport.arrive("~-~0303HTTP/1.1 400 Bad Request\r\n");
    joiner.transport.deliver();
    EXPECT_EQ(joiner.pieces(), 0);
    EXPECT_THAT(joiner.dialogs.boxes, IsEmpty());
    joiner.transport.arrive("~-~0060NEWGAMEOAnn");
    joiner.transport.deliver();
    EXPECT_FALSE(joiner.globals.NetPending);
    EXPECT_EQ(joiner.game.ui.Caption, "Brindle.   Ann(red) - Bob(blue)");
}

TEST_F(NetworkGame, AHostThatLeavesRightAfterTheFirstGameGivesOneBox)
{
    startHosting();
    joiner.session.Menu_Network_Click();
    joiner.globals.NetRole = "CLIENT";
    joiner.globals.NetPending = true;
    host.random.push({0.75f});
    joiner.events.duringNextPass([this] {
        hostAccepts();
        joiner.transport.state = Transport::Closed;
        joiner.session.connectionLost();
    });
    EXPECT_EQ(joiner.session.join("host.example", "Bob"), NetSession::JoinResult::Connected);
    EXPECT_THAT(joiner.dialogs.boxes, ElementsAre("Brindle: Your opponent has left the board."));
    EXPECT_EQ(joiner.game.ui.txtTime.Caption, "Game aborted.");
}

TEST_F(NetworkGame, AJoinGivenUpCanBeTriedAgain)
{
    joiner.session.Menu_Network_Click();
    joiner.transport.connectOutcome = Transport::Connecting;
    joiner.events.duringNextPass([this] { joiner.session.cancelJoin(); });
    EXPECT_EQ(joiner.session.join("somewhere", "Bob"), NetSession::JoinResult::Cancelled);
    joiner.transport.connectOutcome = Transport::Connected;
    startHosting();
    EXPECT_EQ(join(), NetSession::JoinResult::Connected);
    EXPECT_TRUE(joiner.session.live());
}

TEST_F(NetworkGame, ChoosingNetworkGameStopsTheClock)
{
    ASSERT_TRUE(host.game.ui.Timer1.Enabled);
    host.session.Menu_Network_Click();
    EXPECT_FALSE(host.game.ui.Timer1.Enabled);
    // Hosting stops it too, whatever ran in between.
    host.game.ui.Timer1.Enabled = true;
    host.globals.NetRole = "HOST";
    ASSERT_EQ(host.session.host(), Transport::ListenError::None);
    EXPECT_FALSE(host.game.ui.Timer1.Enabled);
}

TEST_F(NetworkGame, NothingCountsOnceTheSocketIsClosed)
{
    connect();
    joiner.transport.arrive("~-~03");
    deliverAll();
    joiner.session.Close();
    EXPECT_FALSE(joiner.session.live());
    joiner.transport.state = Transport::Connected;
    joiner.transport.arrive("07~-~0101");
    deliverAll();
    EXPECT_EQ(joiner.pieces(), 0);
}

TEST_F(NetworkGame, WhileLeavingTheBoardAndTheDoorAreShut)
{
    connect(/*hostOpens=*/false);
    joiner.events.duringNextPass([this] {
        joiner.clickCell(0, 0); // the joiner's turn, but it is leaving
        joiner.session.Disconnect(true);
        joiner.transport.arrive("~-~0030NEWGAMEXAnn~-~Your opponent has left the board.");
        joiner.transport.deliver();
    });
    joiner.session.Disconnect(true);
    EXPECT_EQ(joiner.pieces(), 0);
    EXPECT_EQ(std::count(joiner.transport.sent.begin(), joiner.transport.sent.end(),
                         "~-~Your opponent has left the board."),
              1);
    EXPECT_EQ(joiner.dialogs.boxes.size(), 1u);
    EXPECT_EQ(joiner.globals.TimeLimitSec, 0); // the late new game was not taken
    EXPECT_EQ(joiner.s().NextMark, MarkO);

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
    EXPECT_THAT(joiner.dialogs.boxes, ElementsAre("Brindle: Your opponent has left the board."));

    // What arrives while that box is open is read once it is closed.
    host.dialogs.whileOpen = [this] {
        host.transport.arrive("bye");
        host.transport.deliver();
        EXPECT_EQ(host.dialogs.boxes.size(), 1u);
    };
    host.transport.state = Transport::Closed;
    host.session.connectionLost();
    EXPECT_THAT(host.dialogs.boxes, ElementsAre("Brindle: Your opponent has left the board.", "Brindle: bye"));
}

TEST_F(NetworkGame, AChatTextGoesOutAsTypedInLatin1)
{
    connect();
    joiner.session.sendChat("Zoë says hi ");
    joiner.session.sendChat("");
    deliverAll();
    EXPECT_EQ(joiner.transport.sent.back(), "Zo\xEB says hi ");
    EXPECT_THAT(host.dialogs.boxes, ElementsAre("Brindle: Zoë says hi"));
    const size_t sent = joiner.transport.sent.size();
    joiner.session.Close();
    joiner.session.sendChat("anyone?");
    EXPECT_EQ(joiner.transport.sent.size(), sent);
}

} // namespace
} // namespace brindle::testing
