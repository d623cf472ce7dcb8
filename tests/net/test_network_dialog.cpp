// The network dialog over a real game and session, with the socket, the
// settings and the boxes in memory; the controls are driven as a player would.
#include <gtest/gtest.h>

#include <memory>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "net/network_dialog.h"
#include "support/network_pair.h"

namespace brindle {
namespace {

using Strings = std::vector<std::string>;

// A running copy of the game with "Network game" chosen, the dialog about
// to open over it.
class NetworkDialogTest : public ::testing::Test, protected testing::NetworkPair::Copy {
protected:
    NetworkDialogTest()
    {
        startUp();
        session.Menu_Network_Click();
    }

    NetworkDialog& open()
    {
        dialog = std::make_unique<NetworkDialog>(game, session, globals, settings, dialogs, "192.168.1.20", nullptr);
        dialog->show();
        dialog->activateWindow();
        return *dialog;
    }

    template <class W>
    W* child(const char* name)
    {
        W* w = dialog->findChild<W*>(QString::fromLatin1(name));
        if (w == nullptr)
            ADD_FAILURE() << "no control " << name;
        return w;
    }
    QLineEdit* field(const char* name) { return child<QLineEdit>(name); }
    QRadioButton* option(int i) { return child<QRadioButton>(("Option1_" + std::to_string(i)).c_str()); }
    void click(const char* name) { QTest::mouseClick(child<QAbstractButton>(name), Qt::LeftButton); }
    void type(const char* name, const char* text)
    {
        field(name)->clear();
        QTest::keyClicks(field(name), QString::fromUtf8(text));
    }

    bool accepted() const { return !dialog->isVisible() && dialog->result() == QDialog::Accepted; }
    bool rejected() const { return !dialog->isVisible() && dialog->result() == QDialog::Rejected; }
    size_t count(const Strings& list, const std::string& item) const
    {
        return static_cast<size_t>(std::count(list.begin(), list.end(), item));
    }
    // Cells drawn magenta: the bar of a new game's wipe.
    size_t wipeCells() const
    {
        size_t n = 0;
        for (const auto& op : canvas.fills())
            n += op.colour == Magenta ? 1 : 0;
        return n;
    }

    std::unique_ptr<NetworkDialog> dialog;
};

// ---- Opening

TEST_F(NetworkDialogTest, FirstUseShowsTheDesignDefaults)
{
    open();
    EXPECT_EQ(dialog->objectName(), "frmNetwork");
    EXPECT_EQ(dialog->windowTitle(), "Network game");
    EXPECT_TRUE(dialog->isModal());
    EXPECT_EQ(child<QLabel>("lblIP")->text(), "192.168.1.20");
    EXPECT_EQ(field("txtHostAm")->text(), "test");
    EXPECT_EQ(field("txtPlayerAm")->text(), "");
    EXPECT_EQ(field("txtHostIP")->text(), "");
    EXPECT_FALSE(child<QCheckBox>("booTime")->isChecked());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(option(i)->isChecked(), i == 1) << i;
        EXPECT_FALSE(option(i)->isEnabled()) << i;
    }
    // The saved-hosts list is not there yet.
    EXPECT_FALSE(child<QPushButton>("Command2")->isEnabled());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(NetworkDialogTest, OpensWithWhatWasSaved)
{
    settings.values = {{"JoinIP", "10.1.2.3"}, {"PlayerAm", "Bo"}, {"Time", "1"},
                       {"Timelimit", "3"},     {"HostAm", "Ann"}};
    open();
    EXPECT_EQ(field("txtHostIP")->text(), "10.1.2.3");
    EXPECT_EQ(field("txtPlayerAm")->text(), "Bo");
    EXPECT_EQ(field("txtHostAm")->text(), "Ann");
    EXPECT_TRUE(child<QCheckBox>("booTime")->isChecked());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(option(i)->isChecked(), i == 3) << i;
        EXPECT_TRUE(option(i)->isEnabled()) << i;
    }
}

TEST_F(NetworkDialogTest, GarbageSettingsReadAsTheDefaults)
{
    for (const char* limit : {"7", "-1", "abc", "", "2x", "4", "99999999999"}) {
        settings.values = {{"Timelimit", limit}, {"Time", "yes"}};
        open();
        EXPECT_TRUE(option(1)->isChecked()) << limit;
        EXPECT_FALSE(child<QCheckBox>("booTime")->isChecked());
    }
    for (const char* time : {"yes", "true", " 1", "11", "-1"}) {
        settings.values = {{"Time", time}};
        open();
        EXPECT_FALSE(child<QCheckBox>("booTime")->isChecked()) << time;
        EXPECT_FALSE(option(0)->isEnabled()) << time;
    }
}

TEST_F(NetworkDialogTest, NamesKeepTheirAccents)
{
    settings.values = {{"HostAm", "Jos\xc3\xa9"}, {"PlayerAm", "Zo\xc3\xab"}};
    open();
    EXPECT_EQ(field("txtHostAm")->text(), QString::fromUtf8("Jos\xc3\xa9"));
    EXPECT_EQ(field("txtPlayerAm")->text(), QString::fromUtf8("Zo\xc3\xab"));
    click("comHost");
    EXPECT_EQ(settings.values["HostAm"], "Jos\xc3\xa9");
}

// ---- Layout

TEST_F(NetworkDialogTest, ControlsSitWhereTheyWereDrawn)
{
    open();
    EXPECT_EQ(dialog->size(), QSize(7455 / 15, 3975 / 15));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    auto* comHost = child<QPushButton>("comHost");
    EXPECT_EQ(comHost->parentWidget(), child<QGroupBox>("Frame1"));
    EXPECT_EQ(comHost->geometry(), QRect(5520 / 15, 360 / 15, 1455 / 15, 855 / 15));
    EXPECT_EQ(child<QGroupBox>("Frame2")->geometry(), QRect(120 / 15, 1920 / 15, 7215 / 15, 1455 / 15));
    EXPECT_EQ(child<QLineEdit>("txtHostIP")->parentWidget(), child<QGroupBox>("Frame2"));
    EXPECT_EQ(child<QPushButton>("CancelButton")->parentWidget(), dialog.get());
    EXPECT_EQ(child<QGroupBox>("Frame1")->title(), "Host");
    EXPECT_EQ(child<QGroupBox>("Frame2")->title(), "Player");
}

TEST_F(NetworkDialogTest, EachNameLabelLeadsToItsField)
{
    open();
    EXPECT_EQ(child<QLabel>("Label5")->buddy(), field("txtHostAm"));
    EXPECT_EQ(child<QLabel>("Label6")->buddy(), field("txtPlayerAm"));
    EXPECT_EQ(child<QLabel>("Label2")->buddy(), field("txtHostIP"));
}

TEST_F(NetworkDialogTest, NoButtonTakesEnterFromAField)
{
    open();
    for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
        EXPECT_FALSE(b->isDefault()) << b->objectName().toStdString();
        EXPECT_FALSE(b->autoDefault()) << b->objectName().toStdString();
    }
}

// ---- The time limit

TEST_F(NetworkDialogTest, TheBoxSwitchesTheOptionsOnAndOff)
{
    open();
    click("booTime");
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(option(i)->isEnabled()) << i;
    click("Option1_0");
    EXPECT_TRUE(option(0)->isChecked());
    EXPECT_FALSE(option(1)->isChecked());
    click("booTime");
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(option(i)->isEnabled()) << i;
}

// ---- Host

TEST_F(NetworkDialogTest, HostingWithTwoMinutesSavesTheChoiceAndListens)
{
    open();
    click("booTime");
    click("Option1_2");
    click("comHost");
    EXPECT_TRUE(globals.TimeLimitOn);
    EXPECT_EQ(globals.TimeLimitSec, 120);
    EXPECT_EQ(globals.NetRole, "HOST");
    EXPECT_TRUE(globals.NetPending);
    EXPECT_EQ(settings.values["Time"], "1");
    EXPECT_EQ(settings.values["Timelimit"], "2");
    EXPECT_EQ(settings.values["HostAm"], "test");
    EXPECT_EQ(transport.state, Transport::Listening);
    EXPECT_EQ(transport.calls, Strings{"listen 1002"});
    EXPECT_TRUE(accepted());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(NetworkDialogTest, HostingWithoutTheBoxPlaysWithoutALimit)
{
    // A limit left from an earlier game does not carry over.
    globals.TimeLimitOn = true;
    settings.values = {{"Timelimit", "3"}};
    open();
    type("txtHostAm", "Ann");
    click("comHost");
    EXPECT_FALSE(globals.TimeLimitOn);
    EXPECT_EQ(settings.values["Time"], "0");
    EXPECT_EQ(settings.values["Timelimit"], "3");
    EXPECT_EQ(settings.values["HostAm"], "Ann");
    EXPECT_TRUE(accepted());
}

TEST_F(NetworkDialogTest, HostingWithoutANameAsksForIt)
{
    open();
    field("txtHostAm")->clear();
    click("comHost");
    EXPECT_EQ(dialogs.boxes, Strings{"Can't connect. (i): You need to apply your name."});
    EXPECT_EQ(dialog->focusWidget(), field("txtHostAm"));
    EXPECT_EQ(globals.NetRole, "HOST");
    EXPECT_TRUE(globals.NetPending);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(settings.values.empty());
    EXPECT_TRUE(transport.calls.empty());
}

TEST_F(NetworkDialogTest, APortInUseIsReportedOnceWithItsNumber)
{
    session.listenPort = 4321;
    transport.listenResult = Transport::ListenError::InUse;
    open();
    click("comHost");
    EXPECT_EQ(dialogs.boxes, Strings{"Brindle (i): Port 4321 is in use by another program.\n\nClose the other "
                                     "program, or choose another port with the setting \"Port\" or the option --port."});
    EXPECT_TRUE(settings.values.empty());
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(NetworkDialogTest, AForbiddenPortTellsHowToAllowIt)
{
    session.listenPort = 80;
    transport.listenResult = Transport::ListenError::NotPermitted;
    open();
    click("comHost");
    const std::string path = QCoreApplication::applicationFilePath().toStdString();
    EXPECT_EQ(dialogs.boxes, Strings{"Brindle (i): This system does not let Brindle use port 80.\n\nRun scripts/run "
                                     "once as root, or give the program the right with:\n  sudo setcap "
                                     "cap_net_bind_service=+ep " +
                                     path + "\nor choose a port above 1023 with the option --port."});
    EXPECT_TRUE(settings.values.empty());
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(NetworkDialogTest, AnyOtherListenFailureNamesThePort)
{
    session.listenPort = 5002;
    transport.listenResult = Transport::ListenError::Other;
    open();
    click("comHost");
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].rfind("Brindle (i): Brindle cannot listen on port 5002.\n", 0), 0u) << dialogs.boxes[0];
    EXPECT_TRUE(settings.values.empty());
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(NetworkDialogTest, EnterInTheHostNameHosts)
{
    open();
    QTest::keyClick(field("txtHostAm"), Qt::Key_Return);
    EXPECT_EQ(transport.calls, Strings{"listen 1002"});
    EXPECT_TRUE(accepted());
}

// ---- Join

TEST_F(NetworkDialogTest, JoiningWithNothingFilledInAsksForTheHostFirst)
{
    open();
    click("comJoin");
    EXPECT_EQ(dialogs.boxes, Strings{"Can't connect. (i): You need to apply Hosts IP."});
    EXPECT_EQ(dialog->focusWidget(), field("txtHostIP"));
    EXPECT_EQ(globals.NetRole, "CLIENT");
    EXPECT_TRUE(globals.NetPending);
    EXPECT_TRUE(transport.calls.empty());
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(NetworkDialogTest, JoiningWithoutANameAsksForIt)
{
    open();
    type("txtHostIP", "10.0.0.7");
    click("comJoin");
    EXPECT_EQ(dialogs.boxes, Strings{"Can't connect. (i): You need to apply your name."});
    EXPECT_EQ(dialog->focusWidget(), field("txtPlayerAm"));
    EXPECT_TRUE(transport.calls.empty());
}

TEST_F(NetworkDialogTest, ASuccessfulJoinIsRememberedAndStartsAFreshScore)
{
    globals.Score = {0, 3, 2, 1};
    open();
    type("txtHostIP", "10.0.0.7");
    field("txtPlayerAm")->setText(QString::fromUtf8("Zo\xc3\xab"));
    bool busyMeanwhile = false;
    events.duringNextPass([&] {
        busyMeanwhile = dialog->cursor().shape() == Qt::WaitCursor;
    });
    click("comJoin");
    EXPECT_TRUE(busyMeanwhile);
    EXPECT_EQ(dialog->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(transport.calls.at(0), "connect 10.0.0.7 1002");
    EXPECT_EQ(settings.values["JoinIP"], "10.0.0.7");
    EXPECT_EQ(settings.values["PlayerAm"], "Zo\xc3\xab");
    EXPECT_EQ(globals.Score, (std::array<int32_t, 4>{}));
    EXPECT_EQ(globals.NetRole, "CLIENT");
    EXPECT_TRUE(accepted());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(NetworkDialogTest, EnterInEitherJoinFieldJoins)
{
    for (const char* name : {"txtPlayerAm", "txtHostIP"}) {
        transport.calls.clear();
        settings.values = {{"JoinIP", "10.0.0.7"}, {"PlayerAm", "Bo"}};
        open();
        QTest::keyClick(field(name), Qt::Key_Return);
        EXPECT_EQ(count(transport.calls, "connect 10.0.0.7 1002"), 1u) << name;
        EXPECT_EQ(count(transport.calls, "listen 1002"), 0u) << name;
        EXPECT_TRUE(accepted()) << name;
        transport.Close();
    }
}

TEST_F(NetworkDialogTest, AFailedJoinSaysSoAndCanBeTriedAgain)
{
    settings.values = {{"JoinIP", "10.0.0.7"}, {"PlayerAm", "Bo"}};
    open();
    settings.values.clear();
    transport.connectOutcome = Transport::Failed;
    click("comJoin");
    EXPECT_EQ(dialogs.boxes, Strings{"Brindle: Host not ready or connection not possible."});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(settings.values.empty());

    transport.connectOutcome = Transport::Connected;
    click("comJoin");
    EXPECT_TRUE(accepted());
    EXPECT_EQ(dialogs.boxes.size(), 1u);
}

TEST_F(NetworkDialogTest, CancelDuringAJoinStopsItQuietly)
{
    settings.values = {{"JoinIP", "10.0.0.7"}, {"PlayerAm", "Bo"}};
    open();
    // Connecting never finishes, so the join waits until Cancel.
    transport.connectOutcome = Transport::Connecting;
    events.duringNextPass([&] { click("CancelButton"); });
    click("comJoin");
    EXPECT_TRUE(rejected());
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_FALSE(session.joining());
    EXPECT_EQ(transport.state, Transport::Closed);
    EXPECT_TRUE(game.checked(Menu_HumanComputer));
    EXPECT_FALSE(game.checked(Menu_Network));
}

TEST_F(NetworkDialogTest, AJoinUnderWayIsNotStartedTwice)
{
    settings.values = {{"JoinIP", "10.0.0.7"}, {"PlayerAm", "Bo"}};
    open();
    transport.connectOutcome = Transport::Connecting;
    bool stillBusy = false;
    events.duringNextPass([&] {
        click("comJoin");
        QTest::keyClick(field("txtHostIP"), Qt::Key_Return);
        // Hosting would close the connection the join is proving.
        click("comHost");
        stillBusy = dialog->cursor().shape() == Qt::WaitCursor;
        transport.state = Transport::Connected;
    });
    click("comJoin");
    EXPECT_TRUE(stillBusy);
    EXPECT_EQ(count(transport.calls, "connect 10.0.0.7 1002"), 1u);
    EXPECT_EQ(count(transport.calls, "listen 1002"), 0u);
    EXPECT_EQ(globals.NetRole, "CLIENT");
    EXPECT_TRUE(accepted());
}

TEST_F(NetworkDialogTest, EnteringAJoinFieldTakesTheBusyPointerAway)
{
    for (const char* name : {"txtHostIP", "txtPlayerAm"}) {
        open();
        dialog->setCursor(Qt::WaitCursor);
        QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(field(name), &in);
        EXPECT_EQ(dialog->cursor().shape(), Qt::ArrowCursor) << name;
    }
}

// ---- Save

TEST_F(NetworkDialogTest, SavingTrimsTheAddressAndAppendsIt)
{
    open();
    field("txtHostIP")->setText("  10.0.0.5  ");
    dialogs.answers = {"Office", "Office again"};
    click("Command1");
    EXPECT_EQ(field("txtHostIP")->text(), "10.0.0.5");
    EXPECT_EQ(dialogs.inputs, Strings{"Save Host IP/name: Name of saving:"});
    click("Command1");
    EXPECT_EQ(settings.values, (std::map<std::string, std::string>{{"IPNumber", "2"},
                                                                   {"IP1", "10.0.0.5"},
                                                                   {"IPname1", "Office"},
                                                                   {"IP2", "10.0.0.5"},
                                                                   {"IPname2", "Office again"}}));
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(NetworkDialogTest, SavingContinuesTheNumbering)
{
    settings.values = {{"IPNumber", "41"}};
    open();
    field("txtHostIP")->setText("host.lan");
    dialogs.answers = {"Lan"};
    click("Command1");
    EXPECT_EQ(settings.values["IPNumber"], "42");
    EXPECT_EQ(settings.values["IP42"], "host.lan");
    EXPECT_EQ(settings.values["IPname42"], "Lan");
}

TEST_F(NetworkDialogTest, AGarbageCountStartsTheListAfresh)
{
    for (const char* number : {"x", "-4", "100001", "3.5", "", "99999999999"}) {
        settings.values = {{"IPNumber", number}};
        open();
        field("txtHostIP")->setText("10.0.0.5");
        dialogs.answers = {"Office"};
        click("Command1");
        EXPECT_EQ(settings.values["IPNumber"], "1") << number;
        EXPECT_EQ(settings.values["IP1"], "10.0.0.5") << number;
    }
}

TEST_F(NetworkDialogTest, ACancelledNameSavesNothing)
{
    open();
    field("txtHostIP")->setText("10.0.0.5");
    click("Command1");
    EXPECT_EQ(dialogs.inputs.size(), 1u);
    EXPECT_TRUE(settings.values.empty());
}

TEST_F(NetworkDialogTest, SavingABlankAddressAsksForOne)
{
    open();
    field("txtHostIP")->setText("   ");
    click("Command1");
    EXPECT_EQ(dialogs.boxes, Strings{"Can't save. (i): You need to apply a host IP/name before saving."});
    EXPECT_EQ(field("txtHostIP")->text(), "");
    EXPECT_EQ(dialog->focusWidget(), field("txtHostIP"));
    EXPECT_TRUE(dialogs.inputs.empty());
    EXPECT_TRUE(settings.values.empty());
}

// ---- Cancel

TEST_F(NetworkDialogTest, CancelGoesBackToPlayingTheComputer)
{
    open();
    game.setBoard(9, 9, MarkX);
    click("CancelButton");
    EXPECT_TRUE(rejected());
    EXPECT_TRUE(game.checked(Menu_HumanComputer));
    EXPECT_FALSE(game.checked(Menu_Network));
    EXPECT_EQ(game.Board(9, 9), Empty);
    EXPECT_TRUE(settings.values.empty());
}

TEST_F(NetworkDialogTest, TheCloseBoxCancelsOnce)
{
    open();
    canvas.ops.clear();
    game.Menu_New_Click();
    const size_t oneNewGame = wipeCells();
    ASSERT_GT(oneNewGame, 0u);

    game.check(Menu_HumanComputer, false);
    game.check(Menu_Network, true);
    canvas.ops.clear();
    dialog->close();
    EXPECT_TRUE(rejected());
    EXPECT_TRUE(game.checked(Menu_HumanComputer));
    EXPECT_FALSE(game.checked(Menu_Network));
    EXPECT_EQ(wipeCells(), oneNewGame);
}

TEST_F(NetworkDialogTest, EscapeCancelsOnceEvenWhenPressedDuringTheNewGame)
{
    open();
    canvas.ops.clear();
    game.Menu_New_Click();
    const size_t oneNewGame = wipeCells();
    game.check(Menu_HumanComputer, false);
    game.check(Menu_Network, true);
    canvas.ops.clear();

    // The new game's wipe serves events; a second Escape arrives then.
    events.duringNextPass([&] { QTest::keyClick(field("txtHostIP"), Qt::Key_Escape); });
    QTest::keyClick(field("txtHostIP"), Qt::Key_Escape);
    EXPECT_TRUE(rejected());
    EXPECT_TRUE(game.checked(Menu_HumanComputer));
    EXPECT_EQ(wipeCells(), oneNewGame);
}

} // namespace
} // namespace brindle

#ifdef NETWORK_DIALOG_STANDALONE_MAIN
int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
#endif
