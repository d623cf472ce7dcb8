#pragma once
// The "Network game" dialog: host a game or join one, with the names, the
// time limit and the host's address remembered in the settings. Hosting and
// joining themselves are the session's; the dialog checks its fields, hands
// them over and reports what went wrong.

#include <array>
#include <cstdint>
#include <string>

#include <QDialog>

#include "game/game.h"
#include "game/globals.h"
#include "game/ports.h"
#include "net/session.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;

namespace brindle {

class AvahiBrowser;

class NetworkDialog final : public QDialog {
public:
    NetworkDialog(Game& game, NetSession& session, Globals& globals, SettingsStore& settings, Dialogs& dialogs,
                  std::string localIP, QWidget* parent = nullptr);

    // The time limit of each option, by index.
    static constexpr std::array<int32_t, 4> OptionSeconds = {30, 60, 120, 300};

    // ---- The handlers; the controls call them, and so may a test.
    void Form_Load();
    void booTime_Click();
    void comHost_Click();
    void comJoin_Click();
    // Save: the host's address under a name of the player's choosing.
    void Command1_Click();
    // Load: a saved host's address, or its name, chosen from the list.
    void Command2_Click();
    void CancelButton_Click();
    // Key codes are Qt's; Enter and Return act, every other key is typing.
    void txtHostAm_KeyDown(int KeyCode);
    void txtHostIP_KeyDown(int KeyCode);
    void txtPlayerAm_KeyDown(int KeyCode);
    void txtHostIP_GotFocus();
    void txtPlayerAm_GotFocus();
    // A game chosen from "Games on this network" fills the host field (false
    // for a line that cannot be chosen); a double click joins it at once.
    bool lstGames_Click(QListWidgetItem* item);
    void lstGames_DblClick(QListWidgetItem* item);

    // The games found, as the list shows them.
    static constexpr const char* NoDiscoveryText = "No network discovery on this computer";
    static constexpr const char* LookingText = "Looking for games...";

    // Escape and the close box leave as Cancel does.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    // Index of the first selected option, or -1.
    int selectedOption() const;
    void showBox(const std::string& text, const char* caption, Dialogs::Icon icon);
    // Fills the list again from what the browser knows, keeping the choice.
    void showGames();

    Game& game_;
    NetSession& session_;
    Globals& globals_;
    SettingsStore& settings_;
    Dialogs& dialogs_;
    std::string localIP_;
    // Cancel is under way; an Escape arriving meanwhile must not run it again.
    bool cancelling_ = false;

    QLabel* Label1 = nullptr;
    QLabel* lblIP = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* txtHostAm = nullptr;
    QCheckBox* booTime = nullptr;
    std::array<QRadioButton*, 4> Option1{};
    QButtonGroup* optionGroup_ = nullptr;
    QPushButton* comHost = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* txtPlayerAm = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* txtHostIP = nullptr;
    QPushButton* comJoin = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* CancelButton = nullptr;
    QGroupBox* Frame3 = nullptr;
    QListWidget* lstGames = nullptr;
    AvahiBrowser* browser_ = nullptr;
};

} // namespace brindle
