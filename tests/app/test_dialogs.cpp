// The Help menu's windows and the list of saved opponents, driven as a player would.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "app/info_windows.h"
#include "support/pass_intro.h"
#include "app/opponent_dialog.h"
#include "platform/settings.h"
#include "support/fake_transport.h"

namespace brindle {
namespace {

TEST(InfoWindows, AboutAndHelpOpenFromTheHelpMenuSayWhatTheGameIsAndCloseWithEnter)
{
    Globals globals;
    MainWindow window(globals);
    ASSERT_TRUE(passIntro(window));
    for (const MenuId item : {Menu_About, Menu_Help, Menu_About}) { // opened twice: nothing is added twice
        QString text;
        QTimer::singleShot(0, &window, [&text] {
            QWidget* shown = QApplication::activeModalWidget();
            for (const QLabel* label : shown->findChildren<QLabel*>())
                text += label->text() + "|";
            for (const QPlainTextEdit* edit : shown->findChildren<QPlainTextEdit*>())
                text += edit->toPlainText() + "|";
            QTest::keyClick(shown, Qt::Key_Return);
            text += shown->isVisible() ? "still open" : "";
        });
        window.game().command(item);
        if (item == Menu_Help)
            EXPECT_TRUE(text.startsWith("What 'Brindle' is all about.\n\nIt is pretty simple, all you have to do is to get\nfive ")
                        && text.count('\n') == 9 && text.endsWith("Have fun!|")) << text.toStdString();
        else
            EXPECT_TRUE(text.contains("|Brindle|Version 1.4.0|A fun little game created by:\n\nProgrammer: ") &&
                        text.count('\n') == 3) << text.toStdString();
    }
}

// What ends up in the host field, and how the list closes; one cell is chosen at a time, none edited.
TEST(OpponentDialog, OkEnterOrADoubleClickPutsTheCurrentCellInTheHostFieldAndDeleteTakesTheRowForGood)
{
    using Values = std::map<std::string, std::string>;
    const Values three = {{"IPNumber", "3"}, {"IP1", "10.0.0.1"}, {"IPname1", "Ann"}, {"IP2", "host.lan"},
                          {"IPname2", "Bo"}, {"IP3", "10.0.0.3"}, {"IPname3", "Cy"}};
    testing::MemorySettings settings;
    QLineEdit hostField;
    std::unique_ptr<OpponentDialog> dialog;
    QTableWidget* grid = nullptr;
    const auto open = [&](SettingsStore& store) {
        dialog = std::make_unique<OpponentDialog>(store, hostField, nullptr), dialog->show();
        grid = dialog->findChild<QTableWidget*>("flxNames");
    };
    const auto rows = [&] { // "address name" each
        QStringList out;
        for (int r = 0; r < grid->rowCount(); ++r)
            out << grid->item(r, 0)->text() + " " + grid->item(r, 1)->text();
        return out.join(" | ");
    };
    const auto cell = [&](int row, int col) { return grid->visualItemRect(grid->item(row, col)).center(); };
    const auto at = [&](int row, int col, Qt::KeyboardModifiers keys = {}) { QTest::mouseClick(grid->viewport(), Qt::LeftButton, keys, cell(row, col)); };
    const auto click = [&](const char* name) { QTest::mouseClick(dialog->findChild<QPushButton*>(name), Qt::LeftButton); };
    const auto deleteShown = [&] { return dialog->findChild<QPushButton*>("comDelete")->isVisible(); };

    const struct { const char* what; std::function<void()> act; QString field; int result; } cases[] = {
        {"OK", [&] { click("comOK"); }, "10.0.0.1", QDialog::Accepted},
        {"Enter", [&] { QTest::keyClick(grid, Qt::Key_Return); }, "10.0.0.1", QDialog::Accepted},
        {"name, OK", [&] { at(0, 1), at(2, 1, Qt::ControlModifier), click("comOK"); }, "Cy", QDialog::Accepted},
        {"double click", [&] { at(1, 0), QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell(1, 0)); }, "host.lan", QDialog::Accepted},
        {"Cancel", [&] { at(1, 1), click("CancelButton"); }, "old", QDialog::Rejected},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        hostField.setText("old"), settings.values = three, open(settings);
        EXPECT_TRUE(rows() == "10.0.0.1 Ann | host.lan Bo | 10.0.0.3 Cy" && deleteShown());
        c.act();
        EXPECT_TRUE(hostField.text() == c.field && grid->selectedItems().size() <= 1 && dialog->findChildren<QLineEdit*>().isEmpty());
        EXPECT_TRUE(!dialog->isVisible() && dialog->result() == c.result && settings.values == three);
    }
    // Over the real settings file, edited by hand too: Delete takes the current row at once and for good.
    QSettings file("Brin", "Brin");
    file.clear();
    QtSettings store;
    for (const auto& [key, value] : three)
        store.write(key, value);
    file.setValue("Settings/IPname3", QStringList{"Cy", "Dee"}), file.setValue("Other/IP9", "x"); // a comma without quotes
    open(store);
    at(1, 1), click("comDelete");
    EXPECT_TRUE(rows() == "10.0.0.1 Ann | 10.0.0.3 Cy, Dee" && grid->currentRow() == 0 && dialog->isVisible());
    open(store);
    EXPECT_EQ(rows(), "10.0.0.1 Ann | 10.0.0.3 Cy, Dee") << "on the next opening too";
    click("comDelete"), click("comDelete");
    EXPECT_TRUE(rows().isEmpty() && !deleteShown() && store.keys() == std::vector<std::string>{"IPNumber"});
    file.clear();
}

} // namespace
} // namespace brindle
