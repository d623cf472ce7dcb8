// The network dialog's "Games on this network", on a private network with an
// mDNS service of its own (made by tests/netns/isolated.sh): a host is listed,
// joined with a double click and played, shown greyed once it plays, and gone
// once it leaves.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "platform/avahi.h"
#include "app/network_dialog.h"
#include "support/box_answerer.h"
#include "support/pass_intro.h"

namespace brindle {
namespace {

// The list's lines, each marked when it cannot be chosen.
QStringList lines(const QListWidget& list)
{
    QStringList out;
    for (int i = 0; i < list.count(); ++i)
        out << list.item(i)->text() + (list.item(i)->flags() & Qt::ItemIsEnabled ? "" : " (greyed)");
    return out;
}

QListWidgetItem* lineWith(const QListWidget& list, const QString& text)
{
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->text().contains(text))
            return list.item(i);
    return nullptr;
}

// Opens the window's network dialog and runs `inside` while it is open; a
// dialog still open afterwards is cancelled, so a failed check never hangs.
void withDialog(MainWindow& window, const std::function<void(NetworkDialog&)>& inside)
{
    QTimer::singleShot(0, &window, [&window, inside] {
        auto* d = window.findChild<NetworkDialog*>();
        ASSERT_NE(d, nullptr) << "the network dialog";
        inside(*d);
        if (d->isVisible())
            d->reject();
    });
    window.action(Menu_Network)->trigger();
}

void type(NetworkDialog& d, const char* field, const QString& text)
{
    auto* edit = d.findChild<QLineEdit*>(field);
    edit->clear();
    QTest::keyClicks(edit, text);
}

void clickLine(QListWidget& list, QListWidgetItem* line, bool twice)
{
    const QPoint at = list.visualItemRect(line).center();
    if (twice)
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    else
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
}

TEST(DiscoveryOnALocalNetwork, AHostIsListedJoinedWithADoubleClickPlayedGreyedWhilePlayingAndDroppedWhenItLeaves)
{
    if (qEnvironmentVariable("BRINDLE_TEST_MDNS") != QStringLiteral("1"))
        GTEST_SKIP() << "needs a network and an mDNS service of the test's own: tests/netns/isolated.sh makes them";
    BoxAnswerer boxes;
    Globals hostGlobals, joinerGlobals, watcherGlobals;
    auto host = std::make_unique<MainWindow>(hostGlobals);
    MainWindow joiner(joinerGlobals);
    MainWindow watcher(watcherGlobals);
    for (MainWindow* w : {host.get(), &joiner, &watcher}) {
        ASSERT_TRUE(passIntro(*w));
    }
    host->session().listenPort = 0;
    withDialog(*host, [&](NetworkDialog& d) {
        type(d, "txtHostAm", "Ann");
        d.findChild<QCheckBox*>("booTime")->setChecked(true);
        d.findChild<QRadioButton*>("Option1_2")->setChecked(true);
        QTest::mouseClick(d.findChild<QPushButton*>("comHost"), Qt::LeftButton);
    });
    ASSERT_EQ(host->transport().State(), Transport::Listening);
    const QString port = QString::number(host->transport().LocalPort());
    const QString waiting = "Ann, 2 min., ";
    const QString where = ":" + port + ", ";

    withDialog(joiner, [&](NetworkDialog& d) {
        auto* list = d.findChild<QListWidget*>("lstGames");
        ASSERT_TRUE(waitFor(
            [&] {
                const QListWidgetItem* line = lineWith(*list, waiting);
                return line != nullptr && line->text().contains(where) && line->text().endsWith(", waiting");
            },
            "Ann's waiting game in the joiner's list", 10000))
            << lines(*list).join(" | ").toStdString();
        type(d, "txtPlayerAm", "Bob");
        clickLine(*list, lineWith(*list, waiting), false);
        const QString field = d.findChild<QLineEdit*>("txtHostIP")->text();
        EXPECT_TRUE(field.endsWith(":" + port) && field.count('.') == 3) << field.toStdString();
        clickLine(*list, lineWith(*list, waiting), true);
    });
    ASSERT_TRUE(waitFor([&] { return host->windowTitle() == "Brindle.   Ann(red) - Bob(blue)"; }, "the join"));
    MainWindow* first = host->game().ui.MousePointer == PointerHourglass ? &joiner : host.get();
    MainWindow* second = first == host.get() ? &joiner : host.get();
    clickCell(*first, 9, 9);
    ASSERT_TRUE(waitFor([&] { return second->game().state().MoveCount == 1; }, "the move on the other screen"));

    withDialog(watcher, [&](NetworkDialog& d) {
        auto* list = d.findChild<QListWidget*>("lstGames");
        ASSERT_TRUE(waitFor(
            [&] {
                const QListWidgetItem* line = lineWith(*list, waiting);
                return line != nullptr && line->text().endsWith(", playing") && !(line->flags() & Qt::ItemIsEnabled);
            },
            "Ann's game shown greyed as playing", 10000))
            << lines(*list).join(" | ").toStdString();
        const QString before = d.findChild<QLineEdit*>("txtHostIP")->text();
        clickLine(*list, lineWith(*list, waiting), true);
        EXPECT_EQ(d.findChild<QLineEdit*>("txtHostIP")->text(), before) << "a game under way cannot be chosen";
        EXPECT_TRUE(d.isVisible());

        host->action(Menu_exit)->trigger();
        host.reset();
        ASSERT_TRUE(waitFor([&] { return lineWith(*list, "Ann") == nullptr; }, "Ann's game to leave the list", 10000))
            << lines(*list).join(" | ").toStdString();
        EXPECT_EQ(lines(*list), QStringList{QString::fromLatin1(NetworkDialog::LookingText) + " (greyed)"});
    });
    EXPECT_TRUE(waitFor([&] { return !boxes.seen.empty(); }, "the joiner's word that the host left"));
    EXPECT_EQ(boxes.seen, Strings{"Brindle: Your opponent has left the board."}) << "and no word for the one who closed";
}

} // namespace
} // namespace brindle
