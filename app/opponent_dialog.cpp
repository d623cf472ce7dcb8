#include "opponent_dialog.h"

#include <QFont>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "app/twips.h"
#include "platform/qt_helpers.h"

namespace brindle {

namespace {

constexpr int GridWidth = 4335;
constexpr int AddressWidth = 2000;
// Room for the vertical scroll bar beside the name column.
constexpr int ScrollBarWidth = 280;

} // namespace

OpponentDialog::OpponentDialog(SettingsStore& settings, QLineEdit& hostField, QWidget* parent)
    : QDialog(parent), hosts_(settings), hostField_(hostField)
{
    setObjectName(QStringLiteral("frmOpponent"));
    setWindowTitle(QStringLiteral("Saved opponents"));
    setModal(true);
    setFixedSize(twipsToPixels(4575), twipsToPixels(5175));
    setFont(QFont(QStringLiteral("Arial"), 8));
    buildControls();
    Form_Load();
}

void OpponentDialog::buildControls()
{
    flxNames = place(new QTableWidget(this), "flxNames", 120, 120, GridWidth, 4350);
    flxNames->setColumnCount(2);
    // The header is not shown, but a screen reader names the columns by it.
    flxNames->setHorizontalHeaderLabels({QStringLiteral("Address"), QStringLiteral("Name")});
    flxNames->setAccessibleName(QStringLiteral("Saved opponents"));
    flxNames->horizontalHeader()->hide();
    flxNames->verticalHeader()->hide();
    flxNames->setEditTriggers(QAbstractItemView::NoEditTriggers);
    flxNames->setSelectionMode(QAbstractItemView::SingleSelection);
    flxNames->setWordWrap(false);

    comOK = place(new QPushButton(QStringLiteral("&OK"), this), "comOK", 120, 4680, 1215, 375);
    comDelete = place(new QPushButton(QStringLiteral("&Delete"), this), "comDelete", 1680, 4680, 1215, 375);
    CancelButton = place(new QPushButton(QStringLiteral("&Cancel"), this), "CancelButton", 3240, 4680, 1215, 375);
    // Enter in the grid chooses the current cell.
    comOK->setDefault(true);

    connect(comOK, &QPushButton::clicked, this, [this] { comOK_Click(); });
    connect(comDelete, &QPushButton::clicked, this, [this] { comDelete_Click(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButton_Click(); });
    connect(flxNames, &QTableWidget::cellDoubleClicked, this, [this] { flxNames_DblClick(); });
}

void OpponentDialog::Form_Load()
{
    flxNames->setColumnWidth(0, twipsToPixels(AddressWidth));
    flxNames->setColumnWidth(1, twipsToPixels(GridWidth - AddressWidth - ScrollBarWidth));
    const std::vector<SavedHost> list = hosts_.entries();
    flxNames->setRowCount(static_cast<int>(list.size()));
    for (size_t i = 0; i < list.size(); ++i) {
        const int row = static_cast<int>(i);
        flxNames->setItem(row, 0, new QTableWidgetItem(toQString(list[i].address)));
        flxNames->setItem(row, 1, new QTableWidgetItem(toQString(list[i].name)));
    }
    if (!list.empty())
        flxNames->setCurrentCell(0, 0);
    // Nothing to delete, or a host without an address the player could not
    // tell from a blank row.
    const QTableWidgetItem* current = flxNames->currentItem();
    comDelete->setHidden(current == nullptr || current->text().isEmpty());
}

void OpponentDialog::comOK_Click()
{
    if (const QTableWidgetItem* current = flxNames->currentItem())
        hostField_.setText(current->text());
    accept();
}

void OpponentDialog::flxNames_DblClick()
{
    comOK_Click();
}

void OpponentDialog::comDelete_Click()
{
    const int row = flxNames->currentRow();
    if (row < 0)
        return;
    hosts_.remove(static_cast<size_t>(row));
    Form_Load();
}

void OpponentDialog::CancelButton_Click()
{
    reject();
}

} // namespace brindle
