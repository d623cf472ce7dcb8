#include "board_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QWidget>

#include "app/board_view.h"
#include "game/game.h"

namespace brindle {

namespace {

class BoardTable;

// One cell, object-less, as an item view's cells are.
class BoardCell final : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    BoardCell(BoardTable* table, int row, int col) : table_(table), row_(row), col_(col) {}

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
    }

    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return col_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override;

private:
    BoardTable* table_;
    int row_;
    int col_;
};

// The grid itself: a table inside the board's surface, beside the labels and the move list.
class BoardTable final : public QAccessibleInterface, public QAccessibleTableInterface {
public:
    explicit BoardTable(BoardView* view) : view_(view) {}
    ~BoardTable() override
    {
        for (QAccessible::Id id : cellIds_)
            if (id != 0)
                QAccessible::deleteAccessibleInterface(id);
    }

    BoardView* view() const { return view_; }
    const Game* game() const { return view_ ? view_->game() : nullptr; }
    // The focused cell: the cursor's, while the board has the keyboard and the cursor shows.
    int focusedIndex() const
    {
        const Game* g = game();
        if (!g || !view_->hasFocus() || !g->ui.cursor.Shown)
            return -1;
        return g->ui.cursor.Row * BoardSize + g->ui.cursor.Col;
    }
    // The cell's area in the view's pixels.
    QRect cellArea(int row, int col) const
    {
        const Game* g = game();
        if (!g)
            return {};
        const QPoint corner(toPixels(g->CellWidth * (col + 1)), toPixels(g->CellHeight * (row + 1)));
        const QPoint far(toPixels(g->CellWidth * (col + 2)), toPixels(g->CellHeight * (row + 2)));
        return QRect(corner, far - QPoint(1, 1));
    }
    QRect onScreen(QRect area) const { return view_ ? QRect(view_->mapToGlobal(area.topLeft()), area.size()) : QRect(); }

    bool isValid() const override { return view_ && game(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(view_.data()); }
    QAccessibleInterface* child(int index) const override
    {
        return index >= 0 && index < CellCount ? cellAt(index / BoardSize, index % BoardSize) : nullptr;
    }
    int childCount() const override { return CellCount; }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (int i = 0; i < CellCount; ++i)
            if (cellIds_[static_cast<size_t>(i)] != 0 &&
                QAccessible::accessibleInterface(cellIds_[static_cast<size_t>(i)]) == child)
                return i;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        for (int row = 0; row < BoardSize; ++row)
            for (int col = 0; col < BoardSize; ++col)
                if (onScreen(cellArea(row, col)).contains(x, y))
                    return cellAt(row, col);
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override
    {
        const int index = focusedIndex();
        return index < 0 ? nullptr : child(index);
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? QStringLiteral("Board") : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        return onScreen(cellArea(0, 0).united(cellArea(BoardSize - 1, BoardSize - 1)));
    }
    QAccessible::Role role() const override { return QAccessible::Table; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.focusable = true;
        s.focused = view_ && view_->hasFocus() && focusedIndex() < 0;
        s.readOnly = true;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this) : nullptr;
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        if (!onBoard(row, column))
            return nullptr;
        QAccessible::Id& id = cellIds_[static_cast<size_t>(row * BoardSize + column)];
        if (id == 0)
            id = QAccessible::registerAccessibleInterface(new BoardCell(const_cast<BoardTable*>(this), row, column));
        return QAccessible::accessibleInterface(id);
    }
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int column) const override { return QStringLiteral("column %1").arg(column + 1); }
    QString rowDescription(int row) const override { return QStringLiteral("row %1").arg(row + 1); }
    int columnCount() const override { return BoardSize; }
    int rowCount() const override { return BoardSize; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    QPointer<BoardView> view_;
    mutable std::array<QAccessible::Id, CellCount> cellIds_{};
};

bool BoardCell::isValid() const { return table_->isValid(); }
QWindow* BoardCell::window() const { return table_->window(); }
QAccessibleInterface* BoardCell::parent() const { return table_; }
QAccessibleInterface* BoardCell::table() const { return table_; }
QRect BoardCell::rect() const { return table_->onScreen(table_->cellArea(row_, col_)); }

QString BoardCell::text(QAccessible::Text t) const
{
    const Game* game = table_->game();
    return t == QAccessible::Name && game ? QString::fromStdString(game->cellName(row_, col_)) : QString();
}

QAccessible::State BoardCell::state() const
{
    QAccessible::State s;
    s.focusable = true;
    s.readOnly = true;
    s.focused = table_->focusedIndex() == row_ * BoardSize + col_;
    return s;
}

// The board's surface: the table first, then the labels and the move list on it.
class BoardPane final : public QAccessibleWidget {
public:
    explicit BoardPane(BoardView* view) : QAccessibleWidget(view, QAccessible::Client)
    {
        tableId_ = QAccessible::registerAccessibleInterface(new BoardTable(view));
    }
    ~BoardPane() override { QAccessible::deleteAccessibleInterface(tableId_); }

    BoardTable* table() const { return static_cast<BoardTable*>(QAccessible::accessibleInterface(tableId_)); }

    int childCount() const override { return QAccessibleWidget::childCount() + 1; }
    QAccessibleInterface* child(int index) const override
    {
        return index == 0 ? table() : QAccessibleWidget::child(index - 1);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (child == table())
            return 0;
        const int index = QAccessibleWidget::indexOfChild(child);
        return index < 0 ? -1 : index + 1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        if (QAccessibleInterface* other = QAccessibleWidget::childAt(x, y))
            return other;
        return table()->rect().contains(x, y) ? table() : nullptr;
    }
    QAccessibleInterface* focusChild() const override
    {
        if (!widget()->hasFocus())
            return QAccessibleWidget::focusChild();
        QAccessibleInterface* cell = table()->focusChild();
        return cell ? cell : table();
    }

private:
    QAccessible::Id tableId_ = 0;
};

QAccessibleInterface* boardFactory(const QString&, QObject* object)
{
    if (auto* view = qobject_cast<BoardView*>(object))
        return new BoardPane(view);
    return nullptr;
}

} // namespace

void installBoardAccessibility()
{
    static const bool installed = (QAccessible::installFactory(boardFactory), true);
    (void)installed;
}

void BoardAnnouncer::send(QAccessibleEvent& event) const
{
    if (deliver)
        deliver(event);
    else
        QAccessible::updateAccessibility(&event);
}

void BoardAnnouncer::update(BoardView& board, QWidget& status, const Game& game)
{
    if (game.ui.spokenCount != spoken_) {
        spoken_ = game.ui.spokenCount;
        const QString words = QString::fromStdString(game.ui.spoken);
        // The widgets tell of a new name themselves; the same words again are told here.
        const bool same = status.accessibleName() == words;
        status.setAccessibleName(words);
        board.setAccessibleDescription(words);
        if (same) {
            QAccessibleEvent event(&status, QAccessible::NameChanged);
            send(event);
        }
    }

    const CellCursor& cursor = game.ui.cursor;
    const int32_t cursorCell = cursor.Row * BoardSize + cursor.Col;
    const bool focus = board.hasFocus();
    BoardPane* pane = nullptr;
    for (int32_t i = 0; i < CellCount; ++i) {
        const char mark = game.Board(i / BoardSize, i % BoardSize);
        if (mark == marks_[static_cast<size_t>(i)])
            continue;
        marks_[static_cast<size_t>(i)] = mark;
        if (pane == nullptr)
            pane = static_cast<BoardPane*>(QAccessible::queryAccessibleInterface(&board));
        QAccessibleEvent event(pane->table()->cellAt(i / BoardSize, i % BoardSize), QAccessible::NameChanged);
        send(event);
    }
    const bool moved = cursor.Shown != cursorShown_ || cursorCell != cursorCell_ || focus != hadFocus_;
    cursorShown_ = cursor.Shown;
    cursorCell_ = cursorCell;
    hadFocus_ = focus;
    if (moved && focus) {
        if (pane == nullptr)
            pane = static_cast<BoardPane*>(QAccessible::queryAccessibleInterface(&board));
        QAccessibleEvent event(cursor.Shown ? pane->table()->cellAt(cursor.Row, cursor.Col) : pane->table(),
                               QAccessible::Focus);
        send(event);
    }
}

} // namespace brindle
