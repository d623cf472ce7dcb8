#pragma once
// "Saved opponents": the hosts saved from the network dialog, address and
// name in a grid. OK (or a double click) puts the chosen cell's text, the
// address or the name, into the network dialog's host field; Delete deletes
// the current row's host.

#include <QDialog>

#include "game/ports.h"
#include "net/saved_hosts.h"

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace brindle {

class OpponentDialog final : public QDialog {
public:
    OpponentDialog(SettingsStore& settings, QLineEdit& hostField, QWidget* parent = nullptr);

    // ---- The handlers; the controls call them, and so may a test.
    // Fills the grid from the settings, the first address current.
    void Form_Load();
    void comOK_Click();
    void flxNames_DblClick();
    void comDelete_Click();
    void CancelButton_Click();

private:
    void buildControls();

    SavedHosts hosts_;
    QLineEdit& hostField_;

    QTableWidget* flxNames = nullptr;
    QPushButton* comOK = nullptr;
    QPushButton* comDelete = nullptr;
    QPushButton* CancelButton = nullptr;
};

} // namespace brindle
