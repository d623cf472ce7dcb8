// Two complete windows in one process playing over real loopback sockets, as
// two players on two machines would: hosting and joining through the dialog,
// a game to a five, leaving, exiting, a peer that vanishes, and the joins
// that must fail fast.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include <QApplication>
#include <QElapsedTimer>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include "app/main_window.h"
#include "support/pass_intro.h"
#include "app/network_dialog.h"
#include "app/board_view.h"

namespace brindle {
namespace {

bool waitUntil(const std::function<bool()>& done, int milliseconds = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Answers every message box as a player would, and remembers what it said.
class BoxAnswerer {
public:
    BoxAnswerer()
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (box != nullptr && box->isVisible() && !answered_.contains(box)) {
                    answered_.append(box);
                    seen.push_back(box->windowTitle().toStdString() + ": " + box->text().toStdString());
                    box->accept();
                }
                auto* input = qobject_cast<QInputDialog*>(w);
                if (input != nullptr && input->isVisible() && !answered_.contains(input)) {
                    answered_.append(input);
                    input->setTextValue(typed);
                    input->accept();
                }
                // "Send a message": the text typed, then Enter, or the close box.
                auto* say = qobject_cast<QDialog*>(w);
                if (say != nullptr && say->objectName() == "frmSayWhat" && say->isVisible() &&
                    !answered_.contains(say)) {
                    answered_.append(say);
                    auto* message = say->findChild<QLineEdit*>("txtMessage");
                    message->insert(typed);
                    if (closeMessage)
                        say->close();
                    else
                        QTest::keyClick(message, Qt::Key_Return);
                }
            }
        });
        timer_.start();
    }
    std::vector<std::string> seen;
    // What the player types into an input box.
    QString typed;
    // The player closes "Send a message" instead of sending.
    bool closeMessage = false;

private:
    QTimer timer_;
    QList<QPointer<QDialog>> answered_;
};

class NetworkPlay : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = open(hostGlobals);
        joiner = open(joinerGlobals);
        host->session().listenPort = 0;
    }

    std::unique_ptr<MainWindow> open(Globals& globals)
    {
        auto window = std::make_unique<MainWindow>(globals);
        window->show();
        EXPECT_TRUE(passIntro(*window));
        return window;
    }

    // Chooses "Network game" and, once the dialog is open, lets `fill` act on it.
    static void inDialog(MainWindow& window, const std::function<void(NetworkDialog&)>& fill)
    {
        QTimer::singleShot(0, &window, [&window, fill] {
            auto* dialog = window.findChild<NetworkDialog*>();
            ASSERT_NE(dialog, nullptr);
            fill(*dialog);
        });
        window.action(Menu_Network)->trigger();
    }

    static void type(NetworkDialog& dialog, const char* field, const QString& text)
    {
        auto* edit = dialog.findChild<QLineEdit*>(field);
        edit->clear();
        QTest::keyClicks(edit, text);
    }

    void startHosting()
    {
        inDialog(*host, [](NetworkDialog& d) {
            type(d, "txtHostAm", QStringLiteral("Ann"));
            QTest::mouseClick(d.findChild<QPushButton*>("comHost"), Qt::LeftButton);
        });
        ASSERT_EQ(host->transport().State(), Transport::Listening);
    }

    // Joins `address`, pressing Enter in the name field as a player might.
    void joinAt(const QString& address)
    {
        inDialog(*joiner, [address](NetworkDialog& d) {
            type(d, "txtHostIP", address);
            type(d, "txtPlayerAm", QStringLiteral("Bob"));
            QTest::keyClick(d.findChild<QLineEdit*>("txtPlayerAm"), Qt::Key_Return);
            // A join that failed leaves the dialog open: give it up.
            if (d.isVisible())
                QTest::mouseClick(d.findChild<QPushButton*>("CancelButton"), Qt::LeftButton);
        });
    }

    QString hostAddress() { return QStringLiteral("127.0.0.1:%1").arg(host->transport().LocalPort()); }

    void connect()
    {
        startHosting();
        joinAt(hostAddress());
        ASSERT_TRUE(waitUntil([&] { return host->windowTitle() == QStringLiteral("Brindle.   Ann(red) - Bob(blue)"); }));
    }

    static void click(MainWindow& window, int row, int col)
    {
        const Game& g = window.game();
        const QPoint at(static_cast<int>(g.CellWidth * (col + 1.5) / 15), static_cast<int>(g.CellHeight * (row + 1.5) / 15));
        QTest::mouseClick(&window.board(), Qt::LeftButton, {}, at);
    }

    static bool waiting(const MainWindow& window) { return window.game().ui.MousePointer == PointerHourglass; }

    BoxAnswerer boxes;
    Globals hostGlobals;
    Globals joinerGlobals;
    std::unique_ptr<MainWindow> host;
    std::unique_ptr<MainWindow> joiner;
};

TEST_F(NetworkPlay, AWholeGameToAFiveOnBothScreensThenLeaving)
{
    hostGlobals.Score = {0, 3, 1, 2};
    connect();
    for (MainWindow* w : {host.get(), joiner.get()}) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Brindle.   Ann(red) - Bob(blue)"));
        EXPECT_EQ(w->game().ui.lblComp.Caption, "Red: 0 - Blue: 0\r\nDraw: 0");
    }
    // The toss's side opens; the other shows the busy pointer.
    ASSERT_NE(waiting(*host), waiting(*joiner));
    EXPECT_EQ(host->game().state().NextMark == MarkX, !waiting(*host));

    // Whoever opens makes the five on row 5; the other plays row 9.
    MainWindow* first = waiting(*host) ? joiner.get() : host.get();
    MainWindow* second = first == host.get() ? joiner.get() : host.get();
    for (int i = 0; i < 5; ++i) {
        click(*first, 5, 5 + i);
        ASSERT_TRUE(waitUntil([&] { return second->game().state().MoveCount == 2 * i + 1; }));
        if (i == 4)
            break;
        // A click out of turn is refused.
        click(*first, 0, i);
        click(*second, 9, 5 + i);
        ASSERT_TRUE(waitUntil([&] { return first->game().state().MoveCount == 2 * i + 2; }));
    }
    for (MainWindow* w : {host.get(), joiner.get()}) {
        EXPECT_TRUE(w->game().state().GameOver);
        EXPECT_EQ(w->game().state().MoveCount, 9);
        EXPECT_EQ(w->game().ui.lblPlacer.Caption, "'s a winner!!!");
        EXPECT_EQ(w->game().Board(0, 0), Empty);
    }
    EXPECT_EQ(hostGlobals.Score, joinerGlobals.Score);

    // The joiner leaves by choosing another mode.
    joiner->action(Menu_HumanHuman)->trigger();
    ASSERT_TRUE(waitUntil([&] { return host->game().ui.txtTime.Caption == "Game aborted."; }));
    ASSERT_TRUE(waitUntil([&] { return boxes.seen.size() == 2; }));
    // The host's box may come first: it opens while the joiner still waits
    // for its goodbye to go out.
    std::sort(boxes.seen.begin(), boxes.seen.end());
    EXPECT_EQ(boxes.seen[0], "Brindle: You have left the game.\n\nYou both have to reconnect to play again.");
    EXPECT_EQ(boxes.seen[1], "Brindle: Your opponent has left the board.");
    EXPECT_FALSE(host->action(Menu_Send)->isEnabled());
    EXPECT_FALSE(host->action(Menu_New)->isEnabled());
    EXPECT_EQ(joiner->transport().State(), Transport::Closed);
}

TEST_F(NetworkPlay, AChatTextTravelsBothWays)
{
    // Enter in the move list opens "Send a message" too.
    auto* moves = joiner->findChild<QWidget*>("txtMoves");
    boxes.typed = QStringLiteral("not in a network game");
    QTest::keyClick(moves, Qt::Key_Return);
    EXPECT_EQ(joiner->findChild<QDialog*>("frmSayWhat"), nullptr);

    connect();
    boxes.typed = QStringLiteral("Good luck, Zoë!");
    QTest::keyClick(moves, Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return boxes.seen.size() == 1; }));
    EXPECT_EQ(boxes.seen[0], "Brindle: Good luck, Zoë!");

    // Closing the box sends nothing; spaces only show an empty box; the
    // edges are trimmed.
    boxes.closeMessage = true;
    host->action(Menu_Send)->trigger();
    boxes.closeMessage = false;
    for (const char* text : {"   ", "  You too  "}) {
        const size_t before = boxes.seen.size();
        boxes.typed = QString::fromUtf8(text);
        host->action(Menu_Send)->trigger();
        ASSERT_TRUE(waitUntil([&] { return boxes.seen.size() > before; }));
    }
    ASSERT_EQ(boxes.seen.size(), 3u);
    EXPECT_EQ(boxes.seen[1], "Brindle: ");
    EXPECT_EQ(boxes.seen[2], "Brindle: You too");

    // A text that begins with the marker is taken as a message of the game:
    // here the joiner's hello, which gives the host another name.
    boxes.typed = QStringLiteral("~-~Check if connectedEve");
    joiner->action(Menu_Send)->trigger();
    ASSERT_TRUE(waitUntil([&] { return host->windowTitle() == QStringLiteral("Brindle.   Ann(red) - Eve(blue)"); }));
    EXPECT_EQ(boxes.seen.size(), 3u);
}

TEST_F(NetworkPlay, ExitDuringAGameTellsThePeer)
{
    connect();
    host->action(Menu_exit)->trigger();
    EXPECT_FALSE(host->isVisible());
    ASSERT_TRUE(waitUntil([&] { return joiner->game().ui.txtTime.Caption == "Game aborted."; }));
    ASSERT_TRUE(waitUntil([&] { return boxes.seen.size() == 1; }));
    EXPECT_EQ(boxes.seen[0], "Brindle: Your opponent has left the board.");
}

TEST_F(NetworkPlay, APeerThatVanishesWithoutAWordIsNoticed)
{
    connect();
    joiner.reset(); // gone, socket and all, without the leave message
    ASSERT_TRUE(waitUntil([&] { return host->game().ui.txtTime.Caption == "Game aborted."; }));
    ASSERT_TRUE(waitUntil([&] { return !boxes.seen.empty(); }));
    EXPECT_EQ(boxes.seen, std::vector<std::string>{"Brindle: Your opponent has left the board."});
    EXPECT_TRUE(hostGlobals.NetPending);
}

TEST_F(NetworkPlay, ASecondJoinerIsRefused)
{
    connect();
    QTcpSocket intruder;
    intruder.connectToHost(QStringLiteral("127.0.0.1"), host->transport().LocalPort());
    ASSERT_TRUE(waitUntil([&] { return intruder.state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_TRUE(host->transport().State() == Transport::Connected);
    EXPECT_EQ(host->game().state().MoveCount, 0);
    EXPECT_TRUE(boxes.seen.empty());
}

TEST_F(NetworkPlay, JoinsThatCannotWorkFailFast)
{
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    for (const QString& address : {QStringLiteral("127.0.0.1:%1").arg(port), QStringLiteral("no-such-host.invalid")}) {
        SCOPED_TRACE(address.toStdString());
        boxes.seen.clear();
        QElapsedTimer clock;
        clock.start();
        joinAt(address);
        EXPECT_LT(clock.elapsed(), 10000);
        EXPECT_EQ(boxes.seen, std::vector<std::string>{"Brindle: Host not ready or connection not possible."});
        EXPECT_TRUE(joiner->game().checked(Menu_HumanComputer));
    }
}

TEST_F(NetworkPlay, StopWhileHostingClosesTheDoor)
{
    startHosting();
    const quint16 port = host->transport().LocalPort();
    host->action(Menu_Stop)->trigger();
    EXPECT_EQ(host->transport().State(), Transport::Closed);
    EXPECT_TRUE(host->game().checked(Menu_HumanComputer));
    QTcpSocket late;
    late.connectToHost(QStringLiteral("127.0.0.1"), port);
    EXPECT_FALSE(late.waitForConnected(2000));
}

} // namespace
} // namespace brindle

namespace brindle {
namespace {

TEST(HostPort, ComesFromTheSettingWhenItHoldsAPort)
{
    QSettings stored(QStringLiteral("Brin"), QStringLiteral("Brin"));
    const std::pair<const char*, uint16_t> cases[] = {
        {"2002", 2002}, {" 4000 ", 4000}, {"0", 1002}, {"70000", 1002}, {"-5", 1002}, {"port", 1002}, {"", 1002},
    };
    for (const auto& [value, port] : cases) {
        SCOPED_TRACE(value);
        stored.setValue(QStringLiteral("Settings/Port"), QString::fromLatin1(value));
        stored.sync();
        Globals globals;
        MainWindow window(globals);
        EXPECT_EQ(window.session().listenPort, port);
    }
    stored.remove(QStringLiteral("Settings/Port"));
}

} // namespace
} // namespace brindle
