// The network dialog over a real game and session, with
// the socket, the settings and the boxes in memory; the controls are driven as
// a player would.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "app/network_dialog.h"
#include "support/network_pair.h"

namespace brindle {
namespace {

using Strings = std::vector<std::string>;
using Values = std::map<std::string, std::string>;

class NetworkDialogTest : public ::testing::Test, protected testing::NetworkPair::Copy {
protected:
    NetworkDialogTest()
    {
        startUp();
        session.Menu_Network_Click();
    }

    // Opens the dialog afresh over `saved`, with nothing recorded yet.
    void open(const Values& saved = {})
    {
        settings.values = saved;
        dialogs.boxes.clear();
        dialogs.inputs.clear();
        transport.calls.clear();
        dialog = std::make_unique<NetworkDialog>(game, session, globals, settings, dialogs, "192.168.1.20", nullptr);
        dialog->show();
        dialog->activateWindow();
    }
    template <class W = QWidget>
    W* child(const std::string& name)
    {
        W* w = dialog->findChild<W*>(QString::fromStdString(name));
        if (w == nullptr)
            ADD_FAILURE() << "no control " << name;
        return w;
    }
    QLineEdit* field(const char* name) { return child<QLineEdit>(name); }
    // The time option checked, and whether the box enables them (all alike).
    std::pair<int, bool> options()
    {
        int checked = -1;
        const bool on = child<QCheckBox>("booTime")->isChecked();
        for (int i = 0; i < 4; ++i) {
            const auto* o = child<QRadioButton>("Option1_" + std::to_string(i));
            checked = o->isChecked() ? i : checked;
            EXPECT_EQ(o->isEnabled(), on);
        }
        return {checked, on};
    }
    void click(const char* name) { QTest::mouseClick(child<QAbstractButton>(name), Qt::LeftButton); }
    void pressKey(const char* name, Qt::Key key = Qt::Key_Return) { QTest::keyClick(field(name), key); }
    bool closedWith(int result) const { return !dialog->isVisible() && dialog->result() == result; }
    bool busy() const { return dialog->cursor().shape() == Qt::WaitCursor; }

    const Values joinable = {{"JoinIP", "10.0.0.7"}, {"PlayerAm", "Bo"}};
    std::unique_ptr<NetworkDialog> dialog;
};

TEST_F(NetworkDialogTest, OpensWithWhatWasSavedOrTheDefaultsAndHostsWithTheChosenLimit)
{
    open();
    EXPECT_EQ(child<QLabel>("lblIP")->text(), "192.168.1.20");
    EXPECT_EQ(field("txtHostAm")->text() + field("txtPlayerAm")->text() + field("txtHostIP")->text(), "test");
    EXPECT_EQ(options(), std::make_pair(1, false));
    for (const auto& [limit, box] : {std::pair("7", "yes"), {"-1", "true"}, {"abc", " 1"}, {"99999999999", "0"}}) {
        open({{"Timelimit", limit}, {"Time", box}});
        EXPECT_EQ(options(), std::make_pair(1, false)) << "garbled: " << limit << " " << box;
    }

    const Values saved = {{"JoinIP", "10.1.2.3"}, {"PlayerAm", "Zo\xc3\xab"}, {"Time", "1"}, {"Timelimit", " 3 "},
                          {"HostAm", "Jos\xc3\xa9"}};
    open(saved);
    EXPECT_EQ(field("txtHostIP")->text() + field("txtPlayerAm")->text() + field("txtHostAm")->text(),
              QString::fromUtf8("10.1.2.3Zo\xc3\xab" "Jos\xc3\xa9"));
    EXPECT_EQ(options(), std::make_pair(3, true));
    click("Option1_2");
    click("comHost");
    EXPECT_TRUE(globals.TimeLimitOn);
    EXPECT_EQ(globals.TimeLimitSec, 120);
    Values now = saved;
    now["Timelimit"] = "2";
    EXPECT_EQ(settings.values, now);
    EXPECT_TRUE(closedWith(QDialog::Accepted));

    transport.Close();
    open();
    field("txtHostAm")->setText("Ann");
    click("booTime");
    click("Option1_0");
    EXPECT_EQ(options(), std::make_pair(0, true));
    click("comHost");
    EXPECT_TRUE(globals.TimeLimitOn && globals.TimeLimitSec == 30);
    EXPECT_EQ(settings.values, (Values{{"Time", "1"}, {"Timelimit", "0"}, {"HostAm", "Ann"}}));
    transport.Close();
    open({{"HostAm", "Ann"}});
    click("comHost");
    EXPECT_FALSE(globals.TimeLimitOn) << "the box off plays without a limit";
    EXPECT_EQ(transport.calls, Strings{"listen 1002"});
    EXPECT_TRUE(globals.NetPending && globals.NetRole == "HOST");
}

TEST_F(NetworkDialogTest, AMissingFieldIsAskedForAndFocusedAndNothingHappens)
{
    const struct { const char *button, *hostName, *hostIP, *box, *focus, *role; } cases[] = {
        {"comHost", "", "", "Can't connect. (i): You need to apply your name.", "txtHostAm", "HOST"},
        {"comJoin", "x", "", "Can't connect. (i): You need to apply Hosts IP.", "txtHostIP", "CLIENT"},
        {"comJoin", "x", "10.0.0.7", "Can't connect. (i): You need to apply your name.", "txtPlayerAm", "CLIENT"},
        {"Command1", "x", "   ", "Can't save. (i): You need to apply a host IP/name before saving.", "txtHostIP", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        globals.NetRole.clear();
        globals.NetPending = false;
        open();
        field("txtHostAm")->setText(c.hostName);
        field("txtHostIP")->setText(c.hostIP);
        click(c.button);
        EXPECT_EQ(dialogs.boxes, Strings{c.box});
        EXPECT_EQ(dialog->focusWidget(), field(c.focus));
        EXPECT_EQ(field(c.focus)->text(), "");
        EXPECT_EQ(globals.NetRole, c.role);
        EXPECT_EQ(globals.NetPending, *c.role != '\0');
        EXPECT_TRUE(dialog->isVisible() && settings.values.empty() && transport.calls.empty());
    }
}

TEST_F(NetworkDialogTest, AListenFailureSaysWhyWithThePortAndKeepsTheDialog)
{
    session.listenPort = 80;
    transport.listenResult = Transport::ListenError::NotPermitted;
    open();
    click("comHost");
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].rfind("Brindle (i): ", 0), 0u) << dialogs.boxes[0];
    EXPECT_NE(dialogs.boxes[0].find("use port 80.\n\nRun scripts/run once as root, or give the program the right with:\n"
                                    "  sudo setcap cap_net_bind_service=+ep " +
                                    QCoreApplication::applicationFilePath().toStdString() + "\nor choose a port above 1023"),
              std::string::npos) << dialogs.boxes[0];
    EXPECT_TRUE(settings.values.empty() && dialog->isVisible());
}

TEST_F(NetworkDialogTest, AFailedJoinSaysSoAndASecondTryJoinsOnceUnderTheBusyPointer)
{
    globals.Score = {0, 3, 2, 1};
    open({{"JoinIP", "10.0.0.7"}});
    field("txtPlayerAm")->setText(QString::fromUtf8("Zo\xc3\xab"));
    transport.connectOutcome = Transport::Failed;
    click("comJoin");
    EXPECT_EQ(dialogs.boxes, Strings{"Brindle: Host not ready or connection not possible."});
    EXPECT_TRUE(dialog->isVisible() && !busy());
    dialog->setCursor(Qt::WaitCursor);
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(field("txtPlayerAm"), &in);
    EXPECT_FALSE(busy()) << "entering a field drops a pointer left busy";

    // A join under way is neither started twice nor turned into hosting.
    transport.connectOutcome = Transport::Connecting;
    bool busyMeanwhile = false;
    events.duringNextPass([&] {
        click("comJoin");
        pressKey("txtHostIP");
        click("comHost");
        busyMeanwhile = busy();
        transport.state = Transport::Connected;
    });
    click("comJoin");
    EXPECT_TRUE(busyMeanwhile);
    EXPECT_FALSE(busy());
    EXPECT_EQ(std::count(transport.calls.begin(), transport.calls.end(), "connect 10.0.0.7 1002"), 2);
    EXPECT_EQ(globals.NetRole, "CLIENT");
    EXPECT_EQ(settings.values["PlayerAm"], "Zo\xc3\xab");
    EXPECT_EQ(globals.Score, (std::array<int32_t, 4>{}));
    EXPECT_TRUE(closedWith(QDialog::Accepted));
}

TEST_F(NetworkDialogTest, SaveAppendsTheTrimmedAddressAndLoadPutsAChosenOneBack)
{
    open();
    field("txtHostIP")->setText("  host.lan  ");
    dialogs.answers = {"Lan"};
    click("Command1");
    click("Command1"); // no name given: nothing more saved
    EXPECT_EQ(field("txtHostIP")->text(), "host.lan");
    EXPECT_EQ(dialogs.inputs, Strings(2, "Save Host IP/name: Name of saving:"));
    EXPECT_EQ(settings.values, (Values{{"IPNumber", "1"}, {"IP1", "host.lan"}, {"IPname1", "Lan"}}));

    field("txtHostIP")->setText("");
    QTimer::singleShot(0, dialog.get(), [&] {
        auto* list = dialog->findChild<QDialog*>("frmOpponent");
        ASSERT_NE(list, nullptr) << "the saved opponents' list";
        auto* grid = list->findChild<QTableWidget*>("flxNames");
        const QPoint address = grid->visualItemRect(grid->item(0, 0)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, address);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, address);
        list->reject(); // should the double click have failed to close it
    });
    click("Command2");
    EXPECT_EQ(field("txtHostIP")->text(), "host.lan");
    EXPECT_TRUE(dialog->isVisible()) << "the network dialog stays for the join";
}

// Every way out runs one new game (its wipe serves events, so a second
// Escape may come meanwhile) and goes back to playing the computer.
TEST_F(NetworkDialogTest, EveryWayOutCancelsOnce)
{
    const auto wipeCells = [this] {
        const auto fills = canvas.fills();
        return std::count_if(fills.begin(), fills.end(), [](const auto& op) { return op.colour == Magenta; });
    };
    const std::function<void()> ways[] = {
        [this] { click("CancelButton"); },
        [this] {
            events.duringNextPass([this] { pressKey("txtHostIP", Qt::Key_Escape); });
            pressKey("txtHostIP", Qt::Key_Escape);
        },
        [this] {
            transport.connectOutcome = Transport::Connecting; // the join waits until Cancel
            events.duringNextPass([this] { click("CancelButton"); });
            click("comJoin");
        },
    };
    for (size_t i = 0; i < std::size(ways); ++i) {
        SCOPED_TRACE(i);
        open(joinable);
        canvas.ops.clear();
        game.Menu_New_Click();
        const auto oneNewGame = wipeCells();
        game.setBoard(9, 9, MarkX);
        game.check(Menu_HumanComputer, false);
        game.check(Menu_Network, true);
        canvas.ops.clear();
        ways[i]();
        EXPECT_TRUE(closedWith(QDialog::Rejected));
        EXPECT_TRUE(game.checked(Menu_HumanComputer) && !game.checked(Menu_Network));
        EXPECT_EQ(game.Board(9, 9), Empty);
        EXPECT_EQ(wipeCells(), oneNewGame);
        EXPECT_TRUE(!session.joining() && transport.state == Transport::Closed && dialogs.boxes.empty());
    }
}

} // namespace
} // namespace brindle
