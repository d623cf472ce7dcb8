// The list of saved opponents, over settings in memory and over the real
// settings file; the grid and the buttons are driven as a player would.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>

#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTest>

#include "app/opponent_dialog.h"
#include "app/settings.h"
#include "support/fake_transport.h"

namespace brindle {
namespace {

using Values = std::map<std::string, std::string>;
using Rows = std::vector<std::pair<QString, QString>>;

class OpponentDialogTest : public ::testing::Test {
protected:
    void open(SettingsStore& store)
    {
        dialog = std::make_unique<OpponentDialog>(store, hostField, nullptr);
        dialog->show();
    }
    void open(const Values& saved)
    {
        settings.values = saved;
        open(settings);
    }

    QTableWidget* grid() { return dialog->findChild<QTableWidget*>("flxNames"); }
    QPushButton* button(const char* name) { return dialog->findChild<QPushButton*>(name); }
    Rows rows()
    {
        Rows out;
        for (int r = 0; r < grid()->rowCount(); ++r)
            out.emplace_back(grid()->item(r, 0)->text(), grid()->item(r, 1)->text());
        return out;
    }
    void clickCell(int row, int col, bool twice = false)
    {
        const QPoint at = grid()->visualItemRect(grid()->item(row, col)).center();
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, at);
        if (twice)
            QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, at);
    }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    bool deleteShown() { return button("comDelete")->isVisible(); }
    std::pair<int, int> current() { return {grid()->currentRow(), grid()->currentColumn()}; }

    const Values three = {{"IPNumber", "3"}, {"IP1", "10.0.0.1"}, {"IPname1", "Ann"}, {"IP2", "host.lan"},
                          {"IPname2", "Bo"}, {"IP3", "10.0.0.3"}, {"IPname3", "Cy"}};
    testing::MemorySettings settings;
    QLineEdit hostField{QStringLiteral("old")};
    std::unique_ptr<OpponentDialog> dialog;
};

TEST_F(OpponentDialogTest, ShowsEachHostOnARowWithTheFirstAddressCurrent)
{
    open(three);
    EXPECT_EQ(dialog->windowTitle(), "Saved opponents");
    EXPECT_TRUE(dialog->isModal());
    EXPECT_EQ(std::make_pair(dialog->font().family(), dialog->font().pointSize()), std::make_pair(QString("Arial"), 8));
    EXPECT_EQ(dialog->minimumSize(), QSize(4575 / 15, 5175 / 15));
    EXPECT_EQ(dialog->maximumSize(), dialog->minimumSize());
    EXPECT_EQ(button("CancelButton")->geometry(), QRect(3240 / 15, 4680 / 15, 1215 / 15, 375 / 15));
    EXPECT_TRUE(button("comOK")->isDefault());
    // The name column leaves room for the scroll bar.
    EXPECT_EQ(grid()->columnWidth(0), 2000 / 15);
    EXPECT_EQ(grid()->columnWidth(1), (4335 - 2000 - 280) / 15);
    EXPECT_FALSE(grid()->horizontalHeader()->isVisible() || grid()->verticalHeader()->isVisible());
    EXPECT_EQ(rows(), (Rows{{"10.0.0.1", "Ann"}, {"host.lan", "Bo"}, {"10.0.0.3", "Cy"}}));
    EXPECT_EQ(current(), std::make_pair(0, 0));
    EXPECT_TRUE(deleteShown());
    // One cell is chosen at a time.
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      grid()->visualItemRect(grid()->item(2, 1)).center());
    EXPECT_EQ(grid()->selectedItems(), QList<QTableWidgetItem*>{grid()->item(2, 1)});

    // Delete goes when the first row has no address to show.
    for (const Values& saved : {Values{}, Values{{"IPNumber", "1"}, {"IP1", ""}, {"IPname1", "Ann"}},
                                Values{{"IPNumber", "2"}, {"IPname1", "Ann"}, {"IP2", "b"}}}) {
        open(saved);
        EXPECT_FALSE(deleteShown()) << saved.size();
    }
}

// What ends up in the host field, and how the list closes.
TEST_F(OpponentDialogTest, OkOrADoubleClickPutsTheCurrentCellInTheHostField)
{
    const struct {
        const char* what;
        std::function<void()> act;
        QString field;
        bool accepted;
    } cases[] = {
        {"OK", [this] { click("comOK"); }, "10.0.0.1", true},
        {"Enter", [this] { QTest::keyClick(grid(), Qt::Key_Return); }, "10.0.0.1", true},
        {"name, OK", [this] { clickCell(2, 1); click("comOK"); }, "Cy", true},
        {"double click", [this] { clickCell(1, 0, true); }, "host.lan", true},
        {"Cancel", [this] { clickCell(1, 1); click("CancelButton"); }, "old", false},
        {"Escape", [this] { QTest::keyClick(grid(), Qt::Key_Escape); }, "old", false},
        {"close box", [this] { dialog->close(); }, "old", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        hostField.setText("old");
        open(three);
        c.act();
        EXPECT_EQ(hostField.text(), c.field);
        EXPECT_TRUE(dialog->findChildren<QLineEdit*>().isEmpty()) << "the grid is not for editing";
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), c.accepted ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(settings.values, three);
    }
    open(Values{});
    click("comOK");
    EXPECT_EQ(hostField.text(), "old");
    EXPECT_FALSE(dialog->isVisible());
}

// Over the real settings file: Delete takes the current row, the list shows
// what is left at once and on the next opening, and a long list deletes at
// once.
TEST_F(OpponentDialogTest, DeleteTakesTheCurrentRowLastingAndQuickly)
{
    QSettings(QStringLiteral("Brin"), QStringLiteral("Brin")).remove(QStringLiteral("Settings"));
    {
        QtSettings store;
        for (const auto& [key, value] : three)
            store.write(key, value);
        open(store);
        clickCell(1, 1);
        click("comDelete");
        EXPECT_EQ(rows(), (Rows{{"10.0.0.1", "Ann"}, {"10.0.0.3", "Cy"}}));
        EXPECT_EQ(current(), std::make_pair(0, 0));
        EXPECT_TRUE(dialog->isVisible());
        dialog.reset();
    }
    QtSettings store;
    open(store);
    EXPECT_EQ(rows(), (Rows{{"10.0.0.1", "Ann"}, {"10.0.0.3", "Cy"}}));
    EXPECT_EQ(QSettings(QStringLiteral("Brin"), QStringLiteral("Brin")).value("Settings/IPNumber"), "2");
    clickCell(1, 0);
    click("comDelete");
    click("comDelete");
    EXPECT_EQ(rows(), Rows{});
    EXPECT_FALSE(deleteShown());
    EXPECT_EQ(store.keys(), std::vector<std::string>{"IPNumber"});

    constexpr int Count = 5000;
    for (int k = 1; k <= Count; ++k) {
        store.write("IP" + std::to_string(k), "10.1." + std::to_string(k / 256) + "." + std::to_string(k % 256));
        store.write("IPname" + std::to_string(k), "Host " + std::to_string(k));
    }
    store.write("IPNumber", std::to_string(Count));
    QElapsedTimer clock;
    clock.start();
    open(store);
    click("comDelete");
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(grid()->rowCount(), Count - 1);
    EXPECT_EQ(grid()->item(0, 1)->text(), "Host 2");
    EXPECT_EQ(store.read("IPname4999", ""), "Host 5000");
    QSettings(QStringLiteral("Brin"), QStringLiteral("Brin")).remove(QStringLiteral("Settings"));
}

} // namespace
} // namespace brindle
