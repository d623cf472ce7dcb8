#pragma once
// frmMain: the Qt window around the game. It builds the controls and the menu
// tree and forwards every event (menu, shortcut, mouse, resize, timer) to the
// game through one wrapper that afterwards renders what the game's state
// says. It touches nothing outside itself, so two copies can run side by
// side in one process.

#include <array>
#include <vector>

#include <QApplication>
#include <QCursor>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include "app/advisor.h"
#include "app/analysis_panel.h"
#include "platform/avahi.h"
#include "app/board_accessible.h"
#include "app/qt_ports.h"
#include "platform/record_files.h"
#include "platform/sdl_sound.h"
#include "game/game.h"
#include "game/random.h"
#include "net/session.h"
#include "platform/settings.h"
#include "platform/tcp_transport.h"
#include "platform/thinkers.h"

class QAction;
class QActionGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;

namespace brindle {

class BoardView;

class MainWindow final : public QMainWindow, public EventLoop {
    Q_OBJECT
public:
    explicit MainWindow(Globals& globals, QWidget* parent = nullptr);
    // The board outlives this class's part of the window: it must not call back into it.
    ~MainWindow() override;

    Game& game() { return game_; }
    WindowThinker& thinker() { return thinker_; }
    // Starts the given brain as the other engine, as the menu does once a file is chosen.
    void startEngine(const QString& program, const QStringList& arguments = {});
    const Game& game() const { return game_; }
    NetSession& session() { return session_; }
    TcpTransport& transport() { return transport_; }
    BoardView& board() { return *board_; }
    const BoardView& board() const { return *board_; }
    QAction* action(MenuId id) const { return actions_[id]; }
    Advisor& advisor() { return *advisor_; }
    AnalysisPanel& analysisPanel() { return *analysisPanel_; }
    // Timer1 to Timer4 as the window runs them.
    const QTimer& timer(int number) const { return timers_[static_cast<size_t>(number - 1)]; }

    // EventLoop
    void DoEvents() override;
    void Pause(int milliseconds) override;
    void waitFor(int milliseconds, const std::function<bool()>& done) override;
    void ShowIntro() override;

    // Brings every widget in line with the game's state.
    void Render();

    // Opens a game record: at once, or once the intro has ended. Every
    // failure is told in a message, and the game on the board stays.
    void openRecordFile(const QString& path);
    KeptGameFile& keptGame() { return keptGame_; }
    BoardAnnouncer& announcer() { return announcer_; }

protected:
    // Enter in the move list.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The one way from an event to the game: runs it, then renders.
    template <class Event>
    void handle(Event&& event);

    void buildControls();
    void buildMenus();
    // The analysis panel, the review and the marks over the board.
    void buildAdvice();
    QMenu* addMenu(MenuId id, const char* caption);
    QAction* addItem(QMenu* menu, MenuId id, const char* caption, QKeySequence key = {}, bool checkable = false);
    // Items of which exactly one is chosen show radio marks.
    void makeExclusive(const std::vector<MenuId>& items);
    void boardResized();
    void applySize();
    void renderTimers();
    void showBusy(bool busy);
    void Form_Unload();
    void Menu_exit_Click();
    void openNetworkDialog();
    // "Strength...": a step chosen on a slider, kept in the settings, and
    // playing from then on; the menu item names the step.
    void chooseStrength();
    void showStrength();
    // "Other engine...": a brain chosen with a file dialog, started, and
    // playing from then on.
    void chooseEngine();
    void engineStarted(const std::string& failure);
    // A drag over the board: taken when it carries one file, opened when dropped.
    bool recordDropped(QEvent* event);
    void saveGame();
    void openGame();
    // The folder of the last record saved or opened.
    QString recordFolder() const;

    BoardView* board_;
    SdlSound sound_{SdlSound::standardFolders(), [] { QApplication::beep(); }};
    ClockRandom random_;
    MessageBoxes dialogs_;
    QtSettings settings_;
    // The hosted game on the local network; it outlives the session that uses it.
    OnDemandAnnouncer hostAnnouncer_;
    TcpTransport transport_;
    NetSession session_;
    // Ends the other engines, and outlives them.
    BrainEnder brainEnder_;
    WindowThinker thinker_;
    KeptGameFile keptGame_;
    Game game_;
    // A record named before the intro ended.
    QString pendingRecord_;
    // An engine chosen from the menu that is still starting.
    std::unique_ptr<EngineProcess> startingEngine_;

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
    // Timer1 to Timer4.
    std::array<QTimer, 4> timers_;
    // The timers' restart counts as last rendered.
    std::array<uint32_t, 4> timerRestarts_{};
    std::string shownMoves_;
    BoardAnnouncer announcer_;
    AnalysisPanel* analysisPanel_ = nullptr;
    std::unique_ptr<Advisor> advisor_;

    // The widgets that show a pointer of their own, and the pointer each had
    // before the hourglass.
    struct OwnPointer {
        QPointer<QWidget> widget;
        bool set = false;
        QCursor cursor;
    };
    std::vector<OwnPointer> pointers_;
    bool busyShown_ = false;

    // The outer size in twips that the window last took; kept exact when
    // the pixel size merely rounds it.
    int32_t knownWidth_ = 0;
    int32_t knownHeight_ = 0;
    bool activated_ = false;
    bool ending_ = false;
};

} // namespace brindle
