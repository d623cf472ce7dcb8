// The window without a mouse and through a screen reader's eyes: the board
// as a table of named cells, the focus on the cursor's cell, every move said
// on the status text, and every dialog field with a name of its own.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include "app/info_windows.h"
#include "app/network_dialog.h"
#include "app/opponent_dialog.h"
#include "app/say_what_dialog.h"
#include "support/fakes.h"
#include "support/pass_intro.h"

namespace brindle {
namespace {

// The events the window sends to assistive technology, from the moment the test listens.
struct Heard {
    explicit Heard(MainWindow& window) : announcer(window.announcer())
    {
        announcer.deliver = [this](QAccessibleEvent& event) { events.push_back({event.type(), event.accessibleInterface()}); };
    }
    ~Heard() { announcer.deliver = nullptr; }
    int count(QAccessible::Event type, QAccessibleInterface* about) const
    {
        return static_cast<int>(std::count_if(events.begin(), events.end(),
                                              [&](const auto& e) { return e.first == type && e.second == about; }));
    }
    BoardAnnouncer& announcer;
    std::vector<std::pair<QAccessible::Event, QAccessibleInterface*>> events;
};

std::string name(QAccessibleInterface* iface) { return iface ? iface->text(QAccessible::Name).toStdString() : "(none)"; }

struct Accessibility : ::testing::Test {
    QAccessibleInterface* table(MainWindow& w) { return QAccessible::queryAccessibleInterface(&w.board())->child(0); }
    QAccessibleInterface* cell(MainWindow& w, int row, int col) { return table(w)->tableInterface()->cellAt(row, col); }
    std::string status(MainWindow& w) { return w.findChild<QLabel*>("lblPlacer")->accessibleName().toStdString(); }
    std::string turn(MainWindow& w) { return w.findChild<QLabel*>("lblHvisTur")->accessibleName().toStdString(); }
    void key(MainWindow& w, Qt::Key k) { QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &w.board(), k); }
    Globals globals;
};

TEST_F(Accessibility, TheBoardIsATableOfNamedCellsAndTheCursorsCellHasTheFocus)
{
    MainWindow window(globals);
    ASSERT_TRUE(startGame(window));
    Heard heard(window);
    ASSERT_TRUE(waitFor([&] { return window.board().hasFocus(); }, "the board to have the keyboard"));

    QAccessibleInterface* pane = QAccessible::queryAccessibleInterface(&window.board());
    QAccessibleInterface* board = table(window);
    ASSERT_TRUE(board && board->role() == QAccessible::Table && name(board) == "Board" && board->parent() == pane);
    EXPECT_TRUE(board->tableInterface()->rowCount() == 20 && board->tableInterface()->columnCount() == 20);
    QAccessibleInterface* c = cell(window, 9, 10);
    EXPECT_TRUE(c->role() == QAccessible::Cell && name(c) == "row 10, column 11, empty");
    QAccessibleTableCellInterface* place = c->tableCellInterface();
    EXPECT_TRUE(place->rowIndex() == 9 && place->columnIndex() == 10 && place->rowExtent() == 1 && place->columnExtent() == 1);
    EXPECT_EQ(board->indexOfChild(c), 9 * 20 + 10);
    EXPECT_EQ(board->childAt(c->rect().center().x(), c->rect().center().y()), c);
    EXPECT_EQ(board->rect(), cell(window, 0, 0)->rect().united(cell(window, 19, 19)->rect())) << "the table spans its cells";
    EXPECT_EQ(c->rect().size(), QSize(toPixels(window.game().CellWidth), toPixels(window.game().CellHeight)));
    for (int i = 0; i < pane->childCount(); ++i) // the table first, then the labels and the move list beside it
        EXPECT_EQ(pane->indexOfChild(pane->child(i)), i);
    EXPECT_EQ(turn(window), "Red to move");

    key(window, Qt::Key_Home);
    EXPECT_EQ(heard.count(QAccessible::Focus, cell(window, 9, 9)), 1) << "the cursor's first showing is told";
    key(window, Qt::Key_Right);
    EXPECT_TRUE(heard.count(QAccessible::Focus, c) == 1 && c->state().focused && pane->focusChild() == c);
    EXPECT_TRUE(c->state().focusable && c->state().readOnly);
    EXPECT_FALSE(cell(window, 9, 9)->state().focused);
    // The frame shows on the surface: white just inside the grid lines.
    const QRect area(window.board().mapFromGlobal(c->rect().topLeft()), c->rect().size());
    EXPECT_EQ(window.board().image().pixel(area.topLeft() + QPoint(1, area.height() / 2)), qRgb(255, 255, 255));

    key(window, Qt::Key_Space);
    EXPECT_EQ(heard.count(QAccessible::Focus, c), 1) << "a move on the cursor's cell does not move the focus";
    EXPECT_EQ(name(c), "row 10, column 11, red");
    EXPECT_TRUE(heard.count(QAccessible::NameChanged, c) == 1) << "the cell's new name is told";
    EXPECT_EQ(status(window), "Red plays row 10, column 11");
    EXPECT_EQ(turn(window), "Blue to move");

    // Tab goes to the move list and back; Enter there is not a move.
    key(window, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.findChild<QPlainTextEdit*>("txtMoves"));
    key(window, Qt::Key_Return);
    EXPECT_EQ(window.game().state().MoveCount, 1);
    key(window, Qt::Key_Tab);
    EXPECT_TRUE(window.board().hasFocus());
    EXPECT_GE(heard.count(QAccessible::Focus, c), 2) << "coming back, the cursor's cell has the focus again";

    // The menus' shortcuts still reach the window from the board: Del takes the move back.
    key(window, Qt::Key_Delete);
    ASSERT_TRUE(waitFor([&] { return window.game().state().MoveCount == 0; }, "Del to undo"));
    EXPECT_EQ(name(c), "row 10, column 11, empty");
    key(window, Qt::Key_Return); // the same move again: the same words, told again
    QAccessibleInterface* placer = QAccessible::queryAccessibleInterface(window.findChild<QLabel*>("lblPlacer"));
    EXPECT_TRUE(status(window) == "Red plays row 10, column 11" && heard.count(QAccessible::NameChanged, placer) == 1);

    clickCell(window, 3, 3);
    EXPECT_TRUE(!window.game().ui.cursor.Shown && !c->state().focused) << "a click hides the cursor";
    EXPECT_NE(window.board().image().pixel(area.topLeft() + QPoint(1, area.height() / 2)), qRgb(255, 255, 255));
}

// Every field a player can reach in a window, by its role, has a name and no other field's.
::testing::AssertionResult namedApart(QWidget& window)
{
    static const std::set<QAccessible::Role> roles = {QAccessible::EditableText, QAccessible::CheckBox, QAccessible::RadioButton,
                                                      QAccessible::Table, QAccessible::PushButton};
    std::set<std::string> names;
    std::string problem;
    std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* iface) {
        if (!iface || iface->state().invisible)
            return;
        if (roles.count(iface->role()) != 0 && (name(iface).empty() || !names.insert(name(iface)).second))
            problem += " \"" + name(iface) + "\"";
        for (int i = 0; i < iface->childCount() && iface->role() != QAccessible::Table; ++i)
            walk(iface->child(i));
    };
    walk(QAccessible::queryAccessibleInterface(&window));
    if (!problem.empty())
        return ::testing::AssertionFailure() << window.windowTitle().toStdString() << ": empty or twice:" << problem;
    return ::testing::AssertionSuccess();
}

TEST_F(Accessibility, EveryDialogFieldHasADistinctName)
{
    MainWindow window(globals);
    ASSERT_TRUE(startGame(window));
    EXPECT_TRUE(namedApart(window));
    bool checked = false;
    QTimer::singleShot(0, &window, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        EXPECT_TRUE(namedApart(*dialog));
        const auto* games = dialog->findChild<QListWidget*>("lstGames"); // no discovery service on the test's bus
        checked = dialog->findChild<QWidget*>("txtHostIP")->accessibleName() == "Host address" &&
                  dialog->findChild<QWidget*>("booTime")->accessibleName() == "Time limit" && games->count() == 1 &&
                  games->item(0)->text() == NetworkDialog::NoDiscoveryText && !(games->item(0)->flags() & Qt::ItemIsEnabled);
        dialog->close();
    });
    window.action(Menu_Network)->trigger();
    EXPECT_TRUE(checked) << "the network dialog was seen, its list saying there is no discovery";
    testing::MemorySettings settings;
    QLineEdit host;
    OpponentDialog opponents(settings, host, &window);
    SayWhatDialog say(window.session(), &window);
    HelpDialog help(&window);
    for (QDialog* dialog : std::initializer_list<QDialog*>{&opponents, &say, &help}) {
        dialog->show();
        EXPECT_TRUE(namedApart(*dialog));
    }
}

} // namespace
} // namespace brindle
