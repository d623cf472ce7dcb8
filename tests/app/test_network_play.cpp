// Two complete windows in one process over real loopback sockets, as two
// players on two machines: hosting and joining through the dialog, a game to a
// five with chat, leaving, and a peer that exits or vanishes.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include <QLineEdit>
#include <QPushButton>

#include "app/network_dialog.h"
#include "support/box_answerer.h"
#include "support/pass_intro.h"

namespace brindle {
namespace {

class NetworkPlay : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = std::make_unique<MainWindow>(hostGlobals);
        joiner = std::make_unique<MainWindow>(joinerGlobals);
        for (MainWindow* w : {host.get(), joiner.get()}) {
            ASSERT_TRUE(passIntro(*w));
        }
        host->session().listenPort = 0;
    }

    // Chooses "Network game", fills in the dialog and presses `button` (or
    // Enter in the name field); a join that failed leaves it open: give up.
    static void useDialog(MainWindow& window, const QString& name, const QString& address, const char* button)
    {
        QTimer::singleShot(0, &window, [&window, name, address, button] {
            auto* d = window.findChild<NetworkDialog*>();
            ASSERT_NE(d, nullptr) << "the network dialog";
            for (auto [field, text] : {std::pair{"txtHostAm", name}, {"txtPlayerAm", name}, {"txtHostIP", address}}) {
                d->findChild<QLineEdit*>(field)->clear();
                QTest::keyClicks(d->findChild<QLineEdit*>(field), text);
            }
            if (button == nullptr)
                QTest::keyClick(d->findChild<QLineEdit*>("txtPlayerAm"), Qt::Key_Return);
            else
                QTest::mouseClick(d->findChild<QPushButton*>(button), Qt::LeftButton);
            if (d->isVisible())
                QTest::mouseClick(d->findChild<QPushButton*>("CancelButton"), Qt::LeftButton);
        });
        window.action(Menu_Network)->trigger();
    }
    void connect()
    {
        useDialog(*host, "Ann", "", "comHost");
        ASSERT_EQ(host->transport().State(), Transport::Listening);
        useDialog(*joiner, "Bob", QStringLiteral("127.0.0.1:%1").arg(host->transport().LocalPort()), nullptr);
        ASSERT_TRUE(waitFor([&] { return host->windowTitle() == "Brindle.   Ann(red) - Bob(blue)"; }, "the join"));
    }
    static bool waiting(const MainWindow& w) { return w.game().ui.MousePointer == PointerHourglass; }
    static int moves(const MainWindow& w) { return w.game().state().MoveCount; }
    static bool aborted(const MainWindow& w) { return w.game().ui.txtTime.Caption == "Game aborted."; }

    BoxAnswerer boxes;
    Globals hostGlobals, joinerGlobals;
    std::unique_ptr<MainWindow> host, joiner;
};

TEST_F(NetworkPlay, AWholeGameFromHostingToAFiveWithChatThenLeaving)
{
    hostGlobals.Score = {0, 3, 1, 2};
    connect();
    EXPECT_EQ(joiner->windowTitle(), "Brindle.   Ann(red) - Bob(blue)");
    EXPECT_EQ(host->game().ui.lblComp.Caption, "Red: 0 - Blue: 0\r\nDraw: 0");
    ASSERT_NE(waiting(*host), waiting(*joiner)) << "the toss's side opens, the other waits";
    EXPECT_EQ(host->game().state().NextMark == MarkX, !waiting(*host));

    MainWindow* first = waiting(*host) ? joiner.get() : host.get();
    MainWindow* second = first == host.get() ? joiner.get() : host.get();
    for (int i = 0; i < 5; ++i) {
        clickCell(*first, 5, 5 + i);
        ASSERT_TRUE(waitFor([&] { return moves(*second) == 2 * i + 1; }, "the move on the other screen"));
        if (i == 4)
            break;
        clickCell(*first, 0, i); // out of turn
        clickCell(*second, 9, 5 + i);
        ASSERT_TRUE(waitFor([&] { return moves(*first) == 2 * i + 2; }, "the answer on the first screen"));
    }
    for (MainWindow* w : {host.get(), joiner.get()}) {
        EXPECT_EQ(moves(*w), 9);
        EXPECT_EQ(w->game().ui.lblPlacer.Caption, "'s a winner!!!");
    }
    EXPECT_EQ(hostGlobals.Score, joinerGlobals.Score);

    // Enter in the move list or the menu; the box's close sends nothing.
    const struct { MainWindow* from; const char* text; bool close; const char* seen; } chat[] = {
        {joiner.get(), "Good luck, Zoë!", false, "Brindle: Good luck, Zoë!"},
        {host.get(), "unsent", true, nullptr},
        {host.get(), "  You too  ", false, "Brindle: You too"},
    };
    for (const auto& c : chat) {
        const size_t before = boxes.seen.size();
        boxes.typed = QString::fromUtf8(c.text);
        boxes.closeMessage = c.close;
        if (c.from == joiner.get())
            QTest::keyClick(joiner->findChild<QWidget*>("txtMoves"), Qt::Key_Return);
        else
            c.from->action(Menu_Send)->trigger();
        if (c.seen != nullptr) {
            ASSERT_TRUE(waitFor([&] { return boxes.seen.size() > before; }, c.text));
            EXPECT_EQ(boxes.seen.back(), c.seen);
        }
    }
    EXPECT_EQ(boxes.seen.size(), 2u);

    boxes.seen.clear();
    joiner->action(Menu_HumanHuman)->trigger();
    ASSERT_TRUE(waitFor([&] { return aborted(*host) && boxes.seen.size() == 2; }, "both sides' word of the leave"));
    std::sort(boxes.seen.begin(), boxes.seen.end());
    EXPECT_EQ(boxes.seen, (Strings{"Brindle: You have left the game.\n\nYou both have to reconnect to play again.",
                                   "Brindle: Your opponent has left the board."}));
    EXPECT_FALSE(host->action(Menu_Send)->isEnabled() || host->action(Menu_New)->isEnabled());
    EXPECT_EQ(joiner->transport().State(), Transport::Closed);
}

} // namespace
} // namespace brindle
