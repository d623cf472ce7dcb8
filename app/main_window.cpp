#include "main_window.h"

#include <algorithm>

#include <QAction>
#include <QActionGroup>
#include <QLayout>
#include <QStyle>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>

#include "app/board_view.h"
#include "platform/engine_process.h"
#include "app/info_windows.h"
#include "app/network_dialog.h"
#include "app/pictures.h"
#include "game/version.h"
#include "app/say_what_dialog.h"
#include "app/strength_dialog.h"
#include "view/intro.h"
#include "view/layout.h"

namespace brindle {

namespace {

// Outer height not part of the board surface: frame, title bar and menu bar.
constexpr int32_t FrameHeight = 625;

QRect pixels(const Control& c)
{
    return {toPixels(c.Left), toPixels(c.Top), toPixels(c.Width), toPixels(c.Height)};
}

void place(QWidget* w, const Control& c)
{
    const QRect r = pixels(c);
    if (w->geometry() != r)
        w->setGeometry(r);
    if (w->isVisibleTo(w->parentWidget()) != c.Visible)
        w->setVisible(c.Visible);
}

void setBackground(QWidget* w, Colour colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, toQColor(colour));
    p.setColor(QPalette::Base, toQColor(colour));
    w->setPalette(p);
}

// The port a host listens on: the setting "Port" when it holds one.
uint16_t hostPort(const SettingsStore& settings)
{
    bool ok = false;
    const int port = QString::fromStdString(settings.read("Port", "")).trimmed().toInt(&ok);
    return ok && port > 0 && port <= 65535 ? static_cast<uint16_t>(port) : protocol::DefaultPort;
}

// Master's time for a move: the setting "MasterMs" when it holds a sensible one.
int masterMilliseconds(const SettingsStore& settings)
{
    bool ok = false;
    const int ms = QString::fromStdString(settings.read("MasterMs", "")).trimmed().toInt(&ok);
    return ok && ms >= 50 && ms <= 60000 ? ms : 300;
}

// The step of Strength... last chosen: the setting "Strength", the middle one otherwise.
int strengthSetting(const SettingsStore& settings)
{
    bool ok = false;
    const int step = QString::fromStdString(settings.read("Strength", "")).trimmed().toInt(&ok);
    return ok && step >= 1 && step <= static_cast<int>(StrengthLevels.size()) ? step : DefaultStrength;
}

} // namespace

MainWindow::MainWindow(Globals& globals, QWidget* parent)
    : QMainWindow(parent), board_(new BoardView(this)), dialogs_(this),
      hostAnnouncer_(VersionText), session_(globals, transport_, dialogs_, settings_, *this),
      thinker_([this] { return masterMilliseconds(settings_); }),
      game_(globals, {*board_, *this, sound_, session_, random_, steadyMilliseconds, &thinker_, &dialogs_, &keptGame_})
{
    setObjectName("frmMain");
    setCentralWidget(board_);
    // A record file is dropped on the board, where the game is.
    board_->setAcceptDrops(true);
    board_->installEventFilter(this);
    // The smallest outer window is 4600 x 5000 twips.
    board_->setMinimumSize(toPixels(MinWindowWidth - WidthAllowance), toPixels(MinWindowHeight - FrameHeight));
    board_->onMouseDown = [this](float x, float y) { handle([=, this] { game_.Form_MouseDown(x, y); }); };
    board_->onResized = [this] { handle([this] { boardResized(); }); };
    board_->setGame(&game_);
    board_->onKey = [this](Game::BoardKey key) { handle([=, this] { game_.boardKey(key); }); };
    board_->onFocus = [this] { Render(); };

    buildControls();
    buildMenus();
    bindViewCommands(game_);
    game_.bindCommand(Menu_exit, [this] { Menu_exit_Click(); });
    buildAdvice();

    session_.attach(game_);
    session_.announcer = &hostAnnouncer_;
    session_.listenPort = hostPort(settings_);
    session_.openDialog = [this] { openNetworkDialog(); };
    game_.bindCommand(Menu_Network, [this] { session_.Menu_Network_Click(); });
    game_.bindCommand(Menu_About, [this] {
        AboutDialog about(this);
        about.exec();
    });
    game_.bindCommand(Menu_Help, [this] {
        HelpDialog help(this);
        help.exec();
    });
    game_.bindCommand(Menu_OtherEngine, [this] { chooseEngine(); });
    game_.bindCommand(Menu_Strength, [this] { chooseStrength(); });
    game_.setStrength(strengthSetting(settings_));
    showStrength();
    game_.bindCommand(Menu_Save, [this] { saveGame(); });
    game_.bindCommand(Menu_Open, [this] { openGame(); });
    thinker_.deliver = [this](const std::function<void()>& answer) { handle(answer); };
    game_.bindCommand(Menu_Send, [this] {
        SayWhatDialog dialog(session_, this);
        dialog.exec();
    });
    transport_.onConnectionRequest = [this] { handle([this] { session_.Winsock1_ConnectionRequest(); }); };
    transport_.onDataArrival = [this] { handle([this] { session_.Winsock1_DataArrival(); }); };
    transport_.onClosed = [this] { handle([this] { session_.connectionLost(); }); };
    for (int i = 0; i < 4; ++i) {
        QTimer& t = timers_[static_cast<size_t>(i)];
        // The game clock's ticks come on the millisecond, not within 5 %.
        if (i == 0)
            t.setTimerType(Qt::PreciseTimer);
        connect(&t, &QTimer::timeout, this, [this, i] { handle([this, i] { game_.timerFired(i + 1); }); });
    }

    game_.Form_Load();
    Render();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    move(screen.center() - rect().center());
}

MainWindow::~MainWindow()
{
    board_->onMouseDown = nullptr;
    board_->onResized = nullptr;
    board_->onKey = nullptr;
    board_->onFocus = nullptr;
}

template <class Event>
void MainWindow::handle(Event&& event)
{
    if (ending_)
        return;
    event();
    game_.showAdviceItems();
    advisor_->sync();
    Render();
}

void MainWindow::showBusy(bool busy)
{
    // The hourglass of this window alone, shown over every control of it,
    // text boxes included; a second copy beside it keeps its own pointer.
    if (busy == busyShown_)
        return;
    busyShown_ = busy;
    for (OwnPointer& p : pointers_) {
        if (!p.widget)
            continue;
        if (busy) {
            p.set = p.widget->testAttribute(Qt::WA_SetCursor);
            p.cursor = p.widget->cursor();
            p.widget->setCursor(Qt::WaitCursor);
        } else if (p.set) {
            p.widget->setCursor(p.cursor);
        } else {
            p.widget->unsetCursor();
        }
    }
}

void MainWindow::buildControls()
{
    // The controls' sizes are made for a small, narrow face.
    board_->setFont(QFont(QStringLiteral("Arial"), 8));
    auto label = [this](const char* name, Qt::Alignment align) {
        auto* l = new QLabel(board_);
        l->setObjectName(name);
        l->setAlignment(align);
        return l;
    };
    lblHvisTur_ = label("lblHvisTur", Qt::AlignCenter);
    lblPlacer_ = label("lblPlacer", Qt::AlignLeft | Qt::AlignTop);
    lblTraek_ = label("lblTraek", Qt::AlignRight | Qt::AlignTop);
    lblComp_ = label("lblComp", Qt::AlignHCenter | Qt::AlignTop);
    lblMoves_ = label("lblMoves", Qt::AlignHCenter | Qt::AlignTop);

    lblDraw_ = label("lblDraw", Qt::AlignCenter);
    lblDraw_->setWordWrap(true);
    lblDraw_->setFont(QFont(QStringLiteral("Arial"), 48, QFont::Bold));
    lblDraw_->setAutoFillBackground(true);
    QPalette banner = lblDraw_->palette();
    banner.setColor(QPalette::Window, palette().color(QPalette::Base));
    banner.setColor(QPalette::WindowText, Qt::black);
    lblDraw_->setPalette(banner);

    txtTime_ = new QLineEdit(board_);
    txtTime_->setObjectName("txtTime");
    txtTime_->setReadOnly(true);
    txtTime_->setAlignment(Qt::AlignCenter);
    txtTime_->setFocusPolicy(Qt::NoFocus);
    txtTime_->setAccessibleName(QStringLiteral("Time"));
    setBackground(txtTime_, BackColour);

    // The status row is laid out around its widest texts in this font.
    const QFontMetrics metrics(board_->font());
    auto twips = [&metrics](const char* text) { return 15 * metrics.horizontalAdvance(QString::fromLatin1(text)); };
    StatusTextWidths& widest = game_.ui.statusText;
    widest.placer = std::max({twips("'s a winner!!!"), twips("It's a draw"), twips("'s turn.")});
    const QMargins text = txtTime_->textMargins(); // and the frame's 4 pixels each side
    widest.time = twips("00:00:00") + 15 * (text.left() + text.right() + 8);
    widest.moves = twips("Moves: 400");

    txtMoves_ = new QPlainTextEdit(board_);
    txtMoves_->setObjectName("txtMoves");
    txtMoves_->setAccessibleName(QStringLiteral("Moves"));
    txtMoves_->setReadOnly(true);
    txtMoves_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // One move a line: a long computer score scrolls sideways, never wraps.
    txtMoves_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Tab goes from the board to the move list and back; the board has the keyboard first.
    txtMoves_->setFocusPolicy(Qt::StrongFocus);
    txtMoves_->setTabChangesFocus(true);
    setTabOrder(board_, txtMoves_);
    board_->setFocus();
    txtMoves_->installEventFilter(this);
    setBackground(txtMoves_, BackColour);

    auto marker = [this](const char* name, ArrowDirection direction) {
        auto* l = new QLabel(board_);
        l->setObjectName(name);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        l->setPixmap(arrowPixmap(direction));
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        return l;
    };
    imgLeft_ = marker("imgLeft", ArrowDirection::Left);
    imgUp_ = marker("imgUp", ArrowDirection::Up);

    for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(txtTime_), txtMoves_->viewport()})
        pointers_.push_back({w, false, {}});
}

QMenu* MainWindow::addMenu(MenuId id, const char* caption)
{
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(QString::fromUtf8(caption).remove('&'));
    actions_[id] = menu->menuAction();
    return menu;
}

QAction* MainWindow::addItem(QMenu* menu, MenuId id, const char* caption, QKeySequence key, bool checkable)
{
    QAction* a = menu->addAction(QString::fromUtf8(caption));
    a->setShortcut(key);
    a->setCheckable(checkable);
    connect(a, &QAction::triggered, this, [this, id] { handle([this, id] { game_.command(id); }); });
    actions_[id] = a;
    return a;
}

void MainWindow::buildMenus()
{
    QMenu* game = addMenu(Menu_Game, "&Game");
    addItem(game, Menu_New, "&New game", Qt::Key_F2);
    addItem(game, Menu_Save, "&Save game...", Qt::CTRL | Qt::Key_S);
    addItem(game, Menu_Open, "&Open game...", Qt::CTRL | Qt::Key_O);
    addItem(game, Menu_Continue, "&Continue last game");
    game->addSeparator();
    addItem(game, Menu_Undo, "&Undo", Qt::Key_Delete);
    addItem(game, Menu_RejectUndo, "&Reject undo", Qt::Key_F9);
    game->addSeparator();
    addItem(game, Menu_Hint, "&Hint", Qt::Key_H);
    addItem(game, Menu_Analysis, "Anal&ysis", Qt::Key_F7, true);
    addItem(game, Menu_Review, "Re&view game");
    game->addSeparator();
    addItem(game, Menu_Details, "&Details", Qt::Key_F3, true);
    QMenu* piece = game->addMenu(QStringLiteral("&Piecesize"));
    actions_[Menu_Piece] = piece->menuAction();
    addItem(piece, Menu_PieceSmall, "&Small", Qt::CTRL | Qt::Key_A, true);
    addItem(piece, Menu_PieceNormal, "&Normal", Qt::CTRL | Qt::Key_B, true);
    addItem(piece, Menu_PieceFull, "&Full", Qt::CTRL | Qt::Key_C, true);
    addItem(game, Menu_Autodraw, "&Autodraw", Qt::Key_F4);
    game->addSeparator();
    addItem(game, Menu_Sound, "&Sound", Qt::Key_F5, true);
    addItem(game, Menu_Music, "&Music", Qt::Key_F6, true);
    game->addSeparator();
    addItem(game, Menu_exit, "&Exit", Qt::Key_F12);

    QMenu* players = addMenu(Menu_Players, "&Players");
    addItem(players, Menu_HumanHuman, "Human vs. Human", Qt::CTRL | Qt::Key_F1, true);
    addItem(players, Menu_HumanComputer, "Human vs. Computer", Qt::CTRL | Qt::Key_F2, true);
    addItem(players, Menu_ComputerComputer, "Computer vs. Computer", Qt::CTRL | Qt::Key_F3, true);
    addItem(players, Menu_Network, "Network game", Qt::CTRL | Qt::Key_F4, true);
    addItem(players, Menu_Send, "Send message");

    QMenu* level = addMenu(Menu_Computer, "&Computerlevel");
    std::vector<MenuId> levelItems;
    for (const Level& row : Levels) {
        addItem(level, row.item, row.caption, {}, true);
        levelItems.push_back(row.item);
    }
    addItem(level, Menu_Strength, strengthLevel(DefaultStrength).caption, {}, true);
    levelItems.push_back(Menu_Strength);
    addItem(level, Menu_OtherEngine, "&Other engine...", {}, true);
    levelItems.push_back(Menu_OtherEngine);

    QMenu* help = addMenu(Menu_Helpmenu, "&Help");
    addItem(help, Menu_Help, "&Help");
    help->addSeparator();
    addItem(help, Menu_About, "&About");

    QAction* stop = menuBar()->addAction(QStringLiteral("&Stop"));
    connect(stop, &QAction::triggered, this, [this] { handle([this] { game_.command(Menu_Stop); }); });
    actions_[Menu_Stop] = stop;

    makeExclusive({Menu_PieceSmall, Menu_PieceNormal, Menu_PieceFull});
    makeExclusive({Menu_HumanHuman, Menu_HumanComputer, Menu_ComputerComputer, Menu_Network});
    makeExclusive(levelItems);
}

void MainWindow::chooseStrength()
{
    StrengthDialog dialog(game_.strength(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    settings_.write("Strength", std::to_string(dialog.step()));
    game_.chooseStrength(dialog.step());
    showStrength();
}

void MainWindow::showStrength()
{
    // The menu names the step, as it names the other engine.
    actions_[Menu_Strength]->setText(QStringLiteral("S&trength: %1...").arg(game_.strength()));
}

void MainWindow::chooseEngine()
{
    const QString program = QFileDialog::getOpenFileName(this, QStringLiteral("Other engine"),
                                                         toQString(settings_.read("Engine", "")));
    if (program.isEmpty())
        return;
    // Brains that play several levels take them as arguments: pbrain-brindle --level easy.
    const std::string arguments =
        dialogs_.inputBox("Arguments for " + QFileInfo(program).fileName().toStdString() + " (none is fine):",
                          "Other engine", settings_.read("EngineArguments", ""));
    settings_.write("EngineArguments", arguments);
    startEngine(program, QProcess::splitCommand(QString::fromStdString(arguments)));
}

void MainWindow::startEngine(const QString& program, const QStringList& arguments)
{
    settings_.write("Engine", program.toStdString());
    EngineProcess::Options options;
    options.turnMilliseconds = masterMilliseconds(settings_);
    options.folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation).toStdString();
    if (startingEngine_)
        startingEngine_.release()->deleteLater();
    startingEngine_ = std::make_unique<EngineProcess>(program, arguments, options, brainEnder_);
    startingEngine_->start([this](const std::string& failure) { handle([this, failure] { engineStarted(failure); }); });
}

void MainWindow::engineStarted(const std::string& failure)
{
    const std::string name = startingEngine_->name();
    if (!failure.empty()) {
        // It goes once the call that brought the news has returned.
        startingEngine_.release()->deleteLater();
        dialogs_.messageBox("The engine " + name + " " + failure + "\r\nThe level stays as it was.", "Brindle",
                            Dialogs::Icon::Information);
        return;
    }
    thinker_.setEngine(std::move(startingEngine_));
    game_.otherEngineChosen();
    actions_[Menu_OtherEngine]->setText(QStringLiteral("&Other engine: %1...").arg(toQString(name)));
}

void MainWindow::makeExclusive(const std::vector<MenuId>& items)
{
    auto* group = new QActionGroup(this);
    for (MenuId id : items)
        group->addAction(actions_[id]);
}

void MainWindow::boardResized()
{
    // The game reasons in the window's outer size: the board surface plus a
    // fixed frame. The surface is what the window really has to draw on.
    const QSize px = board_->size();
    Ui& ui = game_.ui;
    ui.Width = px.width() == toPixels(knownWidth_ - WidthAllowance) ? knownWidth_
                                                                   : px.width() * 15 + WidthAllowance;
    ui.Height = px.height() == toPixels(knownHeight_ - FrameHeight) ? knownHeight_
                                                                    : px.height() * 15 + FrameHeight;
    knownWidth_ = ui.Width;
    knownHeight_ = ui.Height;
    Form_Resize(game_);
}

void MainWindow::applySize()
{
    knownWidth_ = game_.ui.Width;
    knownHeight_ = game_.ui.Height;
    const int menuHeight = menuBar()->isVisible() ? menuBar()->height() : menuBar()->sizeHint().height();
    // The analysis panel has room of its own beside the board.
    const int panel = analysisPanel_->isVisible() ? width() - board_->width() : 0;
    resize(toPixels(knownWidth_ - WidthAllowance) + panel, toPixels(knownHeight_ - FrameHeight) + menuHeight);
}

void MainWindow::buildAdvice()
{
    analysisPanel_ = new AnalysisPanel(this);
    addDockWidget(Qt::RightDockWidgetArea, analysisPanel_);
    analysisPanel_->hide();
    advisor_ = std::make_unique<Advisor>(game_, *board_, *analysisPanel_, [this](std::function<void()> f) { handle(std::move(f)); });
    advisor_->showPanel = [this](bool shown) {
        // The board keeps its size: the window grows by the panel and gives it back.
        if (shown == analysisPanel_->isVisible())
            return;
        const int boardWidth = board_->width();
        analysisPanel_->setVisible(shown);
        const int room = analysisPanel_->sizeHint().width() + style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent);
        // The layout lets the window shrink once it knows the panel is gone.
        layout()->activate();
        resize(shown ? boardWidth + room : boardWidth, height());
    };
    game_.bindCommand(Menu_Analysis, [this] { game_.check(Menu_Analysis, !game_.checked(Menu_Analysis)); });
    game_.bindCommand(Menu_Review, [this] { advisor_->startReview(); });
}

void MainWindow::Render()
{
    if (ending_)
        return;
    const Ui& ui = game_.ui;
    if (ui.Width != knownWidth_ || ui.Height != knownHeight_)
        applySize();
    if (windowTitle() != QString::fromStdString(ui.Caption))
        setWindowTitle(QString::fromStdString(ui.Caption));

    showBusy(ui.MousePointer == PointerHourglass);

    for (int i = 0; i < MenuCount; ++i) {
        QAction* a = actions_[static_cast<size_t>(i)];
        const MenuItem& m = ui.Menu[static_cast<size_t>(i)];
        if (a->isEnabled() != m.Enabled)
            a->setEnabled(m.Enabled);
        if (a->isCheckable() && a->isChecked() != m.Checked)
            a->setChecked(m.Checked);
        if (a->isVisible() != m.Visible)
            a->setVisible(m.Visible);
    }

    const std::array<std::pair<QLabel*, const Control*>, 5> labels = {{{lblHvisTur_, &ui.lblHvisTur},
                                                                       {lblPlacer_, &ui.lblPlacer},
                                                                       {lblTraek_, &ui.lblTraek},
                                                                       {lblComp_, &ui.lblComp},
                                                                       {lblMoves_, &ui.lblMoves}}};
    for (const auto& [label, control] : labels) {
        place(label, *control);
        const QString caption = toQString(control->Caption);
        if (label->text() != caption)
            label->setText(caption);
    }
    place(lblDraw_, ui.lblDraw);
    const QString banner = toQString(ui.lblDraw.Caption);
    if (lblDraw_->text() != banner)
        lblDraw_->setText(banner);
    place(imgLeft_, ui.imgLeft);
    place(imgUp_, ui.imgUp);

    const Control& turn = ui.lblHvisTur;
    lblHvisTur_->setAutoFillBackground(turn.BackStyle == 1);
    if (lblHvisTur_->palette().color(QPalette::Window) != toQColor(turn.BackColor))
        setBackground(lblHvisTur_, turn.BackColor);
    lblHvisTur_->setFrameShape(turn.BorderStyle == 1 ? QFrame::Box : QFrame::NoFrame);

    place(txtTime_, ui.txtTime);
    const QString time = toQString(ui.txtTime.Caption);
    if (txtTime_->text() != time)
        txtTime_->setText(time);
    place(txtMoves_, ui.txtMoves);
    // The move list can grow long; it is refilled only when it has changed.
    if (shownMoves_ != ui.txtMoves.Caption) {
        shownMoves_ = ui.txtMoves.Caption;
        txtMoves_->setPlainText(toQString(shownMoves_));
    }

    const QString turnName = QString::fromStdString(game_.turnName());
    if (lblHvisTur_->accessibleName() != turnName)
        lblHvisTur_->setAccessibleName(turnName);
    announcer_.update(*board_, *lblPlacer_, game_);

    renderTimers();
}

void MainWindow::renderTimers()
{
    const Ui& ui = game_.ui;
    const std::array<const TimerState*, 4> states = {&ui.Timer1, &ui.Timer2, &ui.Timer3, &ui.Timer4};
    for (size_t i = 0; i < states.size(); ++i) {
        // An interval of 0 never fires, whatever the enabled state says.
        const bool run = states[i]->Enabled && states[i]->Interval > 0 && !ending_;
        QTimer& t = timers_[i];
        const bool restarted = states[i]->Restarts != timerRestarts_[i];
        timerRestarts_[i] = states[i]->Restarts;
        if (run && (restarted || !t.isActive() || t.interval() != states[i]->Interval))
            t.start(states[i]->Interval);
        else if (!run && t.isActive())
            t.stop();
    }
}

void MainWindow::DoEvents()
{
    if (ending_)
        return;
    Render();
    QCoreApplication::processEvents();
}

void MainWindow::Pause(int milliseconds)
{
    if (ending_)
        return;
    Render();
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void MainWindow::waitFor(int milliseconds, const std::function<bool()>& done)
{
    if (ending_)
        return;
    Render();
    serveEventsUntil(milliseconds, [&] { return ending_ || done(); });
}

void MainWindow::ShowIntro()
{
    // A frame every 40 ms: 52 frames, about two seconds, for one pass of
    // the banner. The wait serves events, so a click ends it at once.
    constexpr int FrameMilliseconds = 40;
    const auto clicked = [this] { return game_.state().IntroSkip || ending_; };
    brindle::ShowIntro(game_, *board_, random_, [this, clicked] {
        Render();
        serveEventsUntil(FrameMilliseconds, clicked);
        return clicked();
    });
    // The intro leaves the window 7010 twips wide with the move list shown.
    game_.ui.Width = 7010;
    Render();
    Menu_Details_Click(game_);
    Render();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (activated_)
        return;
    activated_ = true;
    QTimer::singleShot(0, this, [this] {
        // Seven pictures to read: the window is on the screen first.
        setWindowIcon(gameIcon());
        handle([this] { game_.Form_Activate(); });
        if (!pendingRecord_.isEmpty())
            openRecordFile(std::exchange(pendingRecord_, QString()));
    });
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void MainWindow::Form_Unload()
{
    if (ending_)
        return;
    game_.Form_Unload();
    game_.keepUnfinished();
    // Whatever still needs events runs before this point: leaving a network
    // game waits a second for its goodbye to go out. From here on the window
    // takes no more events.
    if (game_.checked(Menu_Network))
        session_.Disconnect(false);
    game_.windDown();
    ending_ = true;
    renderTimers();
    showBusy(false);
}

void MainWindow::Menu_exit_Click()
{
    // Closing ends this window alone, a network game with it (Form_Unload);
    // the program ends with its last window.
    close();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == board_ && (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop))
        return recordDropped(event);
    if (watched == txtMoves_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            handle([this] { game_.txtMoves_KeyDown(13, 0); });
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

QString MainWindow::recordFolder() const
{
    // The last folder used; otherwise the documents folder, or home when there is none.
    for (const QString& folder : {toQString(settings_.read("RecordFolder", "")),
                                  QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)})
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return folder;
    return QDir::homePath();
}

void MainWindow::saveGame()
{
    const QString sgf = QStringLiteral("SGF game record (*.sgf)");
    const QString psq = QStringLiteral("Piskvork record (*.psq)");
    QString filter = sgf;
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save game"),
                                                recordFolder() + QStringLiteral("/brindle-%1.sgf").arg(today),
                                                sgf + ";;" + psq, &filter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += filter == psq ? QStringLiteral(".psq") : QStringLiteral(".sgf");
    const QFileInfo file(path);
    settings_.write("RecordFolder", file.absolutePath().toStdString());
    record::Record r = game_.record(today.toStdString());
    r.application = std::string("Brindle:") + VersionText;
    advisor_->annotate(r);
    const bool asPsq = file.suffix().compare(QStringLiteral("psq"), Qt::CaseInsensitive) == 0;
    const std::string failure = writeAtomically(path, asPsq ? record::toPsq(r) : record::toSgf(r));
    if (!failure.empty())
        dialogs_.messageBox(failure + "\r\nAny older file of that name is as it was.", "Brindle", Dialogs::Icon::Information);
}

void MainWindow::openGame()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open game"), recordFolder(),
                                                      QStringLiteral("Game records (*.sgf *.psq);;All files (*)"));
    if (path.isEmpty())
        return;
    settings_.write("RecordFolder", QFileInfo(path).absolutePath().toStdString());
    openRecordFile(path);
}

void MainWindow::openRecordFile(const QString& path)
{
    if (!game_.state().IntroShown) {
        pendingRecord_ = path;
        return;
    }
    auto read = readRecordFile(path);
    handle([this, path, read = std::move(read)] {
        // After the move or new game under way, as any event.
        game_.runWhenSettled([this, path, read] {
            std::string failure;
            if (const auto* message = std::get_if<std::string>(&read))
                failure = *message;
            else if (std::string refused = game_.openRecord(std::get<record::Record>(read)); !refused.empty())
                failure = shownName(path) + ": " + refused;
            else
                advisor_->opened(std::get<record::Record>(read));
            if (!failure.empty())
                dialogs_.messageBox(failure + "\r\nThe game on the board stays as it was.", "Brindle",
                                    Dialogs::Icon::Information);
        });
    });
}

bool MainWindow::recordDropped(QEvent* event)
{
    // A single local file dragged over the board opens as a record when dropped.
    auto* drop = static_cast<QDropEvent*>(event);
    const QList<QUrl> urls = drop->mimeData()->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return false;
    drop->acceptProposedAction();
    if (event->type() == QEvent::Drop)
        openRecordFile(urls.front().toLocalFile());
    return true;
}

void MainWindow::openNetworkDialog()
{
    NetworkDialog dialog(game_, session_, game_.globals, settings_, dialogs_, transport_.LocalIP(), this);
    dialog.exec();
}

} // namespace brindle
