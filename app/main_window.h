#pragma once
// frmMain: the Qt window around the game. It builds the controls and the menu
// tree, forwards every user action to the game, and after each action (and in
// every event pass the game asks for) renders what the game's state says.

#include <array>

#include <QMainWindow>
#include <QTimer>

#include "game/game.h"
#include "game/random.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;

namespace brindle {

class BoardView;

class MainWindow final : public QMainWindow, public Host {
    Q_OBJECT
public:
    explicit MainWindow(Globals& globals, QWidget* parent = nullptr);
    ~MainWindow() override;

    Game& game() { return game_; }
    const Game& game() const { return game_; }
    BoardView& board() { return *board_; }
    const BoardView& board() const { return *board_; }
    QAction* action(MenuId id) const { return actions_[id]; }

    // Host
    void DoEvents() override;
    void Pause(int milliseconds) override;
    void Beep() override;
    void PlaySound(std::string_view file) override;
    void Send(std::string_view text) override;
    void ShowIntro() override;

    // Brings every widget in line with the game's state.
    void Render();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void BuildMenus();
    QMenu* AddMenu(MenuId id, const char* caption);
    QAction* AddItem(QMenu* menu, MenuId id, const char* caption, QKeySequence key = {}, bool checkable = false);
    // Runs a user command unless the window is not taking input.
    void Command(MenuId id);
    void Dispatch(MenuId id);
    void BoardMouseDown(float x, float y);
    void BoardResized();
    void ApplySize();
    void ShowBusy(bool busy);
    // The ends of the program: closing the window, and "&Exit".
    void Form_Unload();
    void Menu_exit_Click();
    void EndProgram();

    BoardView* board_;
    ClockRandom random_;
    Game game_;

    std::array<QAction*, MenuCount> actions_{};
    QLabel* lblHvisTur_ = nullptr;
    QLabel* lblPlacer_ = nullptr;
    QLabel* lblTraek_ = nullptr;
    QLineEdit* txtTime_ = nullptr;
    QLabel* lblDraw_ = nullptr;
    QLabel* lblComp_ = nullptr;
    QLabel* lblMoves_ = nullptr;
    QPlainTextEdit* txtMoves_ = nullptr;
    QLabel* imgLeft_ = nullptr;
    QLabel* imgUp_ = nullptr;
    // The pause between automatic games. The game clock, the music poll and
    // the wait while leaving a network game join it with their parts.
    QTimer timer3_;
    std::string shownMoves_;
    bool busyShown_ = false;

    // The outer size in twips that the window last took; kept exact when
    // the pixel size merely rounds it.
    int32_t knownWidth_ = 0;
    int32_t knownHeight_ = 0;
    bool activated_ = false;
    bool stopDeferred_ = false;
    bool ending_ = false;
};

} // namespace brindle
