// The event wait, the Help menu's windows and the list of saved opponents, driven as a player would.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTest>

#include "app/opponent_dialog.h"
#include "app/qt_ports.h"
#include "app/settings.h"
#include "support/fake_transport.h"
#include "support/pass_intro.h"

namespace brindle {
namespace {

// Runs `look` on the first box of type T named `name` shown over `parent`. One left open, or any
// modal one after three seconds without it, is rejected, failing the test.
template <class T>
void whenShown(QWidget& parent, const std::function<void(T&)>& look, const QString& name = {})
{
    auto* poll = new QTimer(&parent);
    QObject::connect(poll, &QTimer::timeout, &parent, [&parent, poll, look, name, ticks = 0]() mutable {
        T* box = parent.findChild<T*>(name);
        const bool shown = box && box->isVisible();
        if (shown)
            look(*box);
        else if (++ticks < 300)
            return;
        poll->stop(), poll->deleteLater();
        if (QDialog* open = shown ? box : qobject_cast<QDialog*>(QApplication::activeModalWidget()); open && open->isVisible())
            ADD_FAILURE() << (shown ? "the box is still open" : "no box came up"), open->reject();
    });
    poll->start(10);
}

TEST(ServeEventsUntil, EndsWhenDoneOrWhenTheTimeIsUp)
{
    QTimer tick; // events keep coming, so a wait that misses its end still ends
    tick.start(20);
    QElapsedTimer clock;
    for (const auto& [limit, doneAfter] : {std::pair{3000, 100}, std::pair{100, 2500}}) {
        clock.start();
        serveEventsUntil(limit, [&, doneAfter = doneAfter] { return clock.elapsed() >= doneAfter; });
        EXPECT_TRUE(clock.elapsed() >= 100 && clock.elapsed() < 1000) << limit << ": " << clock.elapsed() << " ms";
    }
}

TEST(InfoWindows, OpenFromTheHelpMenuAsTheOneWindowTakingInputAndCloseWithEnter)
{
    Globals globals;
    MainWindow window(globals);
    window.show();
    ASSERT_TRUE(passIntro(window)) << "the intro's end";
    const QString credits = "A fun little game created by:\n\nProgrammer: ";
    const struct { MenuId item; const char* name; QString text; } rows[] = {
        {Menu_About, "frmAbout", credits}, {Menu_About, "frmAbout", credits}, // nothing added twice
        {Menu_Help, "frmHelp", "What 'Brindle' is all about.\n\nIt is pretty simple, all you have to do is to get\nfive "}};
    for (const auto& row : rows) {
        bool seen = false;
        whenShown<QDialog>(window, [&](QDialog& d) {
            const auto* help = d.findChild<QPlainTextEdit*>();
            const QString text = help ? help->toPlainText() : d.findChild<QLabel*>("lblDescription")->text();
            EXPECT_TRUE(QApplication::activeModalWidget() == &d && d.minimumSize() == d.maximumSize());
            EXPECT_TRUE(!d.windowTitle().isEmpty() && text.startsWith(row.text)) << text.toStdString();
            EXPECT_EQ(text.count('\n'), help ? 9 : 3) << "each text once, a line each";
            EXPECT_TRUE(help ? help->isReadOnly() && text.endsWith("Have fun!")
                             : d.findChild<QLabel*>("lblTitle")->font().bold()
                                   && d.findChild<QLabel*>("lblVersion")->text() == "Version 1.4.0");
            seen = true;
            QTest::keyClick(&d, Qt::Key_Return);
        }, row.name);
        window.action(row.item)->trigger();
        EXPECT_TRUE(seen) << row.name;
        EXPECT_EQ(window.findChild<QDialog*>(row.name), nullptr) << "closed and gone";
    }
}

using Values = std::map<std::string, std::string>;

class OpponentDialogTest : public ::testing::Test {
protected:
    void open(SettingsStore& store)
    {
        dialog = std::make_unique<OpponentDialog>(store, hostField, nullptr);
        dialog->show();
        grid = dialog->findChild<QTableWidget*>("flxNames");
    }
    QString rows() // "address name" each
    {
        QStringList out;
        for (int r = 0; r < grid->rowCount(); ++r)
            out << grid->item(r, 0)->text() + " " + grid->item(r, 1)->text();
        return out.join(" | ");
    }
    QPoint cell(int row, int col) { return grid->visualItemRect(grid->item(row, col)).center(); }
    void at(int row, int col, Qt::KeyboardModifiers keys = {}) { QTest::mouseClick(grid->viewport(), Qt::LeftButton, keys, cell(row, col)); }
    void click(const char* name) { QTest::mouseClick(dialog->findChild<QPushButton*>(name), Qt::LeftButton); }
    bool deleteShown() { return dialog->findChild<QPushButton*>("comDelete")->isVisible(); }

    const Values three = {{"IPNumber", "3"}, {"IP1", "10.0.0.1"}, {"IPname1", "Ann"}, {"IP2", "host.lan"},
                          {"IPname2", "Bo"}, {"IP3", "10.0.0.3"}, {"IPname3", "Cy"}};
    testing::MemorySettings settings;
    QLineEdit hostField;
    std::unique_ptr<OpponentDialog> dialog;
    QTableWidget* grid = nullptr;
};

// What ends up in the host field, and how the list closes; one cell is chosen at a time.
TEST_F(OpponentDialogTest, OkEnterOrADoubleClickPutsTheCurrentCellInTheHostField)
{
    const struct { const char* what; std::function<void()> act; QString field; int result; } cases[] = {
        {"OK", [&] { click("comOK"); }, "10.0.0.1", QDialog::Accepted},
        {"Enter", [&] { QTest::keyClick(grid, Qt::Key_Return); }, "10.0.0.1", QDialog::Accepted},
        {"name, OK", [&] { at(0, 1), at(2, 1, Qt::ControlModifier), click("comOK"); }, "Cy", QDialog::Accepted},
        {"double click", [&] { at(1, 0), QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell(1, 0)); }, "host.lan", QDialog::Accepted},
        {"Cancel", [&] { at(1, 1), click("CancelButton"); }, "old", QDialog::Rejected},
        {"Escape", [&] { QTest::keyClick(grid, Qt::Key_Escape); }, "old", QDialog::Rejected},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        hostField.setText("old"), settings.values = three, open(settings);
        EXPECT_TRUE(rows() == "10.0.0.1 Ann | host.lan Bo | 10.0.0.3 Cy" && dialog->isModal() && deleteShown());
        c.act();
        EXPECT_TRUE(hostField.text() == c.field && grid->selectedItems().size() <= 1
                    && dialog->findChildren<QLineEdit*>().isEmpty()) << "one cell, not for editing";
        EXPECT_EQ(dialog->isVisible() ? -1 : dialog->result(), c.result);
        EXPECT_EQ(settings.values, three);
    }
    // No Delete where the first row has no address to show.
    for (const Values& saved : {Values{}, Values{{"IPNumber", "1"}, {"IPname1", "Ann"}}}) {
        settings.values = saved, open(settings);
        EXPECT_FALSE(deleteShown()) << saved.size();
        click("comOK");
        EXPECT_TRUE(hostField.text() == (saved.empty() ? "old" : "") && !dialog->isVisible()) << "the current cell, or none";
    }
}

// Over the real settings file, edited by hand too: Delete takes the current row at once and for good.
TEST_F(OpponentDialogTest, DeleteTakesTheCurrentRowForGood)
{
    QSettings file("Brin", "Brin");
    file.clear();
    file.setValue("Other/IP9", "x");
    QtSettings store;
    for (const auto& [key, value] : three)
        store.write(key, value);
    file.setValue("Settings/IPname3", QStringList{"Cy", "Dee"}); // a comma without quotes
    open(store);
    at(1, 1);
    click("comDelete");
    EXPECT_TRUE(rows() == "10.0.0.1 Ann | 10.0.0.3 Cy, Dee" && grid->currentRow() == 0 && dialog->isVisible());
    open(store);
    EXPECT_EQ(rows(), "10.0.0.1 Ann | 10.0.0.3 Cy, Dee") << "on the next opening too";
    click("comDelete"), click("comDelete");
    EXPECT_TRUE(rows().isEmpty() && !deleteShown() && store.keys() == std::vector<std::string>{"IPNumber"});
    file.clear();
}

} // namespace
} // namespace brindle
